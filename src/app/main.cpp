// The tool's entry: the Qt application, the Qt services and toolkit, and the main window.

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "platform/form.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/services.h"
#include "shell/layout_table.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("QX-ZENK-RX"));
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
  qx::QtSerialPort port(program_dir);
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
  window.centreAndShow();
  return QApplication::exec();
}
