#pragma once

#include <QJsonObject>
#include <QSerialPortInfo>
#include <QStringList>
#include <vector>

// The documents of qdtool ports --json; both list the ports under "ports", each with its "name".
namespace qdtool {

// The USB serial adapters that can be opened now.
QJsonObject AdapterPortsJson(const QStringList& names);
// Every serial port with what the system tells of it and whether it can be opened now.
QJsonObject PortDetailsJson(const std::vector<QSerialPortInfo>& ports);

}  // namespace qdtool
