#include <gtest/gtest.h>

#include "receiver_test_support.h"

namespace qx {
namespace {

using fake::FakeApp;
using V = std::vector<std::string>;

class ReceiverPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.files.write("auto_off.txt", "Off\r\n60\r\n300\r\nEND\r\n");
    app.files.write("input_prefer.txt", "720p\r\n1080i\r\n1080p\r\nEND\r\n");
    app.files.write("output_reso.txt", "720p\r\n1080i\r\n1080p\r\n1366x768\r\nEND\r\n");
    app.start();
    app.label("lab_title_zenk").click();
  }
  fake::FakeLabel& notice() { return app.label("lab_ctrl_reply"); }
  FakeApp app;
};

TEST_F(ReceiverPageTest, EachListSendsTheArgumentOfItsEntry) {
  struct Case {
    const char* list;
    int entry;
    const char* line;
  };
  const Case cases[] = {
      {"cbo_input", 0, "WP_Input[Hdmi]$\r"},
      {"cbo_input", 1, "WP_Input[Vga]$\r"},
      {"cbo_in_prefer", 0, "WP_InputPrefer[0]$\r"},
      {"cbo_in_prefer", 2, "WP_InputPrefer[2]$\r"},
      {"cbo_output", 2, "WP_Output[2]$\r"},
      {"cbo_output", 3, "WP_Output[3]$\r"},
      {"cbo_aspect", 0, "WP_Aspect[Full]$\r"},
      {"cbo_aspect", 1, "WP_Aspect[16:9]$\r"},
      {"cbo_aspect", 2, "WP_Aspect[16:10]$\r"},
      {"cbo_aspect", 3, "WP_Aspect[4:3]$\r"},
      {"cbo_aspect", 4, "WP_Aspect[Keep]$\r"},
      {"cbo_disp_mode", 0, "WP_DisplayMode[DispSWAVOn]$\r"},
      {"cbo_disp_mode", 1, "WP_DisplayMode[DispSWAVSW]$\r"},
      {"cbo_disp_mode", 2, "WP_DisplayMode[AVSW]$\r"},
      {"cbo_disp_mode", 3, "WP_DisplayMode[AlwaysOn]$\r"},
      {"cbo_display", 0, "WP_Display[On]$\r"},
      {"cbo_display", 1, "WP_Display[Off]$\r"},
      {"cbo_hdcp_in", 0, "WP_HdcpInput[HDCP]$\r"},
      {"cbo_hdcp_in", 1, "WP_HdcpInput[NotHDCP]$\r"},
      {"cbo_hdcp_in", 2, "WP_HdcpInput[Auto]$\r"},
      {"cbo_overscan_en", 0, "WP_OverscanEn[Yes]$\r"},
      {"cbo_overscan_en", 1, "WP_OverscanEn[No]$\r"},
      {"cbo_audio_en", 1, "WP_AudioEn[Off]$\r"},
      {"cbo_audio_hdmi", 0, "WP_AudioHdmi[On]$\r"},
      {"cbo_audio_lr", 1, "WP_AudioLR[Off]$\r"},
      {"cbo_baudrate", 0, "WP_BaudrateTx[9600]$\r"},
      {"cbo_baudrate", 1, "WP_BaudrateTx[115200]$\r"},
      {"cbo_overscan_h", 37, "WP_OverscanH[37]$\r"},
      {"cbo_overscan_v", 0, "WP_OverscanV[0]$\r"},
      {"cbo_overscan_v", 50, "WP_OverscanV[50]$\r"},
      {"cbo_standby", 0, "WP_AutoOff[0]$\r"},  // whatever the entry's text ("Off")
      {"cbo_standby", 2, "WP_AutoOff[300]$\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " " + std::to_string(c.entry));
    app.takeLines();
    app.combo(c.list).choose(c.entry);
    app.sched.advance(200);
    EXPECT_EQ(app.takeLines(), V{c.line});
    EXPECT_TRUE(app.combo(c.list).enabled());
    EXPECT_FALSE(notice().visible());
  }
  EXPECT_TRUE(app.msgbox.shown.empty());
}

TEST_F(ReceiverPageTest, SilentReceiverFailsConfirmedSettingsOnly) {
  const std::pair<const char*, bool> lists[] = {
      {"cbo_input", true},       {"cbo_in_prefer", true},   {"cbo_output", true},
      {"cbo_aspect", true},      {"cbo_disp_mode", true},   {"cbo_display", true},
      {"cbo_hdcp_in", true},     {"cbo_overscan_en", true}, {"cbo_audio_en", true},
      {"cbo_audio_hdmi", true},  {"cbo_audio_lr", true},    {"cbo_baudrate", true},
      {"cbo_overscan_h", false}, {"cbo_overscan_v", false}, {"cbo_standby", false},
  };
  app.model.faults().silent = true;
  for (const auto& [name, confirmed] : lists) {
    SCOPED_TRACE(name);
    auto& list = app.combo(name);
    bool enabled_in_wait = true;
    app.sched.at(app.sched.now64() + 100, [&] { enabled_in_wait = list.enabled(); });
    const auto t0 = app.sched.now64();
    list.choose(1);
    EXPECT_EQ(app.takeLines().size(), 1u);
    EXPECT_EQ(notice().visible(), confirmed);
    EXPECT_EQ(enabled_in_wait, !confirmed) << "a confirmed setting disables its list while waiting";
    EXPECT_TRUE(list.enabled());
    if (confirmed) {
      EXPECT_EQ(notice().text(), "Send fail !");
      EXPECT_EQ(app.sched.now64() - t0, 302u) << "the whole reply wait";
      app.sched.advance(999);
      EXPECT_TRUE(notice().visible());
      app.sched.advance(1);
      EXPECT_FALSE(notice().visible()) << "shown for one second";
    }
    app.sched.advance(1000);
  }
}

TEST_F(ReceiverPageTest, ClosedLinkReportsItThenSendFailForConfirmedSettings) {
  app.button("cmd_conn_1").click();
  app.combo("cbo_aspect").choose("16:9 TV");
  EXPECT_EQ(app.msgbox.texts(), V{"RS232 is disconnected !"});
  EXPECT_TRUE(notice().visible());
  EXPECT_EQ(notice().text(), "Send fail !");
  app.sched.advance(1000);
  app.combo("cbo_overscan_h").choose(3);
  EXPECT_EQ(app.msgbox.texts(), (V{"RS232 is disconnected !", "RS232 is disconnected !"}));
  EXPECT_FALSE(notice().visible());
  app.button("cmd_sys_rst").click();
  EXPECT_EQ(app.msgbox.shown.size(), 3u);
  EXPECT_TRUE(notice().visible());
  EXPECT_TRUE(app.port.written.empty());
}

TEST_F(ReceiverPageTest, NothingIsSentWhileReading) {
  app.state().reading = true;
  for (const char* name :
       {"cbo_input", "cbo_aspect", "cbo_overscan_h", "cbo_standby", "cbo_baudrate", "cbo_output"}) {
    app.combo(name).choose(1);
    app.combo(name).setSelectedIndex(0);
  }
  app.sched.advance(500);
  EXPECT_TRUE(app.model.lines().empty());
  EXPECT_FALSE(notice().visible());
}

TEST_F(ReceiverPageTest, InputArgumentsFollowTheIdentifiedLayout) {
  app.combo("cbo_input").choose("Vga");
  app.model.setValue("WP_IdentifyTx[", "TX");
  app.button("cmd_ctrl_read").click();
  ASSERT_EQ(app.combo("cbo_input").items(), (V{"Hdmi1", "Hdmi2", "Vga"}));
  app.takeLines();
  app.combo("cbo_input").choose(1);
  app.combo("cbo_input").choose(2);
  EXPECT_EQ(app.takeLines(), (V{"WP_Input[Hdmi2]$\r", "WP_Input[Vga]$\r"}));
}

TEST_F(ReceiverPageTest, ActionButtons) {
  struct Case {
    const char* button;
    const char* line;
  };
  for (const Case& c :
       {Case{"cmd_sys_rst", "WP_SystemRst[Go]$\r"}, Case{"cmd_vga_auto", "WP_VgaAuto[Go]$\r"}}) {
    SCOPED_TRACE(c.button);
    app.model.faults().silent = false;
    app.takeLines();
    app.button(c.button).click();
    EXPECT_EQ(app.takeLines(), V{c.line}) << "sent without asking, nothing re-read";
    EXPECT_FALSE(notice().visible());
    EXPECT_TRUE(app.msgbox.shown.empty());

    app.model.faults().silent = true;
    bool enabled_in_wait = true;
    app.sched.at(app.sched.now64() + 100,
                 [&] { enabled_in_wait = app.button(c.button).enabled(); });
    app.button(c.button).click();
    EXPECT_FALSE(enabled_in_wait);
    EXPECT_TRUE(app.button(c.button).enabled());
    EXPECT_EQ(notice().text(), "Send fail !");
    EXPECT_TRUE(notice().visible());
    app.sched.advance(1000);
    EXPECT_FALSE(notice().visible());
  }
}

}  // namespace
}  // namespace qx
