#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <cstdint>
#include <span>

#include "link/bus_link.h"

namespace qd::transport {

// The port name that stands for "no port".
inline constexpr char NoPortName[] = "None";

// The device a port name leads to: on Windows the name itself ("COM12"; Qt adds the "\\.\" prefix);
// elsewhere a name without '/' is a device in /dev and a path is used as given (a relative one from
// the working folder). Empty for "None" and for an empty name.
QString PortSystemLocation(const QString& portName);

// Received bytes as the link takes them.
inline std::span<const std::uint8_t> ByteSpan(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

// The serial port of the bus: 115200 baud, 8N1, no flow control, DTR and RTS on while open.
//
// Opening is exclusive. On Linux QSerialPort takes the UUCP lock file (/var/lock/LCK..ttyUSB0, or a
// fallback folder) and sets TIOCEXCL on the descriptor, so a second open by any program that honours
// either fails; on Windows the device itself opens exclusively.
//
// No error ever shows a message: a failed Open or Write gives false. An error that means the device
// is gone or unusable (unplugged adapter: resource, permission, read or write error while open)
// closes the port and emits ClosedByError(). All calls and signals belong to the thread the object
// lives in; writes are buffered by QSerialPort and go out from that thread's event loop.
class ComPort : public QObject, public qd::link::ByteSink {
  Q_OBJECT

 public:
  static constexpr qint32 BaudRate = 115200;
  static constexpr qint64 InputBufferSize = 4096;  // bytes held before reading from the driver pauses

  explicit ComPort(QObject* parent = nullptr);
  ~ComPort() override;

  // Only while closed: false, and the name unchanged, while the port is open.
  bool SetDeviceName(const QString& name);
  QString DeviceName() const { return deviceName_; }

  // Opens the device with the line settings above and discards whatever waited in either direction.
  // True when the port is open afterwards (also when it already was); failures are silent.
  bool Open();
  // Safe when closed. Bytes not yet handed to the driver are dropped.
  void Close();

  bool IsOpen() const override { return open_; }
  // Copies the bytes and returns at once. False when the port is closed.
  bool Write(std::span<const std::uint8_t> bytes) override;
  // Bytes written but not yet handed to the driver.
  qint64 BytesToWrite() const;

 signals:
  // Everything that was waiting, in one piece.
  void BytesReceived(const QByteArray& bytes);
  // The port closed itself after an error (device unplugged or unusable).
  void ClosedByError();

 private:
  void ReadWaitingBytes();
  void HandleError(QSerialPort::SerialPortError error);

  QSerialPort port_;
  QString deviceName_ = QStringLiteral("COM1");
  bool open_ = false;  // opened and set up by Open(), not yet closed
};

}  // namespace qd::transport
