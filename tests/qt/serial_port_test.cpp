// The serial port adapter on a pseudo-terminal pair: the test holds the master side, the port
// opens the slave through a COMn link in a program directory of its own.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/qt_serial_port.h"
#include "qt_test_support.h"

namespace qx {
namespace {

constexpr const char* kSettings = "115200,N,8,1";

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    char name[256] = {};
    int slave = -1;
    ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    slave_name_ = name;
    link(5, slave_name_);
  }
  void TearDown() override {
    if (master_ >= 0) ::close(master_);
  }

  void link(int n, const std::string& target) {
    ASSERT_TRUE(QFile::link(QString::fromStdString(target), QString::fromStdString(com(n))));
  }
  std::string com(int n) const { return program_dir() + "/COM" + std::to_string(n); }
  std::string program_dir() const { return dir_.path().toStdString(); }

  // Bytes the port sent, read from the master side as they come (poll sleeps between).
  Bytes readMaster(std::size_t n) {
    Bytes got;
    while (got.size() < n) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) break;
      std::uint8_t buf[64];
      const ssize_t r = ::read(master_, buf, sizeof buf);
      if (r <= 0) break;
      got.insert(got.end(), buf, buf + r);
    }
    return got;
  }
  void writeMaster(const Bytes& b) {
    ASSERT_EQ(::write(master_, b.data(), b.size()), static_cast<ssize_t>(b.size()));
  }

  QTemporaryDir dir_;
  int master_ = -1;
  std::string slave_name_;
};

TEST_F(SerialPortTest, SendsAndReceivesBytes) {
  QtSerialPort port(program_dir());
  const PortOpenResult r = port.open(5, kSettings);
  ASSERT_TRUE(r.ok) << r.detail;
  EXPECT_EQ(r.device, com(5));
  EXPECT_TRUE(port.isOpen());

  const Bytes out{'W', 'P', '_', 0x00, 0xFF, 0x0D};
  port.output(out);
  EXPECT_TRUE(port.drain(1000));
  EXPECT_EQ(readMaster(out.size()), out);

  const Bytes in{'W', 'P', ']', '$', 0x0D, 0x80};
  writeMaster(in);
  ASSERT_TRUE(test::pumpUntil([&] { return port.inBufferCount() >= in.size(); }));
  EXPECT_EQ(port.input(), in);
  EXPECT_EQ(port.inBufferCount(), 0u);

  writeMaster({'x', 'y'});
  ASSERT_TRUE(test::pumpUntil([&] { return port.inBufferCount() > 0; }));
  port.discardInput();
  EXPECT_EQ(port.inBufferCount(), 0u);
  EXPECT_TRUE(port.input().empty());

  port.close();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.inBufferCount(), 0u) << "a closed port reads 0 without failing";
  EXPECT_TRUE(port.input().empty());
  port.output({1});
  EXPECT_TRUE(port.drain(10));
  port.close();
}

TEST_F(SerialPortTest, OpenFailuresNameTheDeviceAndTheCause) {
  QtSerialPort port(program_dir());
  link(3, program_dir() + "/nothing-there");
  const PortOpenResult missing = port.open(3, kSettings);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.device, com(3));
  EXPECT_EQ(missing.cause, PortOpenResult::Cause::Missing);
  EXPECT_FALSE(missing.detail.empty());

  EXPECT_EQ(port.devicePath(7), "/dev/ttyS6") << "without a COM7 link";

  const PortOpenResult bad = port.open(5, "115200,X,8,1");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.cause, PortOpenResult::Cause::Other);
  EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, LinksInTheFirstLinkDirectoryWin) {
  QTemporaryDir user;
  ASSERT_TRUE(user.isValid());
  const std::string user_com5 = user.path().toStdString() + "/COM5";
  const std::string user_com6 = user.path().toStdString() + "/COM6";
  ASSERT_TRUE(QFile::link(QString::fromStdString(slave_name_), QString::fromStdString(user_com5)));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null-absent"), QString::fromStdString(user_com6)));
  link(4, slave_name_);
  link(6, slave_name_);
  QtSerialPort port(std::vector<std::string>{user.path().toStdString(), program_dir()});
  EXPECT_EQ(port.devicePath(5), user_com5) << "the user's link before the program directory's";
  EXPECT_EQ(port.devicePath(4), com(4)) << "then the program directory's";
  EXPECT_EQ(port.devicePath(3), "/dev/ttyS2");
  const PortOpenResult dangling = port.open(6, kSettings);
  EXPECT_EQ(dangling.cause, PortOpenResult::Cause::Missing) << "a broken link is not skipped";
  EXPECT_EQ(dangling.device, user_com6);
  EXPECT_NE(dangling.detail.find("/dev/null-absent"), std::string::npos) << dangling.detail;
}

