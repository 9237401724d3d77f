// The Qt controls keep the event contract of platform/controls.h.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "qt_test_support.h"

namespace qx {
namespace {

using test::desc;
using K = ControlKind;

class ControlsTest : public ::testing::Test, public test::ToolkitFixture {};

TEST_F(ControlsTest, ListRaisesSelectionForCodeChangesAndEveryUserChoice) {
  auto list = make<ComboBox>(desc(K::ComboBox, "cbo_x"));
  auto* w = widget<QComboBox>(*list);
  int events = 0;
  list->onSelect([&] { ++events; });
  show();

  list->addItem("On");
  list->addItem("Off");
  list->addItem("Auto");
  EXPECT_EQ(list->selectedIndex(), -1) << "filling selects nothing";
  EXPECT_EQ(events, 0);

  list->setSelectedIndex(1);
  EXPECT_EQ(events, 1);
  list->setSelectedIndex(1);
  EXPECT_EQ(events, 1) << "the same index again is no change";
  list->setSelectedIndex(3);
  list->setSelectedIndex(-2);
  EXPECT_EQ(list->selectedIndex(), 1) << "indexes outside -1..count-1 are ignored";
  EXPECT_EQ(events, 1);

  // A user's choice by keyboard.
  w->setFocus();
  QTest::keyClick(w, Qt::Key_Down);
  EXPECT_EQ(list->selectedIndex(), 2);
  EXPECT_EQ(events, 2);

  // A user's choice of the entry already shown, through the drop-down.
  w->showPopup();
  ASSERT_TRUE(test::pumpUntil([&] { return w->view()->isVisible(); }));
  QTest::keyClick(w->view(), Qt::Key_Return);
  EXPECT_EQ(list->selectedIndex(), 2);
  EXPECT_EQ(events, 3);

  list->setSelectedIndex(-1);
  EXPECT_EQ(events, 4);
  list->setSelectedIndex(0);
  list->clear();
  EXPECT_EQ(list->selectedIndex(), -1);
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(list->itemText(0), "");
  EXPECT_EQ(events, 5) << "clear raises nothing";

  // A disabled list takes no choice.
  list->addItem("A");
  list->addItem("B");
  list->setEnabled(false);
  QTest::keyClick(w, Qt::Key_Down);
  EXPECT_EQ(events, 5);
}

TEST_F(ControlsTest, ClicksReachOnlyEnabledControlsOnShownContainers) {
  auto frame = make<Container>(desc(K::Frame, "fra_x", {0, 0, 300, 200}, "Frame"));
  struct Case {
    const char* what;
    bool control_enabled, frame_visible, frame_enabled;
    int expected;
  };
  const Case cases[] = {
      {"enabled", true, true, true, 1},
      {"disabled", false, true, true, 0},
      {"in a hidden frame", true, false, true, 0},
      {"in a disabled frame", true, true, false, 0},
  };
  auto button =
      make<Button>(desc(K::Button, "cmd_x", {10, 30, 80, 25}, "Go", "fra_x"), frame.get());
  auto label =
      make<Label>(desc(K::Label, "lab_x", {10, 70, 80, 20}, "Title", "fra_x"), frame.get());
  auto image_spec = desc(K::ImageBox, "img_x", {10, 100, 27, 25}, {}, "fra_x");
  image_spec.picture = ":/ball_red.gif";
  auto image = make<ImageBox>(image_spec, frame.get());
  int clicks[3] = {};
  button->onClick([&] { ++clicks[0]; });
  label->onClick([&] { ++clicks[1]; });
  image->onClick([&] { ++clicks[2]; });
  show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  // Clicks go to the window at the control's place, so Qt finds the widget there as it does for
  // real input (a hidden widget is not found).
  auto clickAt = [&](Control& c) {
    QWidget* w = widget(c);
    const QPoint centre = w->mapTo(&window(), w->rect().center());
    QTest::mouseClick(window().windowHandle(), Qt::LeftButton, {}, centre);
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    frame->setVisible(c.frame_visible);
    frame->setEnabled(c.frame_enabled);
    Control* controls[3] = {button.get(), label.get(), image.get()};
    for (int i = 0; i < 3; ++i) {
      clicks[i] = 0;
      controls[i]->setEnabled(c.control_enabled);
      clickAt(*controls[i]);
      EXPECT_EQ(clicks[i], c.expected) << "control " << i;
    }
  }
}

TEST_F(ControlsTest, OptionButtonsOfOneArrayAreExclusiveAndSetTrueAlwaysRaisesClick) {
  auto frame = make<Container>(desc(K::Frame, "fra_x", {0, 0, 300, 200}, "Frame"));
  auto other = make<Container>(desc(K::Frame, "fra_y", {300, 0, 200, 200}, "Other"));
  auto mk = [&](int index, int left, Container* parent, const char* parent_name) {
    auto s = desc(K::OptionButton, "opt_x", {left, 30, 60, 17}, "Opt", parent_name);
    s.index = index;
    return make<OptionButton>(s, parent);
  };
  auto text = mk(0, 10, frame.get(), "fra_x");
  auto hex = mk(1, 80, frame.get(), "fra_x");
  auto elsewhere = mk(0, 10, other.get(), "fra_y");
  int text_clicks = 0, hex_clicks = 0;
  text->onClick([&] { ++text_clicks; });
  hex->onClick([&] { ++hex_clicks; });
  show();

  elsewhere->setChecked(true);
  text->setChecked(true);
  text->setChecked(true);
  EXPECT_EQ(text_clicks, 2) << "setting true raises the click even when already checked";
  hex->setChecked(true);
  EXPECT_TRUE(hex->checked());
  EXPECT_FALSE(text->checked());
  EXPECT_TRUE(elsewhere->checked()) << "another container's array is apart";

  hex->setChecked(false);
  EXPECT_FALSE(hex->checked());
  EXPECT_EQ(hex_clicks, 1) << "setting false raises nothing";

  QTest::mouseClick(widget(*text), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(text->checked());
  EXPECT_EQ(text_clicks, 3);
  EXPECT_EQ(hex_clicks, 1);
}

TEST_F(ControlsTest, CheckBoxRaisesClickWhenCodeChangesItOrTheUserClicks) {
  auto check = make<CheckBox>(desc(K::CheckBox, "chk_x", {10, 10, 19, 17}));
  int clicks = 0;
  check->onClick([&] { ++clicks; });
  show();
  check->setValue(0);
  EXPECT_EQ(clicks, 0);
  check->setValue(1);
  check->setValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(check->value(), 1);
  QTest::mouseClick(widget(*check), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(check->value(), 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, TextSetByCodeIsNeverCutAndTypingStaysLimited) {
  auto box = make<TextBox>(desc(K::TextBox, "txt_x", {10, 10, 200, 29}));
  auto* edit = widget<QLineEdit>(*box);
  box->setMaxLength(5);
  show();

  box->setText("0123456789");
  EXPECT_EQ(box->text(), "0123456789");
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "x");
  EXPECT_EQ(box->text(), "0123456789") << "a text over the limit takes no more typing";

  box->setText("");
  QTest::keyClicks(edit, "abcdefg");
  EXPECT_EQ(box->text(), "abcde");
  EXPECT_EQ(box->maxLength(), 5);

  box->setText("caf\xE9");
  EXPECT_EQ(edit->text(), QStringLiteral("caf\u00E9")) << "texts are Latin-1 bytes";
  EXPECT_EQ(box->text(), "caf\xE9");
}

TEST_F(ControlsTest, ControlCharactersShowAsGlyphsAndReadBackAsBytes) {
  auto s = desc(K::TextBox, "txt_x", {10, 10, 200, 29});
  s.control_glyphs = true;
  s.max_length = 4;
  auto box = make<TextBox>(s);
  auto* edit = widget<QLineEdit>(*box);
  show();

  box->setText(
      "A\x07"
      "B\x08");
  EXPECT_EQ(edit->text(), QStringLiteral("A\u25A1B\u21B5"));
  EXPECT_EQ(box->text(),
            "A\x07"
            "B\x08");

  box->setText("A\x07\x08");
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "xy");
  EXPECT_EQ(box->text(), "A\x07\x08x") << "a glyph counts as one character";
}

TEST_F(ControlsTest, MultiLineTextReadsBackAsSetUntilTheUserEditsIt) {
  auto log = make<TextBox>(desc(K::MultiLineText, "txt_log", {10, 10, 300, 100}));
  auto* edit = widget<QPlainTextEdit>(*log);
  show();
  log->setText("WP_Aspect[Full]$\r\nWP_Mode[?]$\r");
  EXPECT_EQ(log->text(), "WP_Aspect[Full]$\r\nWP_Mode[?]$\r");
  EXPECT_EQ(edit->document()->blockCount(), 3) << "CR LF is one line break, a lone CR too";
  log->setText("a\r\nb");
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClicks(edit, "c");
  EXPECT_EQ(log->text(), "a\r\nbc") << "edited text has CR LF line ends";
}

TEST_F(ControlsTest, StartingARunningTimerKeepsItsPhase) {
  auto s = desc(K::Timer, "tim_x", {});
  s.interval = 100;
  auto timer = make<Timer>(s);
  int ticks = 0;
  timer->onTick([&] { ++ticks; });
  EXPECT_FALSE(timer->running());

  // Starting again every 30 ms: a timer that restarted its interval would never tick.
  timer->start();
  QtEventPump pump;
  for (int i = 0; i < 20 && ticks == 0; ++i) {
    pump.waitFor(30);
    timer->start();
  }
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(timer->running());

  timer->stop();
  EXPECT_FALSE(timer->running());
  EXPECT_FALSE(timer->enabled());
  timer->setEnabled(true);
  EXPECT_TRUE(timer->running());
  timer->stop();
}

TEST_F(ControlsTest, StatusLabelCarriesItsTextInItsAccessibleName) {
  auto s = desc(K::Label, "lab_fw", {10, 10, 59, 21});
  s.status = StatusKind::Value;
  s.accessible_name = "TX firmware version";
  auto label = make<Label>(s);
  label->setText("1.02");
  EXPECT_EQ(widget(*label)->accessibleName(), QStringLiteral("TX firmware version: 1.02"));
  EXPECT_EQ(label->text(), "1.02");
}

}  // namespace
}  // namespace qx
