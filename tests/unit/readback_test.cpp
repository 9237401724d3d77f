#include "receiver/readback.h"

#include <gtest/gtest.h>

#include "receiver/picture_page.h"
#include "receiver/vocabulary.h"
#include "receiver_read_queries.h"
#include "receiver_test_support.h"

namespace qx {
namespace {

using fake::FakeApp;
using testing_support::answering;
using testing_support::kReadQueries;
using testing_support::ScriptedReceiver;
using testing_support::wordOf;
using V = std::vector<std::string>;

// A receiver whose every readable word has a value off the lists' first entries.
const std::map<std::string, std::string> kReceiver = {
    {"WP_IdentifyTx[", "TX"}, {"WP_Aspect[", "16:9"},    {"WP_Info[", "RX 1.02 "},
    {"WP_Output[", "3"},      {"WP_OverscanEn[", "No"},  {"WP_OverscanH[", "12"},
    {"WP_OverscanV[", "7"},   {"WP_AudioEn[", "Off"},    {"WP_AudioHdmi[", "Off"},
    {"WP_AudioLR[", "Off"},   {"WP_AutoOff[", "300"},    {"WP_DisplayMode[", "AVSW"},
    {"WP_Display[", "Off"},   {"WP_Input[", "Hdmi2"},    {"WP_HdcpInput[", "Auto"},
    {"WP_InputPrefer[", "2"}, {"WP_InfoTx[", "TX 2.10"}, {"WP_BaudrateTx[", "115200"}};

class ReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.files.write("auto_off.txt", "Off\r\n60\r\n120\r\n300\r\nEND\r\n");
    app.files.write("input_prefer.txt", "720p\r\n1080i\r\n1080p\r\nEND\r\n");
    app.files.write("output_reso.txt", "720p\r\n1080i\r\n1080p\r\n1366x768\r\nEND\r\n");
    app.start();
    app.label("lab_title_zenk").click();
  }
  // What the page shows, list by list (selected entry text) and label by label.
  std::map<std::string, std::string> page() {
    std::map<std::string, std::string> v;
    for (const char* l :
         {"cbo_input", "cbo_in_prefer", "cbo_output", "cbo_aspect", "cbo_disp_mode", "cbo_display",
          "cbo_hdcp_in", "cbo_standby", "cbo_overscan_en", "cbo_overscan_h", "cbo_overscan_v",
          "cbo_audio_en", "cbo_audio_hdmi", "cbo_audio_lr", "cbo_baudrate"})
      v[l] = app.combo(l).selectedText();
    v["lab_fw_ver_rx"] = app.label("lab_fw_ver_rx").text();
    v["lab_fw_ver_tx"] = app.label("lab_fw_ver_tx").text();
    return v;
  }
  fake::FakeLabel& notice() { return app.label("lab_ctrl_reply"); }
  void expectIdle() {
    EXPECT_FALSE(app.state().reading);
    EXPECT_TRUE(app.button("cmd_ctrl_read").enabled());
  }
  FakeApp app;
};

const std::map<std::string, std::string> kFullPage = {
    {"cbo_input", "Hdmi2"},        {"cbo_in_prefer", "1080p"},  {"cbo_output", "1366x768"},
    {"cbo_aspect", "16:9 TV"},     {"cbo_disp_mode", "AV SW"},  {"cbo_display", "Off"},
    {"cbo_hdcp_in", "Auto"},       {"cbo_standby", "300"},      {"cbo_overscan_en", "No"},
    {"cbo_overscan_h", "12"},      {"cbo_overscan_v", "7"},     {"cbo_audio_en", "Off"},
    {"cbo_audio_hdmi", "Off"},     {"cbo_audio_lr", "Off"},     {"cbo_baudrate", "115200"},
    {"lab_fw_ver_rx", "RX 1.02 "}, {"lab_fw_ver_tx", "TX 2.10"}};

TEST_F(ReadBackTest, ReadFillsThePageFromTheModelAndSendsNothingBack) {
  for (const auto& [word, value] : kReceiver) app.model.setValue(word, value);
  bool reading_in_read = false, button_in_read = true;
  app.sched.at(app.sched.now64() + 400, [&] {
    reading_in_read = app.state().reading;
    button_in_read = app.button("cmd_ctrl_read").enabled();
  });
  const auto t0 = app.sched.now64();
  app.button("cmd_ctrl_read").click();
  EXPECT_EQ(app.model.lines(), kReadQueries);
  EXPECT_EQ(page(), kFullPage);
  EXPECT_EQ(app.combo("cbo_input").items(), (V{"Hdmi1", "Hdmi2", "Vga"}));
  EXPECT_EQ(app.state().single_hdmi, 0);
  EXPECT_TRUE(reading_in_read);
  EXPECT_FALSE(button_in_read);
  expectIdle();
  EXPECT_FALSE(notice().visible());
  EXPECT_GE(app.sched.now64() - t0, 18u * 51u) << "each query is followed by its pause";
  app.sched.advance(2000);
  EXPECT_EQ(app.model.lines().size(), kReadQueries.size()) << "nothing sent afterwards either";
}

