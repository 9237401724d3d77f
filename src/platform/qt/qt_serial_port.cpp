#include "platform/qt/qt_serial_port.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <climits>

#include "platform/qt/qt_convert.h"

namespace qx {
PortOpenResult::Cause portOpenCause(QSerialPort::SerialPortError e, const QString& text) {
  const auto has = [&text](const char* words) {
    return text.contains(QLatin1String(words), Qt::CaseInsensitive);
  };
  switch (e) {
    case QSerialPort::DeviceNotFoundError:
      return PortOpenResult::Cause::Missing;
    case QSerialPort::PermissionError:
      // QSerialPort reports EBUSY and its lock file held by another opener ("... while locking
      // the device") as permission errors; only the words tell them from EACCES. A lock file
      // that cannot be made at all is a fault of the lock folder, not of the user's rights.
      if (has("busy") || has("locking the device")) return PortOpenResult::Cause::Busy;
      if (has("lock")) return PortOpenResult::Cause::Other;
      return PortOpenResult::Cause::PermissionDenied;
    default:
      return has("busy") ? PortOpenResult::Cause::Busy : PortOpenResult::Cause::Other;
  }
}

std::optional<LineSettings> parseLineSettings(const std::string& settings) {
  const QStringList f = qtc::text(settings).split(QLatin1Char(','));
  if (f.size() != 4) return std::nullopt;
  LineSettings s;
  bool ok = false;
  s.baud = f[0].trimmed().toInt(&ok);
  if (!ok || s.baud <= 0) return std::nullopt;

  const QString parity = f[1].trimmed().toUpper();
  if (parity == QLatin1String("N"))
    s.parity = QSerialPort::NoParity;
  else if (parity == QLatin1String("O"))
    s.parity = QSerialPort::OddParity;
  else if (parity == QLatin1String("E"))
    s.parity = QSerialPort::EvenParity;
  else if (parity == QLatin1String("M"))
    s.parity = QSerialPort::MarkParity;
  else if (parity == QLatin1String("S"))
    s.parity = QSerialPort::SpaceParity;
  else
    return std::nullopt;

  const int bits = f[2].trimmed().toInt(&ok);
  if (!ok || bits < 5 || bits > 8) return std::nullopt;
  s.data_bits = static_cast<QSerialPort::DataBits>(bits);

  const QString stop = f[3].trimmed();
  if (stop == QLatin1String("1"))
    s.stop_bits = QSerialPort::OneStop;
  else if (stop == QLatin1String("1.5"))
    s.stop_bits = QSerialPort::OneAndHalfStop;
  else if (stop == QLatin1String("2"))
    s.stop_bits = QSerialPort::TwoStop;
  else
    return std::nullopt;
  return s;
}

QtSerialPort::QtSerialPort(std::vector<std::string> link_dirs) : link_dirs_(std::move(link_dirs)) {
  QObject::connect(&port_, &QSerialPort::errorOccurred, &ctx_,
                   [this](QSerialPort::SerialPortError e) { portError(e); });
}

QtSerialPort::~QtSerialPort() {
  QObject::disconnect(&port_, nullptr, &ctx_, nullptr);
  if (port_.isOpen()) port_.close();
}

std::string QtSerialPort::devicePath(int port_number) const {
  for (const auto& dir : link_dirs_) {
    const std::string link = dir + "/COM" + std::to_string(port_number);
    const QFileInfo fi(qtc::path(link));
    if (fi.exists() || fi.isSymLink()) return link;
  }
  return "/dev/ttyS" + std::to_string(port_number - 1);
}

PortOpenResult QtSerialPort::open(int port_number, const std::string& settings) {
  close();
  PortOpenResult r;
  r.device = devicePath(port_number);
  const auto line = parseLineSettings(settings);
  if (!line) {
    r.cause = PortOpenResult::Cause::Other;
    r.detail = "invalid line settings \"" + settings + "\"";
    return r;
  }
  const QString device = qtc::path(r.device);
  const QFileInfo fi(device);
  if (!fi.exists()) {
    r.cause = PortOpenResult::Cause::Missing;
    r.detail = "No such file or directory";
    if (fi.isSymLink()) r.detail += "; it links to " + qtc::pathBytes(fi.symLinkTarget());
    return r;
  }
  port_.setPortName(device);
  if (!port_.setBaudRate(line->baud) || !port_.setParity(line->parity) ||
      !port_.setDataBits(line->data_bits) || !port_.setStopBits(line->stop_bits) ||
      !port_.setFlowControl(QSerialPort::NoFlowControl)) {
    r.cause = PortOpenResult::Cause::Other;
    r.detail = qtc::bytes(port_.errorString());
    port_.clearError();
    return r;
  }
  if (!port_.open(QIODevice::ReadWrite)) {
    r.cause = portOpenCause(port_.error(), port_.errorString());
    r.detail = qtc::bytes(port_.errorString());
    port_.clearError();
    return r;
  }
  port_.clear(QSerialPort::AllDirections);
  ++generation_;
  lost_pending_ = false;
  r.ok = true;
  return r;
}

void QtSerialPort::close() {
  lost_pending_ = false;
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

std::size_t QtSerialPort::inBufferCount() {
  return port_.isOpen() ? static_cast<std::size_t>(port_.bytesAvailable()) : 0;
}

void QtSerialPort::discardInput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

Bytes QtSerialPort::input() {
  if (!port_.isOpen()) return {};
  const QByteArray data = port_.readAll();
  return Bytes(data.begin(), data.end());
}

void QtSerialPort::output(const Bytes& data) {
  if (!port_.isOpen() || data.empty()) return;
  port_.write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size()));
  port_.flush();
}

bool QtSerialPort::drain(std::uint32_t timeout_ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (port_.isOpen() && port_.bytesToWrite() > 0) {
    const qint64 left = static_cast<qint64>(timeout_ms) - elapsed.elapsed();
    if (left <= 0) break;
    // Blocks in poll() on the port alone; no window event runs meanwhile.
    if (!port_.waitForBytesWritten(static_cast<int>(std::min<qint64>(left, INT_MAX)))) break;
  }
  return !port_.isOpen() || port_.bytesToWrite() == 0;
}

void QtSerialPort::portError(QSerialPort::SerialPortError e) {
  if (e != QSerialPort::ReadError && e != QSerialPort::WriteError &&
      e != QSerialPort::ResourceError)
    return;
  if (!port_.isOpen() || lost_pending_) return;
  lost_pending_ = true;
  // Not inside the error signal: QSerialPort is still at work in its own call.
  QMetaObject::invokeMethod(
      &ctx_,
      [this, gen = generation_] {
        if (!lost_pending_ || gen != generation_) return;  // closed or reopened meanwhile
        lost_pending_ = false;
        if (port_.isOpen()) port_.close();
        port_.clearError();
        if (auto h = lost_) h();
      },
      Qt::QueuedConnection);
}

}  // namespace qx
