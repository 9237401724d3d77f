// Pictures of the window built from the layout table, one per page, to check the layout by eye:
// every list holds its fixed entries with the first one selected, the failure notices and the
// firmware labels show sample texts; one more picture shows the focus ring on a list.
//   QT_QPA_PLATFORM=offscreen qx-form-shots <output directory>   -> page0.png ... focus.png

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>

#include "platform/form.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_toolkit.h"
#include "shell/layout_table.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
    return 2;
  }
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(QApplication::style()->standardPalette());
  qx::installFontSubstitutions();
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);

  const std::string dir = QCoreApplication::applicationDirPath().toStdString();
  qx::QtToolkit toolkit(dir);
  qx::Form form(toolkit, qx::mainLayout(), dir);
  for (const auto& desc : qx::mainLayout().controls) {
    if (desc.kind != qx::ControlKind::ComboBox) continue;
    auto& list = form.combo(desc.key());
    for (const auto& e : desc.entries) list.addItem(e);
    list.setSelectedIndex(list.count() > 0 ? 0 : -1);
  }
  for (const char* notice : {"lab_proj_reply", "lab_ctrl_reply", "lab_pic_reply"}) {
    form.label(notice).setText("Send fail !");
    form.label(notice).setVisible(true);
  }
  form.label("lab_fw_ver_tx").setText("1.02");
  form.label("lab_fw_ver_rx").setText("2.10");
  form.text("txt_proj_disp_on_text").setText("PWR ON\x08");
  form.text("txt_proj_disp_off_text").setText("\x07\x07PWR OFF\x08");
  form.option("opt_cmd_fmt_0").setChecked(true);

  const char* pages[3][2] = {
      {"fra_proj", "fra_proj_ctrl"}, {"fra_wp_ctrl", "fra_picture"}, {"pic_panel", nullptr}};
  const char* balls[3] = {"img_ball_proj", "img_ball_zenk", "img_ball_panel"};
  qx::QtWindow& window = *toolkit.window();
  window.show();
  for (int p = 0; p < 3; ++p) {
    for (int q = 0; q < 3; ++q) {
      for (const char* c : pages[q])
        if (c) form.container(c).setVisible(q == p);
      form.image(balls[q]).loadPicture(dir + (q == p ? "/ball_red.gif" : "/ball_gray.bmp"));
    }
    QCoreApplication::processEvents();
    const QString file = out + QStringLiteral("/page%1.png").arg(p);
    if (!window.grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
    std::printf("%s\n", qPrintable(file));
  }
  // The focus ring, on a list of the control panel's neighbour page.
  for (int q = 0; q < 3; ++q)
    for (const char* c : pages[q])
      if (c) form.container(c).setVisible(q == 1);
  QApplication::setActiveWindow(&window);
  window.findChild<QWidget*>(QStringLiteral("cbo_aspect"))->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  const QString file = out + QStringLiteral("/focus.png");
  if (!window.grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return 1;
  }
  std::printf("%s\n", qPrintable(file));
  return 0;
}
