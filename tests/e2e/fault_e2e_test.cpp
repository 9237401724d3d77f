// Faults met end to end: a receiver that misbehaves on a real pseudo-terminal, a port that
// another process holds or that is missing, and a program directory that cannot be written.
// Each test fails if the tool crashes, hangs (pumpUntil and the test timeout bound every
// wait), loses or truncates a file, or reports success for a failure.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <cerrno>
#include <cstring>
#include <set>

#include "e2e/e2e_support.h"
#include "receiver_read_queries.h"
#include "shell/main_form.h"
#include "shell/state_file.h"

namespace qx::e2e {
namespace {

using Button = QMessageBox::StandardButton;
using V = std::vector<std::string>;
using testing_support::kReadQueries;

// A state file that starts the tool on the receiver page.
void startOnReceiverPage(const ProgramDir& dir) {
  writeFile(dir.path() / kStateFileName, "1\r\n0\r\n0\r\n\"\"\r\n1\r\n");
}

// A user's choice of the entry with this text.
void choose(QComboBox* list, const QString& text) {
  ASSERT_NE(list, nullptr);
  const int i = list->findText(text);
  ASSERT_GE(i, 0) << text.toStdString();
  list->setCurrentIndex(i);
  emit list->activated(i);
}

V fileNames(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return V(names.begin(), names.end());
}

// A field of /proc/self/status in KiB (VmRSS, VmHWM).
long statusKiB(const std::string& field) {
  std::istringstream in(readFile("/proc/self/status"));
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  return -1;
}

// A file system mounted for one test. The mount lives in a mount namespace of this test
// process (its main thread, which does all file work and starts the simulator) with private
// propagation, so nothing outlives the test, not even after a crash. Needs CAP_SYS_ADMIN: the
// test skips where it is missing, and the same faults are shown on the fake platform
// (TempFileSystem::fail_writes).
class TestMount {
 public:
  TestMount() {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      error_ = std::string("private mount namespace: ") + std::strerror(errno);
  }
  ~TestMount() {
    if (!target_.empty()) ::umount2(target_.c_str(), MNT_DETACH);
  }
  TestMount(const TestMount&) = delete;
  TestMount& operator=(const TestMount&) = delete;

  bool tmpfs(const fs::path& at, const std::string& options) {
    return ok() && done(::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()), at);
  }
  // The directory over itself, read-only.
  bool readOnly(const fs::path& at) {
    if (!ok() || !done(::mount(at.c_str(), at.c_str(), nullptr, MS_BIND, nullptr), at))
      return false;
    return done(::mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
                at);
  }
  const std::string& error() const { return error_; }

