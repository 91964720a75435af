#pragma once

#include <QSerialPortInfo>
#include <QString>
#include <vector>

#include "transport/connection_diagnosis.h"
#include "transport/gateway_socket.h"

namespace qdtool {

// The system's serial ports, each name once, in the order the system lists them.
std::vector<QSerialPortInfo> SerialPorts();
// Those of FTDI adapters.
std::vector<QSerialPortInfo> AdapterPorts();

// Everything the doctor knows about a port. Listens for frames for listenMs (0: not at all) when the
// port is free; needs the event loop's application object then.
qd::transport::PortFacts GatherPortFacts(const QString& portName, int listenMs);

// Connects to the gateway within the limit and hangs up again at once.
qd::transport::GatewayFacts GatherGatewayFacts(const qd::transport::GatewayAddress& address,
                                               int limitMs = qd::transport::GatewayConnectLimitMs);

// "HOST:PORT", "[IPV6]:PORT".
QString GatewayAddressText(const qd::transport::GatewayAddress& address);

}  // namespace qdtool
