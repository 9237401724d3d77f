#include "receiver/vocabulary.h"

#include <gtest/gtest.h>

#include "platform/lenient_number.h"
#include "shell/layout_table.h"

namespace qx {
namespace {

TEST(Vocabulary, WordTablesAreNumberedFromOne) {
  const std::vector<std::string> ctrl = {
      "WP_IdentifyTx[", "WP_Aspect[",     "WP_VgaAuto[",     "WP_Info[",        "WP_Output[",
      "WP_OverscanEn[", "WP_OverscanH[",  "WP_OverscanV[",   "WP_AudioEn[",     "WP_AudioHdmi[",
      "WP_AudioLR[",    "WP_SystemRst[",  "WP_AutoOff[",     "WP_DisplayMode[", "WP_Display[",
      "WP_Input[",      "WP_HdcpInput[",  "WP_InputPrefer[", "WP_InfoTx[",      "WP_BaudrateTx[",
      "WP_ProjSW[",     "WP_AutoDispOn[", "WP_AutoDispOff["};
  for (int n = 1; n <= 23; ++n) EXPECT_EQ(CtrlWord(n), ctrl[static_cast<std::size_t>(n - 1)]) << n;
  const std::vector<std::string> pics = {"WP_PictureBri[", "WP_PictureCon[", "WP_PictureSat[",
                                         "WP_PictureHue[", "WP_PictureSha[", "WP_PictureRst["};
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(PicWord(n), pics[static_cast<std::size_t>(n - 1)]) << n;
  for (int n : {0, 24, -1}) EXPECT_EQ(CtrlWord(n), "") << n;
  for (int n : {0, 7}) EXPECT_EQ(PicWord(n), "") << n;
}

TEST(Vocabulary, LineForms) {
  EXPECT_EQ(CommandLine("WP_Aspect[", "16:9"), "WP_Aspect[16:9]$\r");
  EXPECT_EQ(QueryLine("WP_Aspect["), "WP_Aspect[?]$\r");
  EXPECT_EQ(ActionLine("WP_SystemRst["), "WP_SystemRst[Go]$\r");
  EXPECT_EQ(KeyLine(kKeyPlusWord), "WP_KeyPlus[]$\r");
  // The example of the wire framing: 17 bytes.
  EXPECT_EQ(CommandLine("WP_Aspect[", "Full").size(), 17u);
}

TEST(Vocabulary, QueryReplyValue) {
  struct Case {
    std::string reply;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"WP_Aspect[16:9]$\r", "16:9"},
      {"WP_Aspect[]$\r", ""},
      {"WP_Aspect[16:9 ]$\r", "16:9 "},      // blanks are part of the value
      {"WP_Aspect[Full]$\rzz", "Full]$"},    // cut by length: trailing bytes shift it
      {"wp_Aspect[Full]$\r", std::nullopt},  // case matters
      {"WP_Aspect[?]$\r", std::nullopt},     // the query echoed back
      {"WP_Aspect[?]$\rWP_Aspect[Full]$\r", std::nullopt},
      {"xWP_Aspect[Full]$\r", std::nullopt},  // bytes before the word
      {"WP_Output[1]$\r", std::nullopt},      // another word
      {"WP_Aspect", std::nullopt},            // too short to hold the word
  };
  for (const auto& c : cases) EXPECT_EQ(QueryReplyValue("WP_Aspect[", c.reply), c.value) << c.reply;
}

TEST(Vocabulary, ReplyValueByLengthNeverFailsOnShortReplies) {
  EXPECT_EQ(ReplyValueByLength("WP_Info[1.02]$\r", 8), "1.02");
  EXPECT_EQ(ReplyValueByLength("WP_Aspect[1.0]$\r", 8), "t[1.0");  // the word is not checked
  EXPECT_EQ(ReplyValueByLength("WP_Info[]$\r", 8), "");
  EXPECT_EQ(ReplyValueByLength("X]$\r", 8), "");
  EXPECT_EQ(ReplyValueByLength("", 8), "");
}

TEST(Vocabulary, LenientNumberRoundsHalfToEven) {
  struct Case {
    const char* text;
    std::int64_t n;
  };
  const Case cases[] = {
      {"12", 12},
      {"  7", 7},
      {"\t3", 3},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"0.5", 0},
      {"1.5", 2},
      {"2.51", 3},
      {"-1", -1},
      {"+4", 4},
      {"3abc", 3},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {".5", 0},
      {"7.", 7},
      {"1e2", 100},
      {"1e", 1},
      {"2e+1x", 20},
      {"4 5", 4},
      {"12:30", 12},
      {"1e999", std::int64_t{1} << 62},
      {"-1e999", -(std::int64_t{1} << 62)},
      {"1e-999", 0},
      {"0.0000", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LenientNumber(c.text), c.n) << '"' << c.text << '"';

  // Beyond the double range the digits decide, not the exponent's sign: a tiny mantissa with a
  // positive exponent is still tiny, a huge one with a negative exponent still huge.
  const std::string zeros(330, '0');
  EXPECT_EQ(LenientNumber("0." + zeros + "1e5"), 0);
  EXPECT_EQ(LenientNumber("-0." + zeros + "1E+5"), 0);
  EXPECT_EQ(LenientNumber("1" + zeros + "e-5"), std::int64_t{1} << 62);
  EXPECT_EQ(LenientNumber("-1" + zeros + ".5e-5"), -(std::int64_t{1} << 62));
  EXPECT_EQ(LenientNumber("0." + zeros + "1e999"), std::int64_t{1} << 62);
  EXPECT_EQ(LenientNumber("0." + zeros + "1e" + zeros + "5"), 0);
  EXPECT_EQ(LenientNumber("1" + zeros + "e-999"), 0);
}

TEST(Vocabulary, ProjSwPositionDividesByFiveRoundingDown) {
  struct Case {
    const char* text;
    std::int64_t position;
  };
  const Case cases[] = {{"0", 0},    {"7", 1},   {"12", 2},  {"15", 3},  {"300", 60},
                        {"301", 60}, {"-3", -1}, {"abc", 0}, {"14.9", 2}};
  for (const auto& c : cases) EXPECT_EQ(ProjSwPosition(c.text), c.position) << c.text;
}

TEST(Vocabulary, ValueTablesMatchExactly) {
  EXPECT_EQ(MatchValue(AspectTable(), "16:9"), 1);
  EXPECT_EQ(MatchValue(AspectTable(), "16:9 "), std::nullopt);
  EXPECT_EQ(MatchValue(OnOffTable(), "on"), std::nullopt);
  EXPECT_EQ(MatchValue(DisplayModeTable(), "AlwaysOn"), 3);
  EXPECT_EQ(MatchValue(HdcpTable(), "NotHDCP"), 1);
  EXPECT_EQ(MatchValue(InputTable(0), "Hdmi2"), 1);
  EXPECT_EQ(MatchValue(InputTable(1), "Hdmi2"), std::nullopt);
  EXPECT_EQ(MatchValue(InputTable(7), "Vga"), 1) << "any non-zero layout is the two-entry one";
  EXPECT_EQ(SingleHdmiFor("TX"), 0);
  for (const char* v : {"RX", "", "tx", "TX "}) EXPECT_EQ(SingleHdmiFor(v), 1) << v;
}

TEST(Vocabulary, ShownTextsAgreeWithTheLayout) {
  const std::pair<const char*, const ValueTable*> lists[] = {
      {"cbo_aspect", &AspectTable()},     {"cbo_disp_mode", &DisplayModeTable()},
      {"cbo_hdcp_in", &HdcpTable()},      {"cbo_input", &InputTable(1)},
      {"cbo_display", &OnOffTable()},     {"cbo_overscan_en", &OverscanEnTable()},
      {"cbo_baudrate", &BaudrateTable()}, {"cbo_audio_lr", &OnOffTable()},
  };
  for (const auto& [name, table] : lists) {
    std::vector<std::string> shown;
    for (const auto& c : *table) shown.emplace_back(c.shown);
    EXPECT_EQ(mainLayout().find(name)->entries, shown) << name;
  }
}

TEST(Vocabulary, SpecialArguments) {
  EXPECT_EQ(InputArgument(1, 0), "Hdmi");
  EXPECT_EQ(InputArgument(1, 1), "Vga");
  EXPECT_EQ(InputArgument(1, 5), "Vga");
  EXPECT_EQ(InputArgument(0, 1), "Hdmi2");
  EXPECT_EQ(InputArgument(0, 2), "Vga");
  EXPECT_EQ(InputArgument(0, 3), std::nullopt);
  EXPECT_EQ(InputArgument(1, -1), std::nullopt);
  EXPECT_EQ(AutoOffArgument(0, "Off"), "0");
  EXPECT_EQ(AutoOffArgument(2, " 60\t"), "60");
  EXPECT_EQ(Trim("  a b  "), "a b");
}

}  // namespace
}  // namespace qx