TEST_F(ReadBackTest, IdentifyChoosesTheInputLayoutBeforeTheInputIsRead) {
  struct Case {
    std::string identify, input;
    V items;
    int selected;
  };
  const Case cases[] = {
      {"TX", "Hdmi2", {"Hdmi1", "Hdmi2", "Vga"}, 1},
      {"RX", "Hdmi1", {"Hdmi", "Vga"}, -1},
      {"", "Vga", {"Hdmi", "Vga"}, 1},
      {"tx", "Hdmi2", {"Hdmi", "Vga"}, -1},
      {"TX", "Hdmi", {"Hdmi1", "Hdmi2", "Vga"}, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.identify + " / " + c.input);
    app.combo("cbo_input").choose(0);  // a selection the rebuilt list forgets
    app.model.setValue("WP_IdentifyTx[", c.identify);
    app.model.setValue("WP_Input[", c.input);
    app.takeLines();
    app.button("cmd_ctrl_read").click();
    EXPECT_EQ(app.combo("cbo_input").items(), c.items);
    EXPECT_EQ(app.combo("cbo_input").selectedIndex(), c.selected);
    EXPECT_EQ(app.takeLines(), kReadQueries);
  }
}

TEST(ReadBackScripted, ReadStopsAtTheFirstFailingQuery) {
  struct Case {
    const char* name;
    std::optional<std::string> output_reply;  // the answer to "WP_Output[?]$"
  };
  const Case cases[] = {
      {"no answer", std::nullopt},
      {"another word's reply", "WP_Aspect[16:9]$\r"},
      {"lower-case word", "wp_Output[1]$\r"},
      {"bytes before the word", "xWP_Output[1]$\r"},
      {"the query echoed", "WP_Output[?]$\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeApp app;
    app.files.write("output_reso.txt", "720p\r\n1080i\r\nEND\r\n");
    app.start();
    app.label("lab_title_zenk").click();
    app.state().reading = true;  // the page before the read
    app.combo("cbo_display").setSelectedIndex(0);
    app.state().reading = false;
    ScriptedReceiver rx(app, [&](const std::string& line) -> std::optional<std::string> {
      if (wordOf(line) == "WP_Output[") return c.output_reply;
      return answering(kReceiver)(line);
    });
    app.button("cmd_ctrl_read").click();
    EXPECT_EQ(rx.lines(), V(kReadQueries.begin(), kReadQueries.begin() + 4));
    // Identify, aspect and firmware are read; the rest keep what they showed.
    EXPECT_EQ(app.combo("cbo_input").items(), (V{"Hdmi1", "Hdmi2", "Vga"}));
    EXPECT_EQ(app.combo("cbo_aspect").selectedText(), "16:9 TV");
    EXPECT_EQ(app.label("lab_fw_ver_rx").text(), "RX 1.02 ");
    EXPECT_EQ(app.combo("cbo_output").selectedIndex(), -1);
    EXPECT_EQ(app.combo("cbo_display").selectedText(), "On");
    EXPECT_EQ(app.label("lab_fw_ver_tx").text(), "");
    EXPECT_FALSE(app.state().reading);
    EXPECT_TRUE(app.button("cmd_ctrl_read").enabled());
    auto& notice = app.label("lab_ctrl_reply");
    EXPECT_TRUE(notice.visible());
    EXPECT_EQ(notice.text(), "Read fail !");
    app.sched.advance(1000);
    EXPECT_FALSE(notice.visible());
  }
}

TEST_F(ReadBackTest, ReadWithTheLinkClosedFailsAtOnce) {
  app.button("cmd_conn_1").click();
  app.button("cmd_ctrl_read").click();
  EXPECT_EQ(app.msgbox.texts(), V{"RS232 is disconnected !"});
  EXPECT_EQ(notice().text(), "Read fail !");
  EXPECT_TRUE(notice().visible());
  expectIdle();
}

TEST_F(ReadBackTest, ApplyReadbackTurnsValuesIntoSelections) {
  PageContext ctx{*app.form, app.services, app.link(), app.state()};
  ReadBack rb(ctx);
  struct Case {
    int n;
    const char* list;
    int before;
    std::string value;
    int after;
  };
  const Case cases[] = {
      {ctrl::kAspect, "cbo_aspect", 0, "16:9", 1},
      {ctrl::kAspect, "cbo_aspect", 0, "16:9 ", 0},  // no trimming: no change
      {ctrl::kAspect, "cbo_aspect", 2, "Keep Ratio", 2},
      {ctrl::kAudioEn, "cbo_audio_en", 1, "on", 1},
      {ctrl::kDisplay, "cbo_display", 0, "Off", 1},
      {ctrl::kOverscanEn, "cbo_overscan_en", -1, "Yes", 0},
      {ctrl::kDisplayMode, "cbo_disp_mode", -1, "DispSWAVSW", 1},
      {ctrl::kHdcpInput, "cbo_hdcp_in", -1, "HDCP", 0},
      {ctrl::kBaudrateTx, "cbo_baudrate", 0, "115200", 1},
      {ctrl::kBaudrateTx, "cbo_baudrate", 1, "19200", 1},
      // Number table: lenient, rounded half to even; outside the list no change, -1 clears.
      {ctrl::kOverscanH, "cbo_overscan_h", 5, "12", 12},
      {ctrl::kOverscanH, "cbo_overscan_h", 5, " 2.5", 2},
      {ctrl::kOverscanH, "cbo_overscan_h", 5, "3.5", 4},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "abc", 0},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "", 0},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "50", 50},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "51", 5},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "1e99", 5},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "-1", -1},
      {ctrl::kOverscanV, "cbo_overscan_v", 5, "-2", 5},
      {ctrl::kOutput, "cbo_output", 0, "3", 3},
      {ctrl::kOutput, "cbo_output", 0, "4", 0},  // beyond the file's last item
      {ctrl::kInputPrefer, "cbo_in_prefer", -1, "1", 1},
      // Auto off: "0" is entry 0 whatever its text, else the first entry equal to the value.
      {ctrl::kAutoOff, "cbo_standby", 2, "0", 0},
      {ctrl::kAutoOff, "cbo_standby", 0, "300", 3},
      {ctrl::kAutoOff, "cbo_standby", 1, "Off", 0},
      {ctrl::kAutoOff, "cbo_standby", 1, "301", 1},
      {ctrl::kAutoOff, "cbo_standby", 1, " 300", 1},
      // The projector controls' words.
      {ctrl::kProjSW, "cbo_projsw", 0, "7", 1},
      {ctrl::kProjSW, "cbo_projsw", 0, "12", 2},
      {ctrl::kProjSW, "cbo_projsw", 0, "300", 60},
      {ctrl::kProjSW, "cbo_projsw", 3, "305", 3},
      {ctrl::kAutoDispOn, "cbo_auto_on", 1, "On", 0},
      {ctrl::kAutoDispOn, "cbo_auto_on", 1, "on", 1},
      {ctrl::kAutoDispOff, "cbo_auto_off", -1, "Off", 1},
      // Action words and numbers outside 1..23 change nothing.
      {ctrl::kVgaAuto, "cbo_aspect", 3, "16:9", 3},
      {ctrl::kSystemRst, "cbo_aspect", 3, "16:9", 3},
      {0, "cbo_aspect", 3, "16:9", 3},
      {24, "cbo_auto_off", 1, "On", 1},
  };
  app.state().reading = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.n) + " \"" + c.value + "\"");
    app.combo(c.list).setSelectedIndex(c.before);
    app.link().reply_text = c.value;
    rb.ApplyReadback(c.n);
    EXPECT_EQ(app.combo(c.list).selectedIndex(), c.after);
  }
  app.state().reading = false;
  EXPECT_TRUE(app.model.lines().empty());
}

