// The whole window as screen readers and keyboard users meet it: the Qt window built from the
// layout table and run by the main form, with the fake serial port, clock and files behind it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFocusFrame>
#include <QTest>
#include <map>
#include <set>
#include <vector>

#include "fake/fake_platform.h"
#include "platform/form.h"
#include "platform/qt/qt_toolkit.h"
#include "shell/layout_table.h"
#include "shell/main_form.h"

namespace qx {
namespace {

const std::set<QAccessible::Role> kInteractive{QAccessible::Button, QAccessible::ComboBox,
                                               QAccessible::EditableText, QAccessible::RadioButton,
                                               QAccessible::CheckBox};

struct Node {
  QString name;
  QAccessible::Role role;
  QString key;  // objectName of the widget behind it
};

// Every shown node below iface; a node that is not shown hides all below it.
void walk(QAccessibleInterface* iface, std::vector<Node>& out) {
  for (int i = 0; i < iface->childCount(); ++i) {
    QAccessibleInterface* child = iface->child(i);
    if (!child || child->state().invisible) continue;
    out.push_back({child->text(QAccessible::Name), child->role(),
                   child->object() ? child->object()->objectName() : QString()});
    walk(child, out);
  }
}

class WholeWindowTest : public ::testing::Test {
 protected:
  WholeWindowTest() {
    // The program directory holds the page selector pictures, as next to the real binary.
    for (const char* picture : {"ball_red.gif", "ball_gray.bmp"}) {
      QFile f(QStringLiteral(QX_DATA_DIR "/") + QLatin1String(picture));
      EXPECT_TRUE(f.open(QIODevice::ReadOnly));
      files.write(picture, f.readAll().toStdString());
    }
    form = std::make_unique<Form>(toolkit, mainLayout(), QX_DATA_DIR);
    main = std::make_unique<MainForm>(*form, services);
    main->Load();
    window().show();
    QApplication::setActiveWindow(&window());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
  }
  ~WholeWindowTest() override {
    main.reset();
    form.reset();
  }

  QtWindow& window() { return *toolkit.window(); }
  QWidget* widget(const char* key) { return window().findChild<QWidget*>(QLatin1String(key)); }
  std::string focused() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : "(none)";
  }
  void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window();
    QTest::keyClick(target, key, mods);
  }
  std::vector<std::string> takeLines() {
    sched.advance(200);  // the receiver model gets the bytes on virtual time
    auto lines = model.lines();
    model.clearLines();
    return lines;
  }

  fake::Scheduler sched;
  qxsim::ReceiverModel model;
  fake::FakeSerialPort port{sched, model};
  fake::FakeMessageBox msgbox;
  fake::FakeFileDialog dialog;
  fake::TempFileSystem files;
  Services services{sched, sched, port, msgbox, dialog, files};
  QtToolkit toolkit{QX_DATA_DIR};
  std::unique_ptr<Form> form;
  std::unique_ptr<MainForm> main;
};

