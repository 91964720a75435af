#include "gateway_hosts.h"

// Set by the build for this file only, so that another default host recompiles nothing else.
#ifndef QD_DEFAULT_GATEWAY_HOST
#define QD_DEFAULT_GATEWAY_HOST ""
#endif

namespace qd::transport {

QString BuildDefaultGatewayHost() {
  return QString::fromUtf8(QD_DEFAULT_GATEWAY_HOST).trimmed();
}

QStringList GatewayHostChoices(const QString& lastUsedHost) {
  return GatewayHostChoices(BuildDefaultGatewayHost(), lastUsedHost);
}

QStringList GatewayHostChoices(const QString& defaultHost, const QString& lastUsedHost) {
  QStringList hosts;
  for (const QString& host : {defaultHost, lastUsedHost, QString::fromLatin1(LoopbackGatewayHost)}) {
    const QString trimmed = host.trimmed();
    if (!trimmed.isEmpty() && !hosts.contains(trimmed, Qt::CaseInsensitive)) hosts.append(trimmed);
  }
  return hosts;
}

}  // namespace qd::transport
