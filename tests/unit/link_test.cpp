#include <gtest/gtest.h>

#include "fake/fake_app.h"

namespace qx {
namespace {

using fake::FakeApp;

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override { app.start(); }
  // The receiver stays silent; the test supplies the far end's bytes itself.
  void scriptReply(const std::vector<std::pair<std::uint32_t, std::string>>& pieces) {
    app.model.faults().silent = true;
    for (const auto& [delay, text] : pieces) app.port.inject(bytes(text), delay);
  }
  FakeApp app;
  Link& link() { return app.link(); }
};

TEST_F(LinkTest, StartUpOpensComOneAndLightsConnect) {
  EXPECT_TRUE(link().link_open);
  EXPECT_EQ(app.port.opened_port, 1);
  EXPECT_EQ(app.port.settings, "115200,N,8,1");
  EXPECT_EQ(app.button("cmd_conn_0").backColor(), colors::kGreen);
  EXPECT_EQ(app.button("cmd_conn_1").backColor(), colors::kLightGrey);
  EXPECT_TRUE(app.timer("tim_rx").running());
  EXPECT_TRUE(app.msgbox.shown.empty());
  EXPECT_TRUE(app.port.written.empty()) << "start-up sends nothing";
}

TEST_F(LinkTest, ChoosingAMissingPortReportsItAndClosesTheLink) {
  app.combo("cbo_com").choose("COM2:");
  EXPECT_EQ(link().com_port, 2);
  ASSERT_EQ(app.msgbox.shown.size(), 1u);
  EXPECT_EQ(app.msgbox.shown[0].text, "RS-232 port error on COM 2: !");
  EXPECT_EQ(app.msgbox.shown[0].icon, MsgIcon::None);
  EXPECT_NE(app.msgbox.shown[0].detail.find("/dev/ttyS1"), std::string::npos);
  EXPECT_FALSE(link().link_open);
  EXPECT_EQ(app.button("cmd_conn_0").backColor(), colors::kLightGrey);
  EXPECT_EQ(app.button("cmd_conn_1").backColor(), colors::kRed);
  EXPECT_FALSE(app.timer("tim_rx").running());
}

TEST_F(LinkTest, PortErrorsNameTheDeviceTheCauseAndTheRemedyInTheBoxAndOnStandardError) {
  struct Case {
    const char* name;
    int port;
    std::vector<std::string> words;  // in the details
  };
  app.port.present = {1, 3, 4};
  app.port.busy = {3};
  app.port.denied = {4};
  const std::string link = app.files.stateDir() + "/COM2";
  const Case cases[] = {
      {"missing",
       2,
       {"Device: /dev/ttyS1\n", "does not exist", "ln -sf /dev/ttyUSB0 " + link,
        "/dev/serial/by-id/"}},
      {"busy", 3, {"Device: /dev/ttyS2\n", "busy", "another program holds /dev/ttyS2 open"}},
      {"permission denied",
       4,
       {"Device: /dev/ttyS3\n", "permission denied", "dialout", "log in again"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app.msgbox.shown.clear();
    testing::internal::CaptureStderr();
    app.combo("cbo_com").choose(c.port - 1);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(app.msgbox.shown.size(), 1u);
    const auto& box = app.msgbox.shown[0];
    EXPECT_EQ(box.text, "RS-232 port error on COM " + std::to_string(c.port) + ": !");
    for (const auto& w : c.words) EXPECT_NE(box.detail.find(w), std::string::npos) << w;
    EXPECT_EQ(err, box.text + "\n" + box.detail + "\n");
  }
}

TEST(PortErrorText, NumberCarriesOneLeadingBlankOrItsSign) {
  EXPECT_EQ(PortErrorText(3), "RS-232 port error on COM 3: !");
  EXPECT_EQ(PortErrorText(-1), "RS-232 port error on COM-1: !");
}

TEST_F(LinkTest, ConnectAndDisconnect) {
  // Disconnect of an open link.
  app.button("cmd_conn_1").click();
  EXPECT_FALSE(link().link_open);
  EXPECT_FALSE(app.port.isOpen());
  EXPECT_EQ(app.button("cmd_conn_1").backColor(), colors::kRed);
  EXPECT_TRUE(app.timer("tim_rx").running()) << "the poll keeps running and finds nothing";
  // Disconnect while closed does nothing.
  app.button("cmd_conn_1").setBackColor(colors::kWhite);
  app.button("cmd_conn_1").click();
  EXPECT_EQ(app.button("cmd_conn_1").backColor(), colors::kWhite);
  // Connect reopens; Connect while open closes and reopens the same port.
  app.button("cmd_conn_0").click();
  app.button("cmd_conn_0").click();
  EXPECT_TRUE(link().link_open);
  EXPECT_EQ(app.port.opens, 3);
  EXPECT_EQ(app.port.opened_port, 1);
}

TEST_F(LinkTest, WaitedTransactionCollectsTheFramedReply) {
  link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_TRUE(link().reply_done);
  EXPECT_EQ(link().reply_text, "WP_Aspect[Full]$\r");
  EXPECT_EQ(app.port.written, bytes("WP_Aspect[Full]$\r"));
  EXPECT_FALSE(link().await_reply);
  EXPECT_EQ(link().byte_buf[0], 'W');
  EXPECT_EQ(link().byte_len, 17);
}

TEST_F(LinkTest, ReplyFramingCases) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::uint32_t, std::string>> pieces;
    bool done;
    std::string reply;
  };
  const Case cases[] = {
      {"bytes before the reply belong to it", {{5, "xyWP_A[1]$\r"}}, true, "xyWP_A[1]$\r"},
      {"terminator split across ticks", {{5, "WP_A[1]$"}, {150, "\r"}}, true, "WP_A[1]$\r"},
      {"bytes after the terminator in the same batch", {{5, "WP_A[1]$\rzz"}}, true, "WP_A[1]$\rzz"},
      {"a second ] does not restart the match", {{5, "WP_A[1]]$\r"}}, false, ""},
      {"doubled $", {{5, "WP_A[1]$$\r"}}, false, ""},
      {"line feed before the carriage return", {{5, "WP_A[1]$\n\r"}}, false, ""},
      {"reply after the wait ended", {{400, "WP_A[1]$\r"}}, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    link().reply_text = "old";
    scriptReply(c.pieces);
    link().SendCommand("WP_A[?]$\r");
    EXPECT_EQ(link().reply_done, c.done);
    if (c.done) {
      EXPECT_EQ(link().reply_text, c.reply);
    }
    app.sched.advance(1000);  // let late bytes arrive and be dropped
  }
}

TEST_F(LinkTest, SilentReceiverEndsTheWaitAfter151Rounds) {
  app.model.faults().silent = true;
  const auto t0 = app.sched.now64();
  link().SendCommand("WP_Display[Off]$\r");
  EXPECT_FALSE(link().reply_done);
  // 151 rounds of Delay(0.001), each ending at the first reading 2 ms past its start.
  EXPECT_EQ(app.sched.now64() - t0, 302u);
}

TEST_F(LinkTest, ClosedLinkSendsNothingAndSaysSo) {
  link().SendCommand("WP_Aspect[Full]$\r");
  ASSERT_TRUE(link().reply_done);
  app.button("cmd_conn_1").click();
  app.port.written.clear();
  link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_FALSE(link().reply_done) << "cleared even though the last transaction set it";
  link().SendCommandNoWait("WP_OverscanH[3]$\r");
  EXPECT_TRUE(app.port.written.empty());
  EXPECT_EQ(app.msgbox.texts(),
            (std::vector<std::string>{"RS232 is disconnected !", "RS232 is disconnected !"}));
  EXPECT_EQ(app.msgbox.shown[0].icon, MsgIcon::Error);
}

TEST_F(LinkTest, NoWaitAnswerIsDropped) {
  link().SendCommand("WP_Aspect[Full]$\r");
  ASSERT_TRUE(link().reply_done);
  link().SendCommandNoWait("WP_OverscanH[3]$\r");
  app.sched.advance(500);
  EXPECT_EQ(app.model.lines().back(), "WP_OverscanH[3]$\r");
  EXPECT_TRUE(link().rx_text.empty());
  EXPECT_EQ(link().byte_len, 0);
  EXPECT_TRUE(link().reply_done) << "left as the waited transaction set it";
  EXPECT_EQ(link().rx_count, 34u) << "counted on top of the waited reply";
}

TEST_F(LinkTest, SendBytesSendsTheStoreAndCollectsRawReplyBytes) {
  const std::string line = std::string("WP_DisplayOn[3,\x00\xff\r]$\r", 21);
  std::copy(line.begin(), line.end(), link().byte_buf.begin());
  link().byte_len = static_cast<std::int16_t>(line.size());
  scriptReply({{5, std::string("WP_DisplayOn[1,\x00]$\r", 19)}});
  link().SendBytes();
  EXPECT_EQ(app.port.written, bytes(line));
  ASSERT_TRUE(link().reply_done);
  EXPECT_EQ(link().byte_len, 19);
  EXPECT_EQ(link().byte_buf[15], 0x00);
}

TEST_F(LinkTest, ByteStoreNeverOverruns) {
  std::string longReply = "WP_Info[" + std::string(100, 'x') + "]$\r";
  scriptReply({{5, longReply}});
  link().SendCommand("WP_Info[?]$\r");
  ASSERT_TRUE(link().reply_done);
  EXPECT_EQ(link().reply_text, longReply) << "the reply text keeps everything";
  EXPECT_EQ(link().byte_len, 75);
  EXPECT_EQ(link().byte_buf[74], 'x');
}

TEST_F(LinkTest, DelayEndsStrictlyAfterTheTimeOnAWholeMillisecondClock) {
  for (float s : {0.001f, 0.05f, 0.1f, 0.15f}) {
    const auto t0 = app.sched.now64();
    link().Delay(s);
    EXPECT_EQ(app.sched.now64() - t0, static_cast<std::uint64_t>(s * 1000.0f + 0.5f) + 1) << s;
    EXPECT_FALSE(link().delay_active);
  }
}

TEST(LinkClockWrap, DelaySpanningTheWrapOfTheMillisecondClock) {
  for (std::uint64_t start : {(1ull << 32) - 20, (1ull << 31) - 20}) {
    FakeApp app(start);
    app.start();
    const auto t0 = app.sched.now64();
    app.link().Delay(0.05f);
    EXPECT_EQ(app.sched.now64() - t0, 51u) << start;
  }
}

TEST_F(LinkTest, DelayPumpsEventsAndSetsDelayActive) {
  bool seen_active = false;
  app.sched.at(app.sched.now64() + 10, [&] { seen_active = link().delay_active; });
  link().Delay(0.1f);
  EXPECT_TRUE(seen_active);
}

TEST_F(LinkTest, LogPaneClearingRules) {
  // Auto-clear: a batch arriving above 300 counted characters empties the pane first.
  app.check("chk_auto").click();
  EXPECT_EQ(link().auto_clear, 1);
  app.text("txt_rx").setText("old traffic");
  link().rx_count = 301;
  app.port.inject(bytes("abc"));
  app.sched.advance(150);
  EXPECT_EQ(app.text("txt_rx").text(), "");
  EXPECT_EQ(link().rx_count, 3u);
  // Without auto-clear the pane is emptied when the count passes 65530.
  app.check("chk_auto").click();
  EXPECT_EQ(link().auto_clear, 0);
  app.text("txt_rx").setText("old traffic");
  link().rx_count = 0;
  app.port.inject(Bytes(65531, 'z'));
  app.sched.advance(150);
  EXPECT_EQ(link().rx_count, 0u);
  EXPECT_EQ(app.text("txt_rx").text(), "");
  // The clear button.
  link().rx_count = 9;
  app.button("cmd_clear").click();
  EXPECT_EQ(link().rx_count, 0u);
}

TEST_F(LinkTest, SendDuringAWaitedTransactionIsRefused) {
  app.model.faults().latency_ms = 150;
  bool inner_done = true;
  app.sched.at(app.sched.now64() + 20, [&] {
    link().SendCommand("WP_Display[On]$\r");
    inner_done = link().reply_done;
    link().SendCommandNoWait("WP_KeyMenu[]$\r");
  });
  link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_FALSE(inner_done);
  EXPECT_TRUE(link().reply_done) << "the outer transaction is not disturbed";
  EXPECT_EQ(link().reply_text, "WP_Aspect[Full]$\r");
  EXPECT_EQ(app.port.written, bytes("WP_Aspect[Full]$\r"));
}

TEST_F(LinkTest, StuckOutputEndsTheTransactionUnsent) {
  app.port.stuck = true;
  link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_FALSE(link().reply_done);
  EXPECT_FALSE(link().await_reply);
  EXPECT_TRUE(app.port.written.empty());
}

TEST_F(LinkTest, VanishedPortClosesTheLink) {
  app.sched.at(app.sched.now64() + 50, [&] { app.port.hangUp(); });
  link().SendCommand("WP_Aspect[Full]$\r");  // the far end goes away during the wait
  EXPECT_FALSE(link().reply_done);
  EXPECT_FALSE(link().link_open);
  EXPECT_EQ(app.button("cmd_conn_1").backColor(), colors::kRed);
  link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_EQ(app.msgbox.texts(), std::vector<std::string>{"RS232 is disconnected !"});
}

TEST_F(LinkTest, FailureNoticeHidesAfterOneSecond) {
  auto& notice = app.label("lab_ctrl_reply");
  link().ShowNotice(notice, "Send fail !");
  EXPECT_TRUE(notice.visible());
  EXPECT_EQ(notice.text(), "Send fail !");
  app.sched.advance(999);
  EXPECT_TRUE(notice.visible());
  app.sched.advance(2);
  EXPECT_FALSE(notice.visible());
  EXPECT_FALSE(app.timer("tim_fail").running());
}

}  // namespace
}  // namespace qx
