#pragma once

#include <QString>
#include <QStringList>

namespace qd::transport {

inline constexpr char LoopbackGatewayHost[] = "127.0.0.1";

// The gateway host this build offers first (CMake's QD_DEFAULT_GATEWAY_HOST), without blanks around
// it; empty when the build names none.
QString BuildDefaultGatewayHost();

// The gateway hosts to offer, in this order: the build's default host, the last host used, the
// loopback address. Blanks around a host are dropped; empty hosts and repeats (host names ignore
// case) are left out.
QStringList GatewayHostChoices(const QString& lastUsedHost);
// The same with another default host in place of the build's.
QStringList GatewayHostChoices(const QString& defaultHost, const QString& lastUsedHost);

}  // namespace qd::transport
