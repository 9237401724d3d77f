#include <gtest/gtest.h>

#include "receiver_test_support.h"

namespace qx {
namespace {

using fake::FakeApp;
using V = std::vector<std::string>;

constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

class PanelKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.start();
    app.label("lab_title_panel").click();
  }
  FakeApp app;
};

TEST_F(PanelKeysTest, KeysAndButtonsSendTheKeyLines) {
  struct Case {
    int key, shift;
    std::optional<std::string> line;
  };
  const Case cases[] = {
      {'J', 0, "WP_KeyMenu[]$\r"},
      {'J', kShift, "WP_KeyMenu[]$\r"},
      {'J', kCtrl | kAlt, "WP_KeyMenu[]$\r"},
      {'K', 0, "WP_KeyMinus[]$\r"},
      {'L', kShift, "WP_KeyPlus[]$\r"},
      {'M', 0, std::nullopt},
      {'j', 0, std::nullopt},  // 106 is no letter key's code
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + "/" + std::to_string(c.shift));
    app.window().pressKey(c.key, c.shift);
    EXPECT_EQ(app.takeLines(), c.line ? V{*c.line} : V{});
    app.sched.advance(200);
  }
  app.button("cmd_btn_menu").click();
  app.button("cmd_btn_minus").click();
  app.button("cmd_btn_plus").click();
  EXPECT_EQ(app.takeLines(), (V{"WP_KeyMenu[]$\r", "WP_KeyMinus[]$\r", "WP_KeyPlus[]$\r"}));
  EXPECT_TRUE(app.msgbox.shown.empty());
}

TEST_F(PanelKeysTest, KeysActOnlyOnTheControlPanelPage) {
  for (const char* title : {"lab_title_zenk", "lab_title_proj"}) {
    app.label(title).click();
    for (int key : {'J', 'K', 'L'}) app.window().pressKey(key);
  }
  EXPECT_TRUE(app.model.lines().empty());
}

TEST_F(PanelKeysTest, AHeldKeySendsAtMostOneLinePerPause) {
  // Auto-repeat every 30 ms for 600 ms: each press pauses 151 ms and presses during a pause
  // are dropped, so the presses at 0, 180, 360 and 540 ms send.
  const auto t0 = app.sched.now64();
  for (std::uint64_t t = 30; t < 600; t += 30)
    app.sched.at(t0 + t, [this] { app.window().pressKey('L'); });
  app.window().pressKey('L');
  app.sched.advance(600);
  EXPECT_EQ(app.takeLines(), V(4, "WP_KeyPlus[]$\r"));
}

TEST_F(PanelKeysTest, ButtonsNeitherWaitNorDropClicks) {
  const auto t0 = app.sched.now64();
  for (int i = 0; i < 5; ++i) app.button("cmd_btn_minus").click();
  EXPECT_EQ(app.sched.now64(), t0);
  EXPECT_EQ(app.takeLines(), V(5, "WP_KeyMinus[]$\r"));
}

TEST_F(PanelKeysTest, KeyPressDuringAnotherDelayIsDropped) {
  // A picture Read is started on the receiver page, then the user switches to the control
  // panel and presses J while the read still waits.
  app.label("lab_title_zenk").click();
  app.sched.at(app.sched.now64() + 120, [this] {
    app.label("lab_title_panel").click();
    app.window().pressKey('J');
  });
  app.button("cmd_pic_read").click();
  for (const auto& line : app.model.lines()) EXPECT_EQ(line.find("WP_Key"), std::string::npos);
  app.window().pressKey('J');
  EXPECT_EQ(app.model.lines().back(), "WP_KeyMenu[]$\r") << "after the read the key works";
}

TEST_F(PanelKeysTest, ClosedLinkReportsEachPress) {
  app.button("cmd_conn_1").click();
  app.window().pressKey('K');
  app.sched.advance(200);
  app.button("cmd_btn_plus").click();
  EXPECT_EQ(app.msgbox.texts(), (V{"RS232 is disconnected !", "RS232 is disconnected !"}));
  EXPECT_TRUE(app.port.written.empty());
}

}  // namespace
}  // namespace qx
