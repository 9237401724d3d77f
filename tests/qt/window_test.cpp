// The window and the form built from the layout table.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <vector>

#include "platform/form.h"
#include "qt_test_support.h"
#include "shell/layout_table.h"

namespace qx {
namespace {

using test::desc;
using K = ControlKind;

class WindowTest : public ::testing::Test, public test::ToolkitFixture {};

struct Key {
  int code, shift;
  friend bool operator==(const Key&, const Key&) = default;
};

TEST_F(WindowTest, KeyPreviewSeesEveryKeyOnceAndPassesItOn) {
  auto box = make<TextBox>(desc(K::TextBox, "txt_x", {10, 10, 200, 29}));
  auto button = make<Button>(desc(K::Button, "cmd_x", {10, 50, 80, 25}, "Go"));
  std::vector<Key> keys;
  window().onKeyDown([&](int code, int shift) { keys.push_back({code, shift}); });
  show();
  auto* edit = widget<QLineEdit>(*box);
  edit->setFocus();

  // Modifier keys are key presses of their own, as on a real keyboard.
  QTest::keyClick(edit, Qt::Key_J, Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_K);
  QTest::keyClick(edit, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(keys, (std::vector<Key>{{16, 1}, {74, 1}, {75, 0}, {17, 2}, {18, 6}, {76, 6}}));
  EXPECT_NE(box->text().find('k'), std::string::npos) << "the focused control still gets keys";

  // A button ignores letters; Qt then offers the key to its parents, still one key press.
  keys.clear();
  QTest::keyClick(widget(*button), Qt::Key_K);
  EXPECT_EQ(keys, (std::vector<Key>{{75, 0}}));
}

TEST_F(WindowTest, CloseRunsTheHandlerOnceAndIsNeverCancelled) {
  show();
  int runs = 0;
  window().onClose([&] {
    ++runs;
    window().close();  // a second request while the first is handled
  });
  EXPECT_TRUE(window().close());
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(window().isVisible());
}

TEST_F(WindowTest, WindowHasAFixedSizeAndNoMaximiseBox) {
  EXPECT_EQ(window().minimumSize(), QSize(528, 466));
  EXPECT_EQ(window().maximumSize(), QSize(528, 466));
  const Qt::WindowFlags f = window().windowFlags();
  EXPECT_FALSE(f.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(f.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(f.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(window().windowIcon().isNull());
  window().setCaption("QX-ZENK-RX v2.2.8 - C:\\proj\\a.ini");
  EXPECT_EQ(window().windowTitle(), QStringLiteral("QX-ZENK-RX v2.2.8 - C:\\proj\\a.ini"));
  // A profile path in the file name encoding shows decoded and reads back byte for byte.
  const std::string utf8 = "QX-ZENK-RX v2.2.8 /home/j\xc3\xb6rg/a.ini";
  window().setCaption(utf8);
  EXPECT_EQ(window().windowTitle(), QString::fromUtf8("QX-ZENK-RX v2.2.8 /home/j\u00f6rg/a.ini"));
  EXPECT_EQ(window().caption(), utf8);
}

// Every control of the table exists under its key, in its container, at its place, with its
// initial state; lists and buttons are never covered by another control.
TEST(FormTest, WindowFromTheLayoutTable) {
  QtToolkit toolkit(QX_DATA_DIR);
  const LayoutTable& table = mainLayout();
  Form form(toolkit, table, QX_DATA_DIR);
  QtWindow& window = *toolkit.window();
  EXPECT_EQ(window.size(), QSize(table.window.client_width, table.window.client_height));

  for (const auto& s : table.controls) {
    SCOPED_TRACE(s.key());
    const QString key = QString::fromStdString(s.key());
    if (s.kind == K::Timer) {
      const auto timers = window.findChildren<QTimer*>(key);
      ASSERT_EQ(timers.size(), 1);
      EXPECT_EQ(timers[0]->interval(), s.interval);
      EXPECT_FALSE(timers[0]->isActive());
      continue;
    }
    const auto found = window.findChildren<QWidget*>(key);
    ASSERT_EQ(found.size(), 1) << "one widget per key";
    QWidget* w = found[0];
    EXPECT_EQ(w, dynamic_cast<QtWidgetControl&>(form.control(s.key())).widget());
    EXPECT_EQ(w->geometry(), QRect(s.rect.left, s.rect.top, s.rect.width, s.rect.height));
    EXPECT_EQ(w->parentWidget()->objectName(),
              s.parent.empty() ? QStringLiteral("frm_main") : QString::fromStdString(s.parent));
    EXPECT_EQ(form.control(s.key()).visible(), s.visible);
    EXPECT_EQ(form.control(s.key()).enabled(), s.enabled);
    if (!s.accessible_name.empty()) {
      EXPECT_EQ(w->accessibleName(), QString::fromStdString(s.accessible_name));
    }
  }

  // Show every page at once; no list or button may lie under another control.
  for (const char* page : {"fra_proj", "fra_proj_ctrl", "fra_wp_ctrl", "fra_picture", "pic_panel"})
    form.container(page).setVisible(true);
  window.show();
  QCoreApplication::processEvents();
  for (const auto& s : table.controls) {
    if ((s.kind != K::ComboBox && s.kind != K::Button) || !s.visible) continue;
    SCOPED_TRACE(s.key());
    QWidget* w = dynamic_cast<QtWidgetControl&>(form.control(s.key())).widget();
    if (w->mapTo(&window, w->rect().bottomRight()).y() >= window.height()) continue;  // log group
    QWidget* hit = w->parentWidget()->childAt(w->geometry().center());
    EXPECT_TRUE(hit == w || w->isAncestorOf(hit))
        << "covered by " << (hit ? hit->objectName().toStdString() : "nothing");
  }
}

}  // namespace
}  // namespace qx
