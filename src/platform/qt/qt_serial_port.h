#pragma once
// The PC serial port on QSerialPort.

#include <QObject>
#include <QSerialPort>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace qx {

// Line settings from the "115200,N,8,1" form: baud, parity (N, O, E, M, S), data bits (5 to 8),
// stop bits (1, 1.5, 2). Nothing when the text is not of that form.
struct LineSettings {
  qint32 baud = 0;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits data_bits = QSerialPort::Data8;
  QSerialPort::StopBits stop_bits = QSerialPort::OneStop;
};
std::optional<LineSettings> parseLineSettings(const std::string& settings);

// Why QSerialPort::open failed, from its error code and text.
PortOpenResult::Cause portOpenCause(QSerialPort::SerialPortError e, const QString& text);

// Port n is the device "<dir>/COMn" of the first of the link directories where that name exists
// (a link to a device, or a device), else /dev/ttyS<n-1>. Opening takes QSerialPort's lock file for
// the path, so a second opener of the same name is refused even where the tty's exclusive mode is
// not (root). Received bytes reach the buffer while the event loop runs. A read, write or resource
// error on an open port counts as the port gone: it is closed from a queued call and onLost runs
// once.
class QtSerialPort : public SerialPort {
 public:
  // link_dirs: where COMn names are looked for, in order (the per-user folder, then the
  // program directory).
  explicit QtSerialPort(std::vector<std::string> link_dirs);
  explicit QtSerialPort(std::string program_dir)
      : QtSerialPort(std::vector<std::string>{std::move(program_dir)}) {}
  ~QtSerialPort() override;
  QtSerialPort(const QtSerialPort&) = delete;
  QtSerialPort& operator=(const QtSerialPort&) = delete;

  PortOpenResult open(int port_number, const std::string& settings) override;
  void close() override;
  bool isOpen() const override;
  std::size_t inBufferCount() override;
  void discardInput() override;
  Bytes input() override;
  void output(const Bytes& data) override;
  bool drain(std::uint32_t timeout_ms) override;
  void onLost(std::function<void()> h) override { lost_ = std::move(h); }

  std::string devicePath(int port_number) const;

 private:
  void portError(QSerialPort::SerialPortError e);

  std::vector<std::string> link_dirs_;
  QSerialPort port_;
  std::function<void()> lost_;
  bool lost_pending_ = false;
  unsigned generation_ = 0;  // counts openings, so a late loss report of an old one is dropped
  QObject ctx_;              // declared last: its connections end before the port goes
};

}  // namespace qx
