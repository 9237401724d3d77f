#include "projector/display_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "fake/fake_app.h"
#include "scripted_receiver.h"

namespace qx {
namespace {

using fake::FakeApp;
using test_support::ScriptedReceiver;
using test_support::written;

const std::string kPortLine = "WP_DisplaySet[115200,8,N,1.5]$\r";

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.start();
    rx = std::make_unique<ScriptedReceiver>(app);
    rx->answer("WP_DisplaySet[", "WP_DisplaySet[ok]$\r");
    rx->answer("WP_DisplayOn[", "WP_DisplayOn[ok]$\r");
    rx->answer("WP_DisplayOff[", "WP_DisplayOff[ok]$\r");
  }
  void hexForm() { app.option("opt_cmd_fmt_1").click(); }
  void textForm() { app.option("opt_cmd_fmt_0").click(); }
  fake::FakeTextBox& box(const char* which, const char* form) {
    return app.text(std::string("txt_proj_disp_") + which + "_" + form);
  }
  void runHidden(const std::string& key) {
    auto& b = app.button(key);
    b.setVisible(true);
    b.setEnabled(true);
    b.click();
  }
  FakeApp app;
  std::unique_ptr<ScriptedReceiver> rx;
};

TEST_F(DisplayTest, TextFormSendsPortSettingsThenBothCommands) {
  box("on", "text").type("PWR ON");
  app.button("cmd_cr_disp_on").click();
  box("off", "text").type("PWR OFF");
  app.button("cmd_cr_disp_off").click();
  app.button("cmd_proj_send").click();
  const Bytes on_line = {0x57, 0x50, 0x5F, 0x44, 0x69, 0x73, 0x70, 0x6C, 0x61,
                         0x79, 0x4F, 0x6E, 0x5B, 0x37, 0x2C, 0x50, 0x57, 0x52,
                         0x20, 0x4F, 0x4E, 0x0D, 0x5D, 0x24, 0x0D};
  EXPECT_EQ(written(app), kPortLine + std::string(on_line.begin(), on_line.end()) +
                              "WP_DisplayOff[8,PWR OFF\r]$\r");
  EXPECT_TRUE(app.msgbox.shown.empty());
  EXPECT_FALSE(app.label("lab_proj_reply").visible());
  EXPECT_TRUE(app.button("cmd_proj_send").enabled());
  hexForm();
  EXPECT_EQ(box("on", "hex").text(), "50 57 52 20 4F 4E 0D ");
}

TEST_F(DisplayTest, HexFormIsNormalisedAndSentAsRawBytes) {
  hexForm();
  box("on", "hex").type("2 41 d");
  box("off", "hex").type("00   ff");
  app.button("cmd_proj_send").click();
  EXPECT_EQ(box("on", "hex").text(), "02 41 0D ");
  EXPECT_EQ(box("off", "hex").text(), "00 FF ");
  EXPECT_EQ(written(app), kPortLine + std::string("WP_DisplayOn[3,\x02\x41\x0D]$\r") +
                              std::string("WP_DisplayOff[2,\x00\xFF]$\r", 21));
}