TEST_F(ReadBackTest, ApplyReadbackSetsFirmwareLabelsAsTheyCome) {
  PageContext ctx{*app.form, app.services, app.link(), app.state()};
  ReadBack rb(ctx);
  app.link().reply_text = " v1.0 ";
  rb.ApplyReadback(ctrl::kInfo);
  app.link().reply_text = "";
  rb.ApplyReadback(ctrl::kInfoTx);
  EXPECT_EQ(app.label("lab_fw_ver_rx").text(), " v1.0 ");
  EXPECT_EQ(app.label("lab_fw_ver_tx").text(), "");
}

TEST_F(ReadBackTest, GetFillsFirmwareAndSendsTheBaudRateBack) {
  for (const auto& [word, value] : kReceiver) app.model.setValue(word, value);
  app.label("lab_fw_ver_rx").setText("old");
  app.button("cmd_info").click();
  EXPECT_EQ(app.model.lines(), (V{"WP_Info[?]$\r", "WP_InfoTx[?]$\r", "WP_BaudrateTx[?]$\r",
                                  "WP_BaudrateTx[115200]$\r"}));
  EXPECT_EQ(app.label("lab_fw_ver_rx").text(), "RX 1.02 ");
  EXPECT_EQ(app.label("lab_fw_ver_tx").text(), "TX 2.10");
  EXPECT_EQ(app.combo("cbo_baudrate").selectedText(), "115200");
  EXPECT_TRUE(app.button("cmd_info").enabled());
  EXPECT_FALSE(notice().visible());
  EXPECT_FALSE(app.state().reading);
}