// On each page every list, button, text box, option button and check box on screen has a name,
// and no two of them share one, whatever the lists show; a few names show the walk reached the
// page.
TEST_F(WholeWindowTest, EveryControlOnEachPageHasItsOwnName) {
  struct Page {
    Qt::Key key;
    std::vector<Node> expected;
  };
  const Page pages[] = {
      {Qt::Key_1,
       {{"Projector Baud Rate", QAccessible::ComboBox, "cbo_proj_baudrate"},
        {"Read projector commands", QAccessible::Button, "cmd_proj_read"},
        {"Read projector controls", QAccessible::Button, "cmd_read_proj"},
        {"Append carriage return to Display Off", QAccessible::Button, "cmd_cr_disp_off"},
        {"Display On text", QAccessible::EditableText, "txt_proj_disp_on_text"},
        {"Hex format", QAccessible::RadioButton, "opt_cmd_fmt_1"},
        {"Projector page", QAccessible::RadioButton, "lab_title_proj"}}},
      {Qt::Key_2,
       {{"Auto Off (sec.)", QAccessible::ComboBox, "cbo_standby"},
        {"Overscan H%", QAccessible::ComboBox, "cbo_overscan_h"},
        {"Read receiver settings", QAccessible::Button, "cmd_ctrl_read"},
        {"Read picture adjustments", QAccessible::Button, "cmd_pic_read"},
        {"TX firmware version", QAccessible::StatusBar, "lab_fw_ver_tx"},
        {"ZENK Receiver page", QAccessible::RadioButton, "lab_title_zenk"}}},
      {Qt::Key_3,
       {{"Menu key", QAccessible::Button, "cmd_btn_menu"},
        {"Plus key", QAccessible::Button, "cmd_btn_plus"},
        {"Control Panel page", QAccessible::RadioButton, "lab_title_panel"}}},
  };
  // Every list shows an entry, as after a read: lists showing the same entry keep apart.
  main->state().reading = true;  // selections from code send nothing while reading
  for (const auto& desc : mainLayout().controls)
    if (desc.kind == ControlKind::ComboBox) form->combo(desc.key()).setSelectedIndex(0);
  main->state().reading = false;
  for (const auto& page : pages) {
    SCOPED_TRACE("page key " + std::to_string(page.key - Qt::Key_0));
    press(page.key, Qt::ControlModifier);
    std::vector<Node> nodes;
    walk(QAccessible::queryAccessibleInterface(&window()), nodes);

    std::map<QString, QString> owner;  // name -> key
    for (const auto& n : nodes) {
      if (!kInteractive.count(n.role)) continue;
      EXPECT_FALSE(n.name.trimmed().isEmpty()) << n.key.toStdString() << " has no name";
      auto [it, fresh] = owner.emplace(n.name, n.key);
      EXPECT_TRUE(fresh) << n.key.toStdString() << " and " << it->second.toStdString()
                         << " are both called " << n.name.toStdString();
    }
    for (const auto& e : page.expected) {
      bool found = false;
      for (const auto& n : nodes) found |= n.key == e.key && n.name == e.name && n.role == e.role;
      EXPECT_TRUE(found) << e.key.toStdString() << " as " << e.name.toStdString();
    }
    // The balls beside the titles do the same by mouse and are pictures to a screen reader.
    for (const auto& n : nodes) {
      if (n.key.startsWith(QLatin1String("img_ball"))) {
        EXPECT_EQ(n.role, QAccessible::Graphic);
      }
    }
    // Only the shown page's title is checked.
    const char* titles[] = {"lab_title_proj", "lab_title_zenk", "lab_title_panel"};
    for (int p = 0; p < 3; ++p) {
      const QAccessible::State st =
          QAccessible::queryAccessibleInterface(widget(titles[p]))->state();
      EXPECT_TRUE(st.checkable) << titles[p];
      EXPECT_EQ(st.checked, page.key == Qt::Key_1 + p) << titles[p];
    }
  }
}

// A label that names one control is that control's label in the accessibility tree, and the
// control's own name starts with what the label says.
TEST_F(WholeWindowTest, LabelsNameTheirControls) {
  int linked = 0;
  for (const auto& desc : mainLayout().controls) {
    if (desc.buddy.empty()) continue;
    SCOPED_TRACE(desc.key());
    QWidget* label = widget(desc.key().c_str());
    QAccessibleInterface* target =
        QAccessible::queryAccessibleInterface(widget(desc.buddy.c_str()));
    ASSERT_TRUE(target);
    bool labelled = false;
    for (const auto& [iface, relation] : target->relations(QAccessible::Label))
      labelled |= iface->object() == label;
    EXPECT_TRUE(labelled);
    EXPECT_TRUE(target->text(QAccessible::Name).startsWith(QString::fromStdString(desc.caption)));
    ++linked;
  }
  EXPECT_GT(linked, 0);
}

// A read-back value is status text whose name carries the value, a failure notice an alert
// named by its text, a list keeps its name and shows its entry as value. (Qt hands out change
// events only while a screen reader listens, which never happens offscreen: the AT-SPI check in
// tools/ listens for them.)
TEST_F(WholeWindowTest, StatusLabelsAndListsSpeakTheirValues) {
  press(Qt::Key_2, Qt::ControlModifier);
  form->label("lab_fw_ver_tx").setText("1.02");
  main->link().ShowNotice(form->label("lab_ctrl_reply"), "Send fail !");
  form->combo("cbo_aspect").setSelectedIndex(1);
  auto iface = [this](const char* key) {
    return QAccessible::queryAccessibleInterface(widget(key));
  };

  EXPECT_EQ(iface("lab_fw_ver_tx")->role(), QAccessible::StatusBar);
  EXPECT_EQ(iface("lab_fw_ver_tx")->text(QAccessible::Name), "TX firmware version: 1.02");
  EXPECT_EQ(iface("lab_ctrl_reply")->role(), QAccessible::Notification);
  EXPECT_EQ(iface("lab_ctrl_reply")->text(QAccessible::Name), "Send fail !");
  EXPECT_FALSE(iface("lab_ctrl_reply")->state().invisible);
  EXPECT_EQ(iface("cbo_aspect")->text(QAccessible::Name), "Aspect");
  EXPECT_EQ(iface("cbo_aspect")->text(QAccessible::Value), "16:9 TV");
}