TEST_F(DisplayTest, InvalidOrTooLongCommandsBlockTheWholeSend) {
  struct Case {
    const char* name;
    int fmt;
    std::string on, off;
    std::string on_after, off_after;  // hex boxes after the refusal
  };
  const Case cases[] = {
      {"invalid display-off hex is emptied", 1, "50", "GG", "50 ", ""},
      {"a three-digit group", 1, "500", "41", "", "41 "},
      {"both empty", 1, "", "", "", ""},
      {"both empty text", 0, "", "", "", ""},
      {"display-on longer than the line buffer", 1, repeat("1 ", 57), "41", repeat("01 ", 57),
       "41 "},
      {"display-off longer than the line buffer", 1, "41", repeat("1 ", 56), "41 ",
       repeat("01 ", 56)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app.option(c.fmt ? "opt_cmd_fmt_1" : "opt_cmd_fmt_0").click();
    const char* form = c.fmt ? "hex" : "text";
    box("on", form).setText(c.on);
    box("off", form).setText(c.off);
    app.msgbox.shown.clear();
    app.port.written.clear();
    app.button("cmd_proj_send").click();
    ASSERT_EQ(app.msgbox.texts(),
              std::vector<std::string>{"[Display On] or [Display Off] is wrong !"});
    EXPECT_EQ(app.msgbox.shown[0].icon, MsgIcon::Error);
    EXPECT_TRUE(app.port.written.empty()) << "not even the port settings";
    if (c.fmt == 1) {
      EXPECT_EQ(box("on", "hex").text(), c.on_after);
      EXPECT_EQ(box("off", "hex").text(), c.off_after);
    }
  }
}

TEST_F(DisplayTest, LongestCommandsThatFitTheLineBufferAreSentWhole) {
  hexForm();
  box("on", "hex").setText(repeat("41 ", 56));
  box("off", "hex").setText(repeat("42 ", 55));
  app.button("cmd_proj_send").click();
  EXPECT_TRUE(app.msgbox.shown.empty());
  EXPECT_EQ(written(app), kPortLine + "WP_DisplayOn[56," + std::string(56, 'A') + "]$\r" +
                              "WP_DisplayOff[55," + std::string(55, 'B') + "]$\r");
}

TEST_F(DisplayTest, DisplayCommandsGoOutOnlyAfterTheAnsweredPortStep) {
  box("on", "text").type("ON");
  box("off", "text").type("OFF");
  rx->silence("WP_DisplaySet[");
  app.button("cmd_proj_send").click();
  EXPECT_EQ(written(app), kPortLine);
  EXPECT_EQ(app.label("lab_proj_reply").text(), "Send fail !");
  EXPECT_TRUE(app.button("cmd_proj_send").enabled());

  // An unanswered display-on step does not keep display-off from going out.
  rx->answer("WP_DisplaySet[", "WP_DisplaySet[ok]$\r");
  rx->silence("WP_DisplayOn[");
  app.port.written.clear();
  app.button("cmd_proj_send").click();
  EXPECT_EQ(written(app), kPortLine + "WP_DisplayOn[2,ON]$\rWP_DisplayOff[3,OFF]$\r");
  EXPECT_EQ(app.label("lab_proj_reply").text(), "Send fail !");
}

TEST_F(DisplayTest, ReadTakesCommandsFromTheRawBytesAndSendGivesThemBack) {
  // Commands holding a comma, "]$" + CR, 00, FF and the placeholder codes themselves.
  const std::string on_cmd(
      "\x00,]$\r\xff"
      "A",
      7);
  const std::string off_cmd("\x07\x08,", 3);
  rx->answer("WP_DisplaySet[", "WP_DisplaySet[9600,7,E,2]$\r");
  rx->answer("WP_DisplayOn[", "WP_DisplayOn[7," + on_cmd + "]$\r");
  rx->answer("WP_DisplayOff[", "WP_DisplayOff[3," + off_cmd + "]$\r");
  app.button("cmd_proj_read").click();
  EXPECT_FALSE(app.label("lab_proj_reply").visible());
  EXPECT_EQ(app.combo("cbo_proj_baudrate").selectedText(), "9600");
  EXPECT_EQ(box("on", "hex").text(), "00 2C 5D 24 0D FF 41 ");
  EXPECT_EQ(box("on", "text").text(), "\7,]$\10\7A");
  EXPECT_EQ(box("off", "hex").text(), "07 08 2C ");
  EXPECT_EQ(box("off", "text").text(), "\7\7,");
  EXPECT_TRUE(app.button("cmd_proj_read").enabled());

  // Sent back from the text form, the placeholders take the bytes read.
  app.port.written.clear();
  app.button("cmd_proj_send").click();
  EXPECT_EQ(written(app), "WP_DisplaySet[9600,7,E,2]$\rWP_DisplayOn[7," + on_cmd +
                              "]$\rWP_DisplayOff[3," + off_cmd + "]$\r");
}

TEST_F(DisplayTest, ReadReplyCases) {
  struct Case {
    std::string reply;
    bool ok;
    std::string hex, text;  // display-on boxes afterwards
  };
  const Case cases[] = {
      {"WP_DisplayOn[0,]$\r", true, "", ""},
      {"WP_DisplayOn[-3,AB]$\r", true, "", ""},
      {"WP_DisplayOn[ 2.5,AB]$\r", true, "41 42 ", "AB"},
      {"WP_DisplayOn[3,A,B]$\r", true, "41 2C 42 ", "A,B"},
      {"WP_DisplayOn[9,AB]$\r", false, "4F 4C 44 ", "OLD"},
      {"WP_DisplayOn[AB]$\r", false, "4F 4C 44 ", "OLD"},
      {"WP_DisplayOff[2,AB]$\r", false, "4F 4C 44 ", "OLD"},
      // Does not fit the 75-byte store: the command's bytes were not all kept.
      {"WP_DisplayOn[70," + std::string(70, 'A') + "]$\r", false, "4F 4C 44 ", "OLD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    box("on", "hex").setText("4F 4C 44 ");
    box("on", "text").setText("OLD");
    app.label("lab_proj_reply").setVisible(false);
    rx->answer("WP_DisplayOn[", c.reply);
    runHidden("cmd_read_disp_on");
    EXPECT_EQ(box("on", "hex").text(), c.hex);
    EXPECT_EQ(box("on", "text").text(), c.text);
    EXPECT_EQ(app.label("lab_proj_reply").visible(), !c.ok);
  }
}

TEST_F(DisplayTest, FormatSwitchConvertsBothWays) {
  hexForm();
  EXPECT_FALSE(box("on", "text").visible());
  EXPECT_FALSE(app.button("cmd_cr_disp_on").visible());
  EXPECT_TRUE(box("on", "hex").visible());
  box("on", "hex").type("02 50 57 52 0D");
  box("off", "hex").type("zz");
  textForm();
  EXPECT_EQ(box("on", "text").text(), "\7PWR\10");
  EXPECT_EQ(box("off", "text").text(), "");
  EXPECT_EQ(box("on", "hex").text(), "02 50 57 52 0D") << "the hex box keeps its text as typed";
  EXPECT_TRUE(app.button("cmd_cr_disp_on").visible());
  hexForm();
  EXPECT_EQ(box("on", "hex").text(), "02 50 57 52 0D ");
  EXPECT_EQ(app.state().cmd_fmt, 1);
}

TEST_F(DisplayTest, CrButtonAppendsUntilTheStoreIsFull) {
  box("on", "text").type(std::string(60, 'a'));
  EXPECT_EQ(box("on", "text").text().size(), 50u);
  app.button("cmd_cr_disp_on").click();
  EXPECT_EQ(box("on", "text").text(), std::string(50, 'a') + '\10')
      << "appended beyond the typing limit";
  for (int i = 0; i < 80; ++i) app.button("cmd_cr_disp_off").click();
  EXPECT_EQ(box("off", "text").text(), std::string(75, '\10'));
}

// The whole frame against the receiver model: send, change on the receiver, read back, keep
// in a profile.
TEST(ProjectorFrameWithReceiver, SendReadBackAndKeepInAProfile) {
  FakeApp app;
  app.start();
  app.combo("cbo_proj_baudrate").choose("19200");
  app.combo("cbo_proj_databit").choose("7");
  app.combo("cbo_proj_parity").choose("Odd");
  app.combo("cbo_proj_stopbit").choose("2");
  app.text("txt_proj_disp_on_text").type("PWR ON");
  app.button("cmd_cr_disp_on").click();
  app.option("opt_cmd_fmt_1").click();
  app.text("txt_proj_disp_off_hex").type("0 5d 24 d ff");
  app.button("cmd_proj_send").click();
  EXPECT_FALSE(app.label("lab_proj_reply").visible());
  EXPECT_EQ(app.model.value("WP_DisplaySet["), "19200,7,O,2");
  EXPECT_EQ(app.model.value("WP_DisplayOn["), "PWR ON\r");
  EXPECT_EQ(app.model.value("WP_DisplayOff["), std::string("\x00]$\r\xff", 5));

  app.model.setValue("WP_DisplaySet[", "38400,6,M,1");
  app.model.setValue("WP_DisplayOn[", std::string("\x02"
                                                  "A,\r",
                                                  4));
  app.button("cmd_proj_read").click();
  EXPECT_FALSE(app.label("lab_proj_reply").visible());
  EXPECT_EQ(app.combo("cbo_proj_baudrate").selectedText(), "38400");
  EXPECT_EQ(app.combo("cbo_proj_parity").selectedText(), "Mark");
  EXPECT_EQ(app.text("txt_proj_disp_on_hex").text(), "02 41 2C 0D ");
  EXPECT_EQ(app.text("txt_proj_disp_on_text").text(), "\7A,\10");
  EXPECT_EQ(app.text("txt_proj_disp_off_hex").text(), "00 5D 24 0D FF ");

  const std::string profile = app.files.path("proj.ini");
  app.dialog.results.push_back(profile);
  app.button("cmd_save").click();
  EXPECT_EQ(app.files.read("proj.ini"),
            "38400\r\n6\r\n\"MARK\"\r\n1\r\n\"02 41 2C 0D \"\r\n\"00 5D 24 0D FF \"\r\n");
  app.text("txt_proj_disp_on_hex").setText("");
  app.combo("cbo_proj_baudrate").choose("2400");
  app.dialog.results.push_back(profile);
  app.button("cmd_load").click();
  EXPECT_EQ(app.combo("cbo_proj_baudrate").selectedText(), "38400");
  EXPECT_EQ(app.text("txt_proj_disp_on_hex").text(), "02 41 2C 0D ");

  // Sent again from the text form, the receiver gets the bytes it held.
  app.option("opt_cmd_fmt_0").click();
  app.model.setValue("WP_DisplayOn[", "");
  app.button("cmd_proj_send").click();
  EXPECT_EQ(app.model.value("WP_DisplayOn["), std::string("\x02"
                                                          "A,\r",
                                                          4));
  EXPECT_EQ(app.model.value("WP_DisplayOff["), std::string("\x00]$\r\xff", 5));
}

}  // namespace
}  // namespace qx
