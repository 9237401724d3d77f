// Event pump, message box, file dialog and file services on Qt.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

#include "qt_test_support.h"

namespace qx {
namespace {

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs wait() until wall time has passed and returns the share of it spent on the CPU.
template <class F>
double cpuShareOver(std::chrono::milliseconds wall, F wait) {
  const auto start = std::chrono::steady_clock::now();
  const double cpu0 = cpuSeconds();
  while (std::chrono::steady_clock::now() - start < wall) wait();
  const double spent =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return (cpuSeconds() - cpu0) / spent;
}

TEST(EventPumpTest, WaitingRunsTimersAndPostedEvents) {
  QtEventPump pump;
  int ran = 0;
  QMetaObject::invokeMethod(
      qApp, [&] { ++ran; }, Qt::QueuedConnection);
  pump.doEvents();
  EXPECT_EQ(ran, 1);

  int ticks = 0;
  QTimer timer;
  timer.setInterval(20);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  EXPECT_TRUE(test::pumpUntil([&] { return ticks >= 2; })) << "ticks while a handler waits";
}

TEST(EventPumpTest, WaitingSleepsInsteadOfSpinning) {
  QtEventPump pump;
  EXPECT_LT(cpuShareOver(std::chrono::milliseconds(200), [&] { pump.waitFor(50); }), 0.25);
}

TEST(EventPumpTest, WaitingWhileTheApplicationQuitsStillSleeps) {
  QtEventPump pump;
  QCoreApplication::exit(0);  // from now on every local event loop returns at once
  const double share = cpuShareOver(std::chrono::milliseconds(200), [&] { pump.waitFor(20); });
  // QCoreApplication::exec() clears the quitting state again for the tests that follow.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_LT(share, 0.25);
}

TEST(ClockTest, CountsWholeMillisecondsForward) {
  QtClock clock;
  const std::uint32_t a = clock.nowMs();
  QtEventPump().waitFor(30);
  const std::uint32_t b = clock.nowMs();
  EXPECT_GE(b - a, 20u);
}

// Answers the message box that is about to open by pressing the button named button_name, and
// records what the box showed.
struct BoxSeen {
  QString title, text, detail;
  bool has_icon = false;
};

void answerNextBox(const char* button_name, BoxSeen& seen) {
  QTimer::singleShot(0, [button_name, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->detailedText(),
            box->icon() != QMessageBox::NoIcon};
    if (!button_name) {
      box->reject();  // Escape or the close box
      return;
    }
    auto* b = box->findChild<QAbstractButton*>(QLatin1String(button_name));
    ASSERT_NE(b, nullptr) << button_name;
    b->click();
  });
}

TEST(MessageBoxTest, ShowsTextAndReturnsTheButtonPressed) {
  struct Case {
    MsgButtons buttons;
    MsgIcon icon;
    const char* press;  // nullptr: Escape
    MsgAnswer expected;
  };
  const Case cases[] = {
      {MsgButtons::Ok, MsgIcon::Error, "msgbox_ok", MsgAnswer::Ok},
      {MsgButtons::YesNo, MsgIcon::Question, "msgbox_yes", MsgAnswer::Yes},
      {MsgButtons::YesNo, MsgIcon::Question, "msgbox_no", MsgAnswer::No},
      {MsgButtons::YesNo, MsgIcon::None, nullptr, MsgAnswer::No},
      {MsgButtons::YesNoCancel, MsgIcon::None, "msgbox_cancel", MsgAnswer::Cancel},
      {MsgButtons::YesNoCancel, MsgIcon::None, nullptr, MsgAnswer::Cancel},
  };
  QtMessageBox msgbox;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.press ? c.press : "escape");
    BoxSeen seen;
    answerNextBox(c.press, seen);
    EXPECT_EQ(msgbox.show("Projector settings are changed !\r\nSave settings before exit ?",
                          c.buttons, c.icon),
              c.expected);
    EXPECT_EQ(seen.title, QStringLiteral("QX-ZENK-RX"));
    EXPECT_EQ(seen.text,
              QStringLiteral("Projector settings are changed !\nSave settings before exit ?"));
    EXPECT_EQ(seen.has_icon, c.icon != MsgIcon::None);
  }

  BoxSeen seen;
  answerNextBox("msgbox_ok", seen);
  msgbox.show("RS-232 port error on COM 3: !", MsgButtons::Ok, MsgIcon::Error,
              "Device /dev/ttyS2: No such file or directory");
  EXPECT_EQ(seen.detail, QStringLiteral("Device /dev/ttyS2: No such file or directory"));
}

TEST(FileDialogTest, NameFiltersFromTheDescriptionPatternForm) {
  EXPECT_EQ(qtNameFilters("Projector INI|*.ini|*.*|*.*"),
            QStringList({"Projector INI (*.ini)", "*.* (*)"}));
  EXPECT_EQ(qtNameFilters("Text|*.txt;*.log"), QStringList({"Text (*.txt *.log)"}));
  EXPECT_EQ(qtNameFilters(""), QStringList());
}