// Tab walks the projector page in reading order: the serial link, the page titles, then the
// page row by row. Only the chosen format's boxes and option button are reached.
TEST_F(WholeWindowTest, TabFollowsTheReadingOrderOfThePage) {
  const std::vector<std::string> expected{"cmd_conn_0",        "cmd_conn_1",
                                          "cbo_com",           "lab_title_proj",
                                          "lab_title_zenk",    "lab_title_panel",
                                          "cmd_load",          "cmd_save",
                                          "cmd_proj_send",     "cmd_proj_read",
                                          "cbo_proj_baudrate", "cbo_proj_databit",
                                          "cbo_proj_parity",   "cbo_proj_stopbit",
                                          "opt_cmd_fmt_0",     "txt_proj_disp_on_text",
                                          "cmd_cr_disp_on",    "txt_proj_disp_off_text",
                                          "cmd_cr_disp_off",   "cbo_auto_on",
                                          "cmd_read_proj",     "cbo_auto_off",
                                          "cbo_projsw"};
  widget("cmd_conn_0")->setFocus(Qt::TabFocusReason);
  std::vector<std::string> order{focused()};
  for (int i = 0; i < 60; ++i) {
    press(Qt::Key_Tab);
    if (focused() == order.front()) break;
    order.push_back(focused());
  }
  EXPECT_EQ(order, expected);

  // Shift+Tab goes back the same way.
  press(Qt::Key_Backtab);
  EXPECT_EQ(focused(), expected.back());
  // The focused control wears the focus ring.
  auto* ring = window().findChild<QFocusFrame*>();
  ASSERT_TRUE(ring);
  EXPECT_TRUE(ring->isVisible());
  EXPECT_EQ(ring->widget(), QApplication::focusWidget());
}

// The page keys work from any control, reach no list, and leave J, K and L to the panel; the
// page titles react to Space and Enter.
TEST_F(WholeWindowTest, PagesAndPanelKeysWithTheKeyboardAlone) {
  press(Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(focused(), "lab_title_zenk");
  EXPECT_TRUE(widget("fra_wp_ctrl")->isVisible());

  // A digit typed in a list picks an entry; with Ctrl it only names a page.
  auto* brightness = qobject_cast<QComboBox*>(widget("cbo_pic_bri"));
  brightness->setFocus(Qt::TabFocusReason);
  press(Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(brightness->currentIndex(), -1);
  EXPECT_EQ(takeLines(), std::vector<std::string>{});
  EXPECT_EQ(focused(), "lab_title_zenk");

  press(Qt::Key_3, Qt::ControlModifier);
  EXPECT_TRUE(widget("pic_panel")->isVisible());
  EXPECT_FALSE(widget("fra_wp_ctrl")->isVisible());
  press(Qt::Key_J, Qt::ControlModifier);
  press(Qt::Key_K);
  sched.advance(200);
  press(Qt::Key_L, Qt::ShiftModifier);
  EXPECT_EQ(takeLines(),
            (std::vector<std::string>{"WP_KeyMenu[]$\r", "WP_KeyMinus[]$\r", "WP_KeyPlus[]$\r"}));

  // Tab from the last title enters the page; Space presses a key button.
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), "cmd_btn_menu");
  press(Qt::Key_Space);
  EXPECT_EQ(takeLines(), std::vector<std::string>{"WP_KeyMenu[]$\r"});

  // Back to the titles: Enter on one chooses its page, Space on another too.
  press(Qt::Key_Backtab);
  press(Qt::Key_Backtab);
  EXPECT_EQ(focused(), "lab_title_zenk");
  press(Qt::Key_Return);
  EXPECT_TRUE(widget("fra_wp_ctrl")->isVisible());
  press(Qt::Key_Backtab);
  press(Qt::Key_Space);
  EXPECT_TRUE(widget("fra_proj")->isVisible());
  EXPECT_EQ(main->state().page, 0);
}

}  // namespace
}  // namespace qx
