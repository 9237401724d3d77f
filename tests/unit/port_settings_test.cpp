#include "projector/port_settings.h"

#include <gtest/gtest.h>

#include "fake/fake_app.h"
#include "scripted_receiver.h"

namespace qx {
namespace {

using fake::FakeApp;
using test_support::ScriptedReceiver;
using test_support::written;

TEST(PortSettingsLine, Cases) {
  struct Case {
    std::int32_t baud;
    std::int16_t databits;
    std::string parity;
    float stopbits;
    std::string line;
  };
  const Case cases[] = {
      {115200, 8, "NONE", 1.5f, "WP_DisplaySet[115200,8,N,1.5]$\r"},
      {9600, 8, "NONE", 1.0f, "WP_DisplaySet[9600,8,N,1]$\r"},
      {4800, 7, " odd ", 2.0f, "WP_DisplaySet[4800,7,O,2]$\r"},
      {-1, 5, "", 0.1f, "WP_DisplaySet[-1,5,,0.1]$\r"},
      {2400, 6, "Space", 1.25f, "WP_DisplaySet[2400,6,S,1.25]$\r"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PortSettingsLine(c.baud, c.databits, c.parity, c.stopbits), c.line);
}

TEST(ParsePortArgument, Cases) {
  struct Case {
    std::string arg;
    bool ok;
    std::int32_t baud = 0;
    std::int16_t databits = 0;
    std::optional<std::string> parity;
    std::optional<float> stopbits;
  };
  const Case cases[] = {
      {"9600,7,E,2", true, 9600, 7, "EVEN", 2.0f},
      {"115200,8,N,1.5", true, 115200, 8, "NONE", 1.5f},
      {"57600,5,M,1", true, 57600, 5, "MARK", 1.0f},
      {"9600,8,n,1.0", true, 9600, 8, std::nullopt, std::nullopt},
      {"9600,X,S,1 ", true, 9600, 0, "SPACE", std::nullopt},
      {"9600,", true, 9600, 0, std::nullopt, std::nullopt},
      {" 2.5e3x,8,O,2", true, 2500, 8, "ODD", 2.0f},
      {"2.5,8,N,1", true, 2, 8, "NONE", 1.0f},
      {"3.5,8,N,1", true, 4, 8, "NONE", 1.0f},
      {"abc,8,N,1", true, 0, 8, "NONE", 1.0f},
      {"2147483647,8,N,1", true, 2147483647, 8, "NONE", 1.0f},
      {"-2147483648,8,N,1", true, INT32_MIN, 8, "NONE", 1.0f},
      {"9600", false, 0, 0, std::nullopt, std::nullopt},
      {"", false, 0, 0, std::nullopt, std::nullopt},
      {"2147483648,8,N,1", false, 0, 0, std::nullopt, std::nullopt},
      {"1e400,8,N,1", false, 0, 0, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arg);
    const auto r = ParsePortArgument(c.arg);
    ASSERT_EQ(r.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(r->baud, c.baud);
    EXPECT_EQ(r->databits, c.databits);
    EXPECT_EQ(r->parity, c.parity);
    EXPECT_EQ(r->stopbits, c.stopbits);
  }
}

struct Shown {
  std::string baud, databits, parity, stopbits;
  friend bool operator==(const Shown&, const Shown&) = default;
};

class PortSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { app.start(); }
  Shown shown() {
    return {
        app.combo("cbo_proj_baudrate").selectedText(), app.combo("cbo_proj_databit").selectedText(),
        app.combo("cbo_proj_parity").selectedText(), app.combo("cbo_proj_stopbit").selectedText()};
  }
  // Runs the operation of one of the hidden buttons, as the frame's Send and Read do.
  void runHidden(const std::string& key) {
    auto& b = app.button(key);
    b.setVisible(true);
    b.setEnabled(true);
    b.click();
  }
  FakeApp app;
};

TEST_F(PortSettingsTest, StartsWithTheDefaultsAndChoosingSendsNothing) {
  EXPECT_EQ(shown(), (Shown{"115200", "8", "None", "1.5"}));
  EXPECT_EQ(app.state().proj_stopbits, 1.5f);
  app.combo("cbo_proj_baudrate").choose("9600");
  app.combo("cbo_proj_databit").choose("7");
  app.combo("cbo_proj_parity").choose("Even");
  app.combo("cbo_proj_stopbit").choose("2");
  app.sched.advance(500);
  EXPECT_TRUE(app.port.written.empty());
  const WindowState& s = app.state();
  EXPECT_EQ(s.proj_baud, 9600);
  EXPECT_EQ(s.proj_databits, 7);
  EXPECT_EQ(s.proj_parity, "EVEN");
  EXPECT_EQ(s.proj_stopbits, 2.0f);
  runHidden("cmd_send_port");
  EXPECT_EQ(written(app), "WP_DisplaySet[9600,7,E,2]$\r");
}

TEST_F(PortSettingsTest, ReadTakesTheRecognisedPartsOfTheReply) {
  struct Case {
    std::string reply;
    Shown shown;
    std::int32_t baud;
    bool fails;
  };
  // Each case starts from 115200, 8, None, 1.5.
  const Case cases[] = {
      {"WP_DisplaySet[9600,7,E,2]$\r", {"9600", "7", "Even", "2"}, 9600, false},
      {"WP_DisplaySet[4800,8,N,1]$\r", {"115200", "8", "None", "1"}, 4800, false},
      {"WP_DisplaySet[9600,8,n,1.0]$\r", {"9600", "8", "None", "1.5"}, 9600, false},
      {"WP_DisplaySet[9600]$\r", {"115200", "8", "None", "1.5"}, 115200, true},
      {"WP_DisplaySet[99999999999,7,E,2]$\r", {"115200", "8", "None", "1.5"}, 115200, true},
      {"WP_Aspect[9600,7,E,2]$\r", {"115200", "8", "None", "1.5"}, 115200, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    app.combo("cbo_proj_baudrate").choose("115200");
    app.combo("cbo_proj_databit").choose("8");
    app.combo("cbo_proj_parity").choose("None");
    app.combo("cbo_proj_stopbit").choose("1.5");
    app.label("lab_proj_reply").setVisible(false);
    ScriptedReceiver rx(app);
    rx.answer("WP_DisplaySet[", c.reply);
    runHidden("cmd_read_port");
    EXPECT_EQ(shown(), c.shown);
    EXPECT_EQ(app.state().proj_baud, c.baud);
    EXPECT_EQ(app.label("lab_proj_reply").visible(), c.fails);
    if (c.fails) {
      EXPECT_EQ(app.label("lab_proj_reply").text(), "Read fail !");
    }
  }
}

TEST_F(PortSettingsTest, UnansweredOrClosedLinkShowsTheFailureNotice) {
  ScriptedReceiver rx(app);  // answers nothing
  runHidden("cmd_send_port");
  EXPECT_EQ(app.label("lab_proj_reply").text(), "Send fail !");
  EXPECT_TRUE(app.label("lab_proj_reply").visible());
  app.sched.advance(1100);
  EXPECT_FALSE(app.label("lab_proj_reply").visible()) << "hidden again after a second";

  app.button("cmd_conn_1").click();
  runHidden("cmd_read_port");
  EXPECT_EQ(app.msgbox.texts(), std::vector<std::string>{"RS232 is disconnected !"});
  EXPECT_EQ(app.label("lab_proj_reply").text(), "Read fail !");
}

}  // namespace
}  // namespace qx