 private:
  bool ok() const { return error_.empty(); }
  bool done(int rc, const fs::path& at) {
    if (rc != 0) {
      error_ = "mount on " + at.string() + ": " + std::strerror(errno);
      return false;
    }
    target_ = at.string();
    return true;
  }
  std::string error_;
  std::string target_;
};

// Fills the file system holding dir until a write fails for lack of space.
bool fillUp(const fs::path& dir) {
  const int fd = ::open((dir / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const std::string block(4096, 'f');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  const bool full = errno == ENOSPC;
  ::close(fd);
  return full;
}

TEST(FaultE2E, SilentReceiverReportsFailuresAndTheWindowKeepsRunning) {
  ProgramDir dir;
  startOnReceiverPage(dir);
  SimProcess sim(dir.path(), {"--silent"});
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  // Another event source: it must keep being served while a transaction waits.
  int ticks_while_waiting = 0;
  QTimer other;
  QObject::connect(&other, &QTimer::timeout, [&] {
    if (app.link().await_reply) ++ticks_while_waiting;
  });
  other.start(10);

  choose(app.widget<QComboBox>("cbo_aspect"), QStringLiteral("16:9 TV"));
  Label& notice = app.form->label("lab_ctrl_reply");
  EXPECT_TRUE(notice.visible());
  EXPECT_EQ(notice.text(), "Send fail !");
  EXPECT_TRUE(app.widget<QComboBox>("cbo_aspect")->isEnabled());
  EXPECT_GT(ticks_while_waiting, 0);

  ticks_while_waiting = 0;
  notice.setVisible(false);
  app.widget<QPushButton>("cmd_ctrl_read")->click();
  EXPECT_TRUE(notice.visible());
  EXPECT_EQ(notice.text(), "Read fail !");
  EXPECT_TRUE(app.widget<QPushButton>("cmd_ctrl_read")->isEnabled());
  EXPECT_GT(ticks_while_waiting, 0);
  // The Read stopped at its first query; the link stays open.
  EXPECT_EQ(sim.lines(), (V{"WP_Aspect[16:9]$\r", kReadQueries[0]}));
  EXPECT_TRUE(app.link().link_open);
}

TEST(FaultE2E, HangUpDuringAReadClosesTheLinkAndTheNextSendSaysSo) {
  ProgramDir dir;
  startOnReceiverPage(dir);
  SimProcess sim(dir.path(), {"--hang-up-after", "5"});
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  BoxAnswerer boxes;
  boxes.answerEvery(Button::Ok);

  app.widget<QPushButton>("cmd_ctrl_read")->click();
  Label& notice = app.form->label("lab_ctrl_reply");
  EXPECT_TRUE(notice.visible());
  EXPECT_EQ(notice.text(), "Read fail !");
  ASSERT_TRUE(pumpUntil([&] { return !app.link().link_open; }));
  EXPECT_EQ(app.form->button("cmd_conn_1").backColor(), colors::kRed);
  ASSERT_TRUE(pumpUntil([&] { return !sim.running(); }));
  // Whether the loss was noticed before the sixth query or during its wait, the Read sent the
  // first queries in order and nothing after the hang-up reached the receiver.
  const V sent = sim.lines();
  ASSERT_GE(sent.size(), 5u);
  ASSERT_LE(sent.size(), 6u);
  EXPECT_EQ(sent, V(kReadQueries.begin(), kReadQueries.begin() + sent.size()));
  for (const auto& t : boxes.texts) EXPECT_EQ(t, "RS232 is disconnected !");

  boxes.texts.clear();
  choose(app.widget<QComboBox>("cbo_aspect"), QStringLiteral("Full"));
  ASSERT_TRUE(pumpUntil([&] { return !boxes.texts.empty(); }));
  EXPECT_EQ(boxes.texts, V{"RS232 is disconnected !"});
  EXPECT_EQ(notice.text(), "Send fail !");
  EXPECT_FALSE(app.link().reply_done);
}

TEST(FaultE2E, GarbageAndWrongWordReplies) {
  struct Case {
    const char* name;
    std::vector<std::string> sim_args;
    std::string setting_reply;  // reply_text of a confirmed setting: it counts as answered
  };
  const Case cases[] = {
      // Bytes before the reply belong to it by the framing rules, so the setting is answered
      // but no query reply begins with its word.
      {"garbage before every reply", {"--garbage", "xy"}, "xyWP_Aspect[16:9]$\r"},
      {"replies for another word", {"--wrong-word"}, "WP_Aspect[16:9]$\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramDir dir;
    startOnReceiverPage(dir);
    SimProcess sim(dir.path(), c.sim_args);
    E2EApp app(dir.str());
    app.start();
    ASSERT_TRUE(app.link().link_open);
    Label& notice = app.form->label("lab_ctrl_reply");

    choose(app.widget<QComboBox>("cbo_aspect"), QStringLiteral("16:9 TV"));
    EXPECT_TRUE(app.link().reply_done);
    EXPECT_EQ(app.link().reply_text, c.setting_reply);
    EXPECT_FALSE(notice.visible());

    auto* aspect = app.widget<QComboBox>("cbo_aspect");
    aspect->setCurrentIndex(-1);
    app.widget<QPushButton>("cmd_ctrl_read")->click();
    EXPECT_TRUE(notice.visible());
    EXPECT_EQ(notice.text(), "Read fail !");
    EXPECT_EQ(sim.lines(), (V{"WP_Aspect[16:9]$\r", kReadQueries[0]})) << "stops at once";
    EXPECT_EQ(aspect->currentIndex(), -1) << "nothing taken from a wrong reply";
  }
}

TEST(FaultE2E, TerminatorSplitAcrossTicksStillEndsEachReply) {
  ProgramDir dir;
  startOnReceiverPage(dir);
  // The final carriage return of every reply comes 150 ms after the rest: always at a later
  // tick of the 100 ms receive poll than "]$".
  SimProcess sim(dir.path(), {"--split-gap", "150", "--set", "Aspect=Keep", "--set", "Display=Off",
                              "--set", "InfoTx=2.34"});
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  app.widget<QPushButton>("cmd_ctrl_read")->click();
  EXPECT_FALSE(app.form->label("lab_ctrl_reply").visible());
  EXPECT_EQ(sim.lines(), kReadQueries);
  EXPECT_EQ(app.widget<QComboBox>("cbo_aspect")->currentText(), "Keep Ratio");
  EXPECT_EQ(app.widget<QComboBox>("cbo_display")->currentText(), "Off");
  EXPECT_EQ(app.widget<QLabel>("lab_fw_ver_tx")->text(), "2.34");
}

TEST(FaultE2E, FloodOutsideATransactionKeepsTheLogRulesAndMemoryBounded) {
  constexpr std::uint64_t kFlood = 1 << 20;
  const std::string key = "WP_KeyMenu[]$\r";  // its echo comes before the flood
  ProgramDir dir;
  SimProcess sim(dir.path(), {"--flood", std::to_string(kFlood)});
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  app.form->text("txt_rx").setText("old traffic");
  pumpFor(200);
  const long rss_before = statusKiB("VmRSS");
  const long peak_before = statusKiB("VmHWM");
  std::size_t largest_rx_text = 0;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout,
                   [&] { largest_rx_text = std::max(largest_rx_text, app.link().rx_text.size()); });
  sampler.start(5);

  app.link().SendCommandNoWait(key);
  const std::uint64_t total = key.size() + kFlood;
  ASSERT_TRUE(pumpUntil([&] { return app.port.received >= total; }));
  pumpFor(250);  // a tick or two more: nothing further arrives
  EXPECT_EQ(app.port.received, total);
  // Every byte outside a waited transaction is counted and dropped; the count restarts (and the
  // log pane empties) each time it passes 65530.
  EXPECT_EQ(app.link().rx_count, total % 65531);
  EXPECT_EQ(app.form->text("txt_rx").text(), "");
  EXPECT_TRUE(app.link().rx_text.empty());
  EXPECT_EQ(largest_rx_text, 0u);
  EXPECT_LT(statusKiB("VmRSS") - rss_before, 4 * 1024) << "KiB kept after the flood";
  EXPECT_LT(statusKiB("VmHWM") - peak_before, 8 * 1024) << "KiB of peak growth";

  // Still usable: a waited transaction gets its exact reply.
  app.link().SendCommand("WP_Aspect[Keep]$\r");
  EXPECT_TRUE(app.link().reply_done);
  EXPECT_EQ(app.link().reply_text, "WP_Aspect[Keep]$\r");
}

TEST(FaultE2E, PortHeldByAnotherProcessIsRefusedUntilItIsFreed) {
  ProgramDir dir;
  SimProcess sim(dir.path());
  ASSERT_FALSE(sim.device().empty());
  // A second instance of the tool, running from the same program directory, holds COM1.
  const fs::path tool = dir.path() / "qx-zenk-rx";
  fs::copy_file(QX_TOOL_PATH, tool);
  const pid_t other = ::fork();
  if (other == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl(tool.c_str(), tool.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(other, 0);
  auto holdsPort = [&] {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(other) + "/fd", ec))
      if (fs::read_symlink(fd.path(), ec) == sim.device()) return true;
    return false;
  };
  const bool held = pumpUntil(holdsPort);
  if (!held) ::kill(other, SIGKILL);
  ASSERT_TRUE(held);

  BoxAnswerer boxes;
  boxes.answer(Button::Ok);
  E2EApp app(dir.str());
  app.start();
  EXPECT_FALSE(app.link().link_open);
  EXPECT_EQ(boxes.texts, V{"RS-232 port error on COM 1: !"});
  EXPECT_EQ(app.form->button("cmd_conn_1").backColor(), colors::kRed);

  ::kill(other, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other instance ends cleanly";
  app.widget<QPushButton>("cmd_conn_0")->click();
  ASSERT_TRUE(app.link().link_open);
  app.link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_TRUE(app.link().reply_done);
}

TEST(FaultE2E, MissingPortAtStartUpThenConnectOnceItIsThere) {
  ProgramDir dir;
  // COM1 names a device that does not exist (not /dev/ttyS0, which a machine may have).
  fs::create_symlink("/dev/qx-no-such-device", dir.path() / "COM1");
  BoxAnswerer boxes;
  boxes.answerEvery(Button::Ok);
  E2EApp app(dir.str());
  app.start();
  EXPECT_FALSE(app.link().link_open);
  EXPECT_EQ(app.form->button("cmd_conn_1").backColor(), colors::kRed);
  app.link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_FALSE(app.link().reply_done);
  ASSERT_TRUE(pumpUntil([&] { return boxes.texts.size() == 2; }));
  EXPECT_EQ(boxes.texts, (V{"RS-232 port error on COM 1: !", "RS232 is disconnected !"}));

  SimProcess sim(dir.path());  // replaces the dangling link
  app.widget<QPushButton>("cmd_conn_0")->click();
  EXPECT_TRUE(app.link().link_open);
  EXPECT_EQ(app.form->button("cmd_conn_0").backColor(), colors::kGreen);
  app.link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_TRUE(app.link().reply_done);
}

// The answer to each box at exit: save the changed settings, then acknowledge the failure.
Button exitAnswer(const std::string& text) {
  if (text.find("Save settings before exit") != std::string::npos) return Button::Yes;
  if (text.find("Overwrite file") != std::string::npos) return Button::Yes;
  return Button::Ok;
}

TEST(FaultE2E, ReadOnlyProgramDirectoryAtExit) {
  for (const bool had_state_file : {true, false}) {
    SCOPED_TRACE(had_state_file ? "state file present" : "no state file");
    ProgramDir dir;
    const std::string old_state = "1\r\n1\r\n0\r\n\"\"\r\n1\r\n";
    if (had_state_file) writeFile(dir.path() / kStateFileName, old_state);
    SimProcess sim(dir.path());
    E2EApp app(dir.str());
    app.start();
    ASSERT_TRUE(app.link().link_open);
    app.widget<QCheckBox>("chk_auto")->click();  // the state to write differs from the file's
    const V before = fileNames(dir.path());

    TestMount mount;
    if (!mount.readOnly(dir.path())) GTEST_SKIP() << mount.error();
    BoxAnswerer boxes;
    boxes.answerEvery(exitAnswer);
    const std::string profile = (dir.path() / "new.ini").string();
    app.dialog.results = {profile};
    app.main->Unload();  // the window's close: returns, whatever fails

    EXPECT_EQ(boxes.texts, (V{"Projector settings are changed !\nSave settings before exit ?",
                              profile + " could not be saved !"}));
    EXPECT_EQ(fileNames(dir.path()), before) << "nothing created, nothing left behind";
    if (had_state_file) {
      EXPECT_EQ(readFile(dir.path() / kStateFileName), old_state);
    }
  }
}

TEST(FaultE2E, FullDiskKeepsTheOldProfileAndStateFileWhole) {
  ProgramDir dir;
  const fs::path disk = dir.path() / "disk";
  fs::create_directory(disk);
  TestMount mount;
  if (!mount.tmpfs(disk, "size=512k")) GTEST_SKIP() << mount.error();
  for (const auto& f : fs::directory_iterator(dir.path()))
    if (f.is_regular_file()) fs::copy_file(f.path(), disk / f.path().filename());
  const std::string profile = (disk / "p.ini").string();
  const std::string old_profile = "9600\r\n8\r\n\"None\"\r\n1\r\n\"\"\r\n\"\"\r\n";
  const std::string old_state = "1\r\n0\r\n0\r\n\"" + profile + "\"\r\n0\r\n";
  writeFile(profile, old_profile);
  writeFile(disk / kStateFileName, old_state);
  SimProcess sim(disk);
  ASSERT_TRUE(fillUp(disk));
  const V before = fileNames(disk);

  E2EApp app(disk.string());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  EXPECT_EQ(app.widget<QComboBox>("cbo_proj_baudrate")->currentText(), "9600");
  choose(app.widget<QComboBox>("cbo_proj_baudrate"), QStringLiteral("19200"));
  BoxAnswerer boxes;
  boxes.answerEvery(exitAnswer);

  // Save over the profile: refused by the full disk, and said so.
  app.dialog.results = {profile};
  app.widget<QPushButton>("cmd_save")->click();
  EXPECT_EQ(boxes.texts, (V{profile + " Overwrite file ?", profile + " could not be saved !"}));
  EXPECT_EQ(readFile(profile), old_profile);

  // Exit: the prompt to save, the save failing again, the state file not written.
  boxes.texts.clear();
  app.dialog.results = {profile};
  app.main->Unload();
  EXPECT_EQ(boxes.texts, (V{"Projector settings are changed !\nSave settings before exit ?",
                            profile + " Overwrite file ?", profile + " could not be saved !"}));
  EXPECT_EQ(readFile(profile), old_profile);
  EXPECT_EQ(readFile(disk / kStateFileName), old_state);
  EXPECT_EQ(fileNames(disk), before) << "no temporary file left behind";
}

}  // namespace
}  // namespace qx::e2e