TEST_F(SerialPortTest, PermissionDeniedIsToldApartFromBusy) {
  // The pseudo-terminal's slave belongs to this process's user with mode 620: another user
  // may not open it. Root may open anything, so as root a child process opens it as nobody.
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ExeOwner | QFile::ReadOther |
                                                     QFile::ExeOther));
  auto openAsOther = [&]() -> PortOpenResult::Cause {
    if (::geteuid() != 0) {
      ::chmod(slave_name_.c_str(), 0);
      return QtSerialPort(program_dir()).open(5, kSettings).cause;
    }
    const pid_t child = ::fork();
    if (child == 0) {
      ::alarm(20);  // a child stuck on a lock inherited from another thread fails, never hangs
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
      ::_exit(static_cast<int>(QtSerialPort(program_dir()).open(5, kSettings).cause));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<PortOpenResult::Cause>(WIFEXITED(status) ? WEXITSTATUS(status) : 100);
  };
  EXPECT_EQ(openAsOther(), PortOpenResult::Cause::PermissionDenied);

  // The words QSerialPort gives for each failure.
  struct Case {
    QSerialPort::SerialPortError error;
    const char* text;
    PortOpenResult::Cause cause;
  };
  const Case cases[] = {
      {QSerialPort::DeviceNotFoundError, "No such file or directory",
       PortOpenResult::Cause::Missing},
      {QSerialPort::PermissionError, "Permission denied", PortOpenResult::Cause::PermissionDenied},
      {QSerialPort::PermissionError, "Device or resource busy", PortOpenResult::Cause::Busy},
      {QSerialPort::PermissionError, "Permission error while locking the device",
       PortOpenResult::Cause::Busy},
      {QSerialPort::PermissionError, "Permission error while creating lock file",
       PortOpenResult::Cause::Other},
      {QSerialPort::ResourceError, "Input/output error", PortOpenResult::Cause::Other},
  };
  for (const auto& c : cases)
    EXPECT_EQ(portOpenCause(c.error, QLatin1String(c.text)), c.cause) << c.text;
}

TEST_F(SerialPortTest, SecondOpenerOfTheSamePortIsTurnedAway) {
  QtSerialPort first(program_dir()), second(program_dir());
  ASSERT_TRUE(first.open(5, kSettings).ok);
  const PortOpenResult busy = second.open(5, kSettings);
  EXPECT_FALSE(busy.ok);
  EXPECT_EQ(busy.cause, PortOpenResult::Cause::Busy) << busy.detail;
  first.close();
  EXPECT_TRUE(second.open(5, kSettings).ok) << "free again once closed";
}

TEST_F(SerialPortTest, PortThatGoesAwayIsClosedAndReportedOnce) {
  QtSerialPort port(program_dir());
  int lost = 0;
  port.onLost([&] {
    EXPECT_FALSE(port.isOpen()) << "already closed when reported";
    ++lost;
  });
  ASSERT_TRUE(port.open(5, kSettings).ok);
  ::close(master_);
  master_ = -1;
  ASSERT_TRUE(test::pumpUntil([&] { return lost > 0; }));
  QtEventPump().waitFor(100);
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.inBufferCount(), 0u);
}

TEST_F(SerialPortTest, LineSettingsForm) {
  const auto s = parseLineSettings("9600,E,7,1.5");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->baud, 9600);
  EXPECT_EQ(s->parity, QSerialPort::EvenParity);
  EXPECT_EQ(s->data_bits, QSerialPort::Data7);
  EXPECT_EQ(s->stop_bits, QSerialPort::OneAndHalfStop);
  for (const char* bad :
       {"", "115200,N,8", "x,N,8,1", "115200,N,9,1", "115200,N,8,3", "115200,Q,8,1"})
    EXPECT_FALSE(parseLineSettings(bad)) << bad;
}

}  // namespace
}  // namespace qx
