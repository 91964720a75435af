#include "transport/com_port.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

#include <QDir>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace qd::transport {

namespace {

// Asks the driver to hand received bytes over at once instead of collecting them first (an FTDI
// adapter's latency timer drops from 16 ms to 1 ms). Drivers without the ioctl are left as they are.
void RequestLowLatency([[maybe_unused]] QSerialPort& port) {
#ifdef __linux__
  const int fd = static_cast<int>(port.handle());
  serial_struct info{};
  if (::ioctl(fd, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY) != 0) return;
  info.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &info);
#endif
}

// Errors after which the device cannot be used any more: on Linux an unplugged adapter shows up as a
// read error (the hung-up tty reads end-of-file) or a resource error (EIO on write).
bool MeansDeviceLost(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::PermissionError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
      return true;
    default:
      return false;
  }
}

// True when the device behind the descriptor hung up (the adapter was unplugged, the far end of a
// pseudo-terminal closed). Where that cannot be asked, every read error counts as a hang-up.
bool HungUp(qintptr handle) {
#ifdef Q_OS_UNIX
  pollfd descriptor{static_cast<int>(handle), POLLIN, 0};
  if (::poll(&descriptor, 1, 0) < 0) return true;
  return (descriptor.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
  Q_UNUSED(handle);
  return true;
#endif
}

}  // namespace

QString PortSystemLocation(const QString& portName) {
  if (portName.isEmpty() || portName == QLatin1String(NoPortName)) return {};
#ifdef Q_OS_WIN
  return portName;
#else
  if (!portName.contains(QLatin1Char('/'))) return QStringLiteral("/dev/") + portName;
  return QDir::current().absoluteFilePath(portName);
#endif
}

ComPort::ComPort(QObject* parent) : QObject(parent), port_(this) {
  // Applied by QSerialPort on every open.
  port_.setBaudRate(BaudRate);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  port_.setReadBufferSize(InputBufferSize);
  connect(&port_, &QSerialPort::readyRead, this, &ComPort::ReadWaitingBytes);
  connect(&port_, &QSerialPort::errorOccurred, this, &ComPort::HandleError);
}

ComPort::~ComPort() {
  Close();
}

bool ComPort::SetDeviceName(const QString& name) {
  if (port_.isOpen()) return false;
  deviceName_ = name;
  return true;
}

bool ComPort::Open() {
  if (open_) return true;
  const QString location = PortSystemLocation(deviceName_);
  if (location.isEmpty()) return false;
  port_.setPortName(location);
  if (!port_.open(QIODevice::ReadWrite)) return false;
  // Modem lines are best effort: pseudo-terminals and some adapters have none.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(true);
  if (!port_.clear(QSerialPort::AllDirections)) {
    port_.close();
    return false;
  }
  RequestLowLatency(port_);
  port_.clearError();
  open_ = true;
  return true;
}

void ComPort::Close() {
  open_ = false;
  if (port_.isOpen()) port_.close();
}

bool ComPort::Write(std::span<const std::uint8_t> bytes) {
  if (!open_) return false;
  if (bytes.empty()) return true;
  const auto size = static_cast<qint64>(bytes.size());
  return port_.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

qint64 ComPort::BytesToWrite() const {
  return port_.isOpen() ? port_.bytesToWrite() : 0;
}

void ComPort::ReadWaitingBytes() {
  if (!open_) return;
  const QByteArray bytes = port_.readAll();
  if (!bytes.isEmpty()) emit BytesReceived(bytes);
}

void ComPort::HandleError(QSerialPort::SerialPortError error) {
  // Errors while opening are reported by Open()'s result; the rest are harmless.
  if (!open_ || !MeansDeviceLost(error)) return;
  // A read that finds nothing after a wake-up is reported as a read error too; only a hung-up
  // device is gone.
  if (error == QSerialPort::ReadError && !HungUp(port_.handle())) {
    port_.clearError();
    return;
  }
  Close();
  emit ClosedByError();
}

}  // namespace qd::transport