TEST(FileDialogTest, ReturnsTheChosenPathEvenIfMissingOrNothingWhenCancelled) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QtFileDialog dialog;
  FileDialogRequest req;
  req.title = "Load File";
  req.filter = "Projector INI|*.ini|*.*|*.*";
  req.filter_index = 2;
  req.init_dir = dir.path().toStdString();

  QString filter_shown, title_shown;
  bool own_dialog = false, asks_overwrite = true;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    title_shown = d->windowTitle();
    filter_shown = d->selectedNameFilter();
    own_dialog = d->testOption(QFileDialog::DontUseNativeDialog);
    asks_overwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
    d->selectFile(dir.filePath("missing.ini"));
    QMetaObject::invokeMethod(d, "accept");
  });
  const auto chosen = dialog.show(req);
  EXPECT_EQ(title_shown, QStringLiteral("Load File"));
  EXPECT_EQ(filter_shown, QStringLiteral("*.* (*)"));
  EXPECT_TRUE(own_dialog);
  EXPECT_FALSE(asks_overwrite);
  EXPECT_EQ(chosen, dir.filePath("missing.ini").toStdString());

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  req.save = true;
  EXPECT_EQ(dialog.show(req), std::nullopt);
}

TEST(FileSystemTest, FindsReadsAndWritesFiles) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const std::string dir = tmp.path().toStdString();
  QtFileSystem files;
  EXPECT_EQ(files.programDir(), QCoreApplication::applicationDirPath().toStdString());
  EXPECT_EQ(files.separator(), '/');

  const std::string profile = dir + "/Proj.ini";
  const std::string contents("\"PWR\"\r\n9600\r\n\x00\xFF", 16);
  ASSERT_TRUE(files.writeFileAtomic(profile, contents));
  EXPECT_EQ(files.readFile(profile), contents);
  ASSERT_TRUE(files.writeFileAtomic(profile, "new"));
  EXPECT_EQ(files.readFile(profile), "new");
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Proj.ini"}))
      << "no temporary file left beside it";

  EXPECT_EQ(files.findFile(profile), "Proj.ini");
  EXPECT_EQ(files.findFile(dir + "/proj.ini"), std::nullopt) << "names are case-sensitive";
  ASSERT_TRUE(files.writeFileAtomic(dir + "/.hidden.ini", "x"));
  EXPECT_EQ(files.findFile(dir + "/.hidden.ini"), std::nullopt);
  EXPECT_EQ(files.findFile(dir), std::nullopt) << "a folder is no file";
  EXPECT_EQ(files.findFile(""), std::nullopt);
  EXPECT_EQ(files.readFile(dir + "/absent.ini"), std::nullopt);
  EXPECT_FALSE(files.writeFileAtomic(dir + "/no/such/dir/a.ini", "x"));
}

TEST(FileSystemTest, PerUserStateHomeFollowsXdg) {
  EXPECT_EQ(userStateHome("/srv/state", "/home/u"), "/srv/state");
  EXPECT_EQ(userStateHome("", "/home/u"), "/home/u/.local/state");
  EXPECT_EQ(userStateHome("rel/state", "/home/u"), "/home/u/.local/state")
      << "a relative path is ignored";
}

// A program directory of the test's choosing.
class ProgramDirFileSystem : public QtFileSystem {
 public:
  ProgramDirFileSystem(std::string program_dir, std::string state_home)
      : QtFileSystem(std::move(state_home)), dir_(std::move(program_dir)) {}
  std::string programDir() override { return dir_; }

 private:
  std::string dir_;
};

TEST(FileSystemTest, StateStaysInAPortableProgramDirectoryAndGoesPerUserWhenInstalled) {
  QTemporaryDir program, home;
  ASSERT_TRUE(program.isValid() && home.isValid());
  const std::string state_home = home.path().toStdString() + "/state";
  const std::string user_dir = state_home + "/qx-zenk-rx";

  ProgramDirFileSystem portable(program.path().toStdString(), state_home);
  EXPECT_EQ(portable.stateDir(), program.path().toStdString());
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(state_home))) << "nothing made per user";

  // Installed: the marker (cmake --install places it), or a program directory the user may not
  // write (only testable when not root: root may write anywhere).
  ASSERT_TRUE(QFile(program.filePath(kPerUserStateMarker)).open(QIODevice::WriteOnly));
  ProgramDirFileSystem installed(program.path().toStdString(), state_home);
  EXPECT_EQ(installed.stateDir(), user_dir);
  const QFileInfo made(QString::fromStdString(user_dir));
  EXPECT_TRUE(made.isDir());
  EXPECT_EQ(made.permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions())
      << "private to the user";
  EXPECT_TRUE(installed.writeFileAtomic(user_dir + "/QX_ZENK_RX_AP.ini", "1\r\n"));

  if (::geteuid() != 0) {
    QTemporaryDir read_only;
    ASSERT_TRUE(read_only.isValid());
    QFile::setPermissions(read_only.path(), QFile::ReadOwner | QFile::ExeOwner);
    ProgramDirFileSystem locked(read_only.path().toStdString(), state_home);
    EXPECT_EQ(locked.stateDir(), user_dir);
    QFile::setPermissions(read_only.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
}

}  // namespace
}  // namespace qx