TEST(ReadBackScripted, GetFailures) {
  using Replies = std::map<std::string, std::optional<std::string>>;
  struct Case {
    const char* name;
    Replies replies;  // by word; a word not listed answers as kReceiver says
    V lines;
    std::string rx, tx, baud;
    bool notice;
  };
  const V all = {"WP_Info[?]$\r", "WP_InfoTx[?]$\r", "WP_BaudrateTx[?]$\r"};
  const Case cases[] = {
      {"baud rate unanswered",
       {{"WP_BaudrateTx[", std::nullopt}},
       all,
       "RX 1.02 ",
       "TX 2.10",
       "",
       true},
      {"TX firmware unanswered: no baud-rate query",
       {{"WP_InfoTx[", std::nullopt}},
       {"WP_Info[?]$\r", "WP_InfoTx[?]$\r"},
       "RX 1.02 ",
       "",
       "",
       true},
      {"RX firmware unanswered: Get goes on",
       {{"WP_Info[", std::nullopt}, {"WP_BaudrateTx[", "WP_BaudrateTx[9600]$\r"}},
       {"WP_Info[?]$\r", "WP_InfoTx[?]$\r", "WP_BaudrateTx[?]$\r", "WP_BaudrateTx[9600]$\r"},
       "",
       "TX 2.10",
       "9600",
       true},
      {"replies cut by length alone, short ones give empty labels",
       {{"WP_Info[", "X]$\r"},
        {"WP_InfoTx[", "WP_Aspect[1.0]$\r"},
        {"WP_BaudrateTx[", "WP_BaudrateTx[19200]$\r"}},
       all,
       "",
       "1.0",
       "",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeApp app;
    app.start();
    app.label("lab_title_zenk").click();
    ScriptedReceiver rx(app, [&](const std::string& line) -> std::optional<std::string> {
      auto it = c.replies.find(testing_support::wordOf(line));
      if (it != c.replies.end() && line.find("[?]") != std::string::npos) return it->second;
      return answering(kReceiver)(line);
    });
    app.button("cmd_info").click();
    EXPECT_EQ(rx.lines(), c.lines);
    EXPECT_EQ(app.label("lab_fw_ver_rx").text(), c.rx);
    EXPECT_EQ(app.label("lab_fw_ver_tx").text(), c.tx);
    EXPECT_EQ(app.combo("cbo_baudrate").selectedText(), c.baud);
    EXPECT_EQ(app.label("lab_ctrl_reply").visible(), c.notice);
    if (c.notice) {
      EXPECT_EQ(app.label("lab_ctrl_reply").text(), "Send fail !");
    }
    EXPECT_TRUE(app.button("cmd_info").enabled());
  }
}

TEST_F(ReadBackTest, NoSecondReadBackLoopStartsWhileOneRuns) {
  for (const auto& [word, value] : kReceiver) app.model.setValue(word, value);
  // While the receiver Read runs, the user starts the picture Read and picks an aspect.
  bool reading_after_nested = false;
  app.sched.at(app.sched.now64() + 250, [&] {
    app.button("cmd_pic_read").click();
    reading_after_nested = app.state().reading;
    app.combo("cbo_aspect").choose("4:3 TV");
  });
  app.button("cmd_ctrl_read").click();
  EXPECT_TRUE(reading_after_nested) << "the nested loop must not lower the flag";
  EXPECT_EQ(app.model.lines(), kReadQueries) << "no picture query, nothing sent back";
  EXPECT_EQ(page(), kFullPage);
  expectIdle();
  EXPECT_TRUE(app.button("cmd_pic_read").enabled());
  // Each loop starts again once none runs.
  app.takeLines();
  app.button("cmd_pic_read").click();
  EXPECT_EQ(app.takeLines().size(), 5u);
}

TEST(ReadingScope, RaisesOnceAndLowersOnlyWhatItRaised) {
  WindowState s;
  {
    ReadingScope outer(s);
    EXPECT_TRUE(outer.started());
    EXPECT_TRUE(s.reading);
    {
      ReadingScope inner(s);
      EXPECT_FALSE(inner.started());
    }
    EXPECT_TRUE(s.reading);
  }
  EXPECT_FALSE(s.reading);
}

}  // namespace
}  // namespace qx
