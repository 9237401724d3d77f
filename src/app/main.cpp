// The tool's entry: the Qt application, the Qt services and toolkit, and the main window.

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleFactory>
#include <csignal>

#include "platform/form.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/services.h"
#include "shell/layout_table.h"
#include "shell/main_form.h"

namespace {

int g_signal_pipe[2] = {-1, -1};

// A termination request ends the tool through the event loop (port closed, exit status 0)
// instead of killing it in the middle of a transaction.
void onTerminate(int) {
  const char c = 1;
  [[maybe_unused]] ssize_t n = ::write(g_signal_pipe[0], &c, 1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("QX-ZENK-RX"));
  // The desktop entry and the window belong together (Wayland app id, taskbar grouping).
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.qxtools.QxZenkRx"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(QApplication::style()->standardPalette());
  qx::installFontSubstitutions();
  // The window's close runs the shut-down sequence and then ends the tool; message boxes closed
  // before the window is shown must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  qx::QtFileSystem files;
  const std::string program_dir = files.programDir();
  qx::QtClock clock;
  qx::QtEventPump pump;
  // COMn links: the user's own first (an installed tool's program directory is not theirs to
  // change), then the program directory's.
  std::vector<std::string> link_dirs{files.stateDir()};
  if (program_dir != link_dirs.front()) link_dirs.push_back(program_dir);
  qx::QtSerialPort port(link_dirs);
  qx::QtMessageBox msgbox;
  qx::QtFileDialog dialog;
  qx::Services services{clock, pump, port, msgbox, dialog, files};

  qx::QtToolkit toolkit(program_dir);
  qx::Form form(toolkit, qx::mainLayout(), program_dir);
  qx::MainForm main_form(form, services);
  main_form.Load();

  qx::QtWindow& window = *toolkit.window();
  window.onClose([&main_form] {
    main_form.Unload();
    QCoreApplication::quit();
  });
  QSocketNotifier* terminate = nullptr;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) == 0) {
    terminate = new QSocketNotifier(g_signal_pipe[1], QSocketNotifier::Read, &app);
    QObject::connect(terminate, &QSocketNotifier::activated, [&port] {
      char c;
      [[maybe_unused]] ssize_t n = ::read(g_signal_pipe[1], &c, 1);
      // exit(), not quit(): quit() would close the window and bring up the exit prompt.
      port.close();
      QCoreApplication::exit(0);
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
  }
  window.centreAndShow();
  return QApplication::exec();
}
