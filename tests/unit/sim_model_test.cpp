// The receiver model behind the fake serial port and qx-zenk-sim: framing of the PC's byte
// stream, the answers, and every fault switch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver_model.h"

namespace qxsim {
namespace {

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Emissions as one readable string: "delay:bytes" per emission, "|" between, "HUP" for a
// hang-up.
std::string describe(const std::vector<Emission>& out) {
  std::string s;
  for (const auto& e : out) {
    if (!s.empty()) s += "|";
    s += std::to_string(e.delay_ms) + ":";
    s += e.hang_up ? std::string("HUP") : std::string(e.bytes.begin(), e.bytes.end());
  }
  return s;
}

std::string feed(ReceiverModel& m, const std::string& in) { return describe(m.feed(bytes(in))); }

// Feeds one byte at a time; returns every emission.
std::string feedBytewise(ReceiverModel& m, const std::string& in) {
  std::vector<Emission> all;
  for (char c : in) {
    auto out = m.feed(Bytes{static_cast<std::uint8_t>(c)});
    all.insert(all.end(), out.begin(), out.end());
  }
  return describe(all);
}

const std::vector<std::string> kQueryWords = {
    "WP_IdentifyTx[",  "WP_Aspect[",      "WP_Info[",       "WP_Output[",     "WP_OverscanEn[",
    "WP_OverscanH[",   "WP_OverscanV[",   "WP_AudioEn[",    "WP_AudioHdmi[",  "WP_AudioLR[",
    "WP_AutoOff[",     "WP_DisplayMode[", "WP_Display[",    "WP_Input[",      "WP_HdcpInput[",
    "WP_InputPrefer[", "WP_InfoTx[",      "WP_BaudrateTx[", "WP_ProjSW[",     "WP_AutoDispOn[",
    "WP_AutoDispOff[", "WP_PictureBri[",  "WP_PictureCon[", "WP_PictureSat[", "WP_PictureHue[",
    "WP_PictureSha[",  "WP_DisplaySet["};

TEST(SimModel, EveryQueriedWordAnswersItsValue) {
  ReceiverModel m;
  for (const auto& w : kQueryWords) {
    SCOPED_TRACE(w);
    EXPECT_FALSE(m.value(w).empty());
    EXPECT_EQ(feed(m, w + "?]$\r"), "0:" + w + m.value(w) + "]$\r");
  }
  EXPECT_EQ(m.value("WP_IdentifyTx["), "TX");
  EXPECT_EQ(m.value("WP_Aspect["), "Full");
}

TEST(SimModel, SettingIsEchoedAndAnsweredByTheNextQuery) {
  ReceiverModel m;
  EXPECT_EQ(feed(m, "WP_Aspect[16:9]$\r"), "0:WP_Aspect[16:9]$\r");
  EXPECT_EQ(feed(m, "WP_Aspect[?]$\r"), "0:WP_Aspect[16:9]$\r");
  EXPECT_EQ(feed(m, "WP_AutoOff[]$\r"), "0:WP_AutoOff[]$\r");
  EXPECT_EQ(feed(m, "WP_AutoOff[?]$\r"), "0:WP_AutoOff[]$\r");
  // Firmware and identity are reported, not set.
  EXPECT_EQ(feed(m, "WP_Info[9.9]$\r"), "0:WP_Info[9.9]$\r");
  EXPECT_EQ(m.value("WP_Info["), "1.05");
}

TEST(SimModel, ActionsKeysAndUnknownWords) {
  ReceiverModel m;
  for (const char* w :
       {"WP_PictureBri[", "WP_PictureCon[", "WP_PictureSat[", "WP_PictureHue[", "WP_PictureSha["})
    m.setValue(w, "7");
  m.setValue("WP_Aspect[", "Keep");

  EXPECT_EQ(feed(m, "WP_PictureRst[Go]$\r"), "0:WP_PictureRst[Go]$\r");
  for (const char* w :
       {"WP_PictureBri[", "WP_PictureCon[", "WP_PictureSat[", "WP_PictureHue[", "WP_PictureSha["})
    EXPECT_EQ(m.value(w), "50") << w;
  EXPECT_EQ(feed(m, "WP_SystemRst[Go]$\r"), "0:WP_SystemRst[Go]$\r");
  EXPECT_EQ(feed(m, "WP_VgaAuto[Go]$\r"), "0:WP_VgaAuto[Go]$\r");
  EXPECT_EQ(m.value("WP_Aspect["), "Keep");
  EXPECT_EQ(feed(m, "WP_KeyMenu[]$\r"), "0:WP_KeyMenu[]$\r");
  EXPECT_EQ(feed(m, "WP_KeyPlus[]$\r"), "0:WP_KeyPlus[]$\r");
  EXPECT_EQ(feed(m, "WP_Bogus[?]$\r"), "");
  EXPECT_EQ(m.lines().size(), 6u);  // the unknown line is still logged
}

TEST(SimModel, DisplayCommandsAreBinarySafe) {
  ReceiverModel m;
  // A command holding a terminator, a NUL and a high byte: parsed by its count.
  const std::string cmd = std::string("A]$\r", 4) + std::string(1, '\0') + "\xFF,";
  const std::string line = "WP_DisplayOn[7," + cmd + "]$\r";
  ASSERT_EQ(cmd.size(), 7u);
  EXPECT_EQ(feed(m, line), "0:" + line);
  EXPECT_EQ(m.value("WP_DisplayOn["), cmd);
  EXPECT_EQ(feed(m, "WP_DisplayOn[?]$\r"), "0:" + line);
  EXPECT_EQ(feed(m, "WP_DisplayOff[?]$\r"), "0:WP_DisplayOff[8,PWR OFF\r]$\r");
  EXPECT_EQ(feed(m, "WP_DisplayOff[0,]$\r"), "0:WP_DisplayOff[0,]$\r");
  EXPECT_EQ(feed(m, "WP_DisplayOff[?]$\r"), "0:WP_DisplayOff[0,]$\r");
  // A count that does not match the bytes: the line ends at its first terminator and is not
  // taken as a setting; the next line is read normally.
  EXPECT_EQ(feed(m, "WP_DisplayOff[5,AB]$\rWP_Aspect[?]$\r"), "0:WP_Aspect[Full]$\r");
  EXPECT_EQ(m.value("WP_DisplayOff["), "");
  EXPECT_EQ(m.lines().back(), "WP_Aspect[?]$\r");
}

TEST(SimModel, LinesSplitAnywhereGiveTheSameAnswers) {
  const std::string display = "WP_DisplayOff[4,]$\r" + std::string(1, '\x01') + "]$\r";
  for (const std::string& in :
       {std::string("WP_Aspect[?]$\r"), std::string("WP_KeyMinus[]$\r"), display}) {
    SCOPED_TRACE(in);
    ReceiverModel whole;
    ReceiverModel split;
    const std::string expected = feed(whole, in);
    EXPECT_NE(expected, "");
    EXPECT_EQ(feedBytewise(split, in), expected);
    EXPECT_EQ(split.lines(), std::vector<std::string>{in});
  }
}

TEST(SimModel, JunkIsSkippedAndOverlongLinesAreDropped) {
  ReceiverModel m;
  // Noise, a false start, a word with a bad name, then two lines in one write.
  EXPECT_EQ(feed(m, std::string(1, '\0') + "zzWPW_WP_As pect[WP_Aspect[?]$\rWP_Input[?]$\r"),
            "0:WP_Aspect[Full]$\r|0:WP_Input[Hdmi1]$\r");
  // "W" and "WP" at the end of a write may start a word.
  EXPECT_EQ(feed(m, "junkW"), "");
  EXPECT_EQ(feed(m, "P_Display[?]$\r"), "0:WP_Display[On]$\r");
  EXPECT_EQ(m.lines(),
            (std::vector<std::string>{"WP_Aspect[?]$\r", "WP_Input[?]$\r", "WP_Display[?]$\r"}));

  // A line that never ends is given up once it passes the limit, whether it arrives whole or
  // in pieces; a line after it is read.
  const std::string junk = "WP_Aspect[" + std::string(ReceiverModel::kMaxLine, 'x');
  ReceiverModel pieces;
  EXPECT_EQ(feed(pieces, junk), "");
  EXPECT_EQ(feed(pieces, "WP_Aspect[?]$\r"), "0:WP_Aspect[Full]$\r");
  ReceiverModel whole;
  EXPECT_EQ(feed(whole, junk + "WP_Aspect[?]$\r"), "0:WP_Aspect[Full]$\r");
  EXPECT_EQ(whole.lines(), std::vector<std::string>{"WP_Aspect[?]$\r"});
}

struct FaultCase {
  const char* name;
  Faults faults;
  std::string in;
  std::string expected;
};

Faults with(void (*set)(Faults&)) {
  Faults f;
  set(f);
  return f;
}

TEST(SimModel, FaultSwitches) {
  const std::string q = "WP_Aspect[?]$\r";
  const std::string set = "WP_Input[Vga]$\r";
  const std::vector<FaultCase> cases = {
      {"none", {}, q + set, "0:WP_Aspect[Full]$\r|0:WP_Input[Vga]$\r"},
      {"latency", with([](Faults& f) { f.latency_ms = 30; }), q, "30:WP_Aspect[Full]$\r"},
      {"silent", with([](Faults& f) { f.silent = true; }), q + set, ""},
      {"silent word", with([](Faults& f) { f.silent_word = "WP_Aspect["; }), q + set,
       "0:WP_Input[Vga]$\r"},
      {"wrong word", with([](Faults& f) { f.wrong_word = true; }), q + "WP_Input[?]$\r" + set,
       "0:WP_Input[Hdmi1]$\r|0:WP_Aspect[Full]$\r|0:WP_Input[Vga]$\r"},
      {"garbage", with([](Faults& f) { f.garbage = "x\r"; }), q, "0:x\rWP_Aspect[Full]$\r"},
      {"split", with([](Faults& f) {
         f.latency_ms = 10;
         f.split_gap_ms = 40;
         f.garbage = "g";
       }),
       q, "10:gWP_Aspect[Full]$|50:\r"},
      {"silent after 1", with([](Faults& f) { f.silent_after = 1; }), q + set + q,
       "0:WP_Aspect[Full]$\r"},
      {"silent after 0", with([](Faults& f) { f.silent_after = 0; }), q, ""},
      {"hang up after 1", with([](Faults& f) {
         f.hang_up_after = 1;
         f.latency_ms = 5;
       }),
       q + set, "5:WP_Aspect[Full]$\r|5:HUP"},
      {"hang up after 2, split", with([](Faults& f) {
         f.hang_up_after = 2;
         f.split_gap_ms = 7;
       }),
       q + set + q, "0:WP_Aspect[Full]$|7:\r|0:WP_Input[Vga]$|7:\r|7:HUP"},
      {"flood after the first line", with([](Faults& f) {
         f.flood_bytes = 5;
         f.latency_ms = 3;
       }),
       q + set, "3:WP_Aspect[Full]$\r|3:abcde|3:WP_Input[Vga]$\r"},
      {"flood while silent", with([](Faults& f) {
         f.flood_bytes = 2;
         f.silent = true;
       }),
       q, "0:ab"},
      {"hang up after 0", with([](Faults& f) { f.hang_up_after = 0; }), q, "0:HUP"},
      {"hang up while silent", with([](Faults& f) {
         f.hang_up_after = 1;
         f.silent = true;
       }),
       q, "0:HUP"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReceiverModel m(c.faults);
    EXPECT_EQ(feed(m, c.in), c.expected);
    // Faults change only the answers: every setting still takes effect.
    if (c.in.find(set) != std::string::npos && !m.hungUp()) {
      EXPECT_EQ(m.value("WP_Input["), "Vga");
    }
  }
}

TEST(SimModel, FloodNeverFramesAReply) {
  const Bytes junk = FloodBytes(1000);
  const std::string s(junk.begin(), junk.end());
  EXPECT_EQ(s.find(']'), std::string::npos);
  EXPECT_EQ(s.substr(60, 6), "ij\r\nab");
}

TEST(SimModel, AfterHangingUpTheReceiverTakesNothing) {
  Faults f;
  f.hang_up_after = 1;
  ReceiverModel m(f);
  EXPECT_EQ(feed(m, "WP_Aspect[?]$\rWP_Aspect[Keep]$\r"), "0:WP_Aspect[Full]$\r|0:HUP");
  EXPECT_TRUE(m.hungUp());
  EXPECT_EQ(feed(m, "WP_Aspect[Keep]$\r"), "");
  EXPECT_EQ(m.value("WP_Aspect["), "Full");
  EXPECT_EQ(m.lines(), std::vector<std::string>{"WP_Aspect[?]$\r"});
}

TEST(SimModel, FaultsCanChangeWhileRunning) {
  ReceiverModel m;
  m.setValue("WP_IdentifyTx[", "RX");
  EXPECT_EQ(feed(m, "WP_IdentifyTx[?]$\r"), "0:WP_IdentifyTx[RX]$\r");
  m.faults().silent_word = commandWord("IdentifyTx");
  EXPECT_EQ(feed(m, "WP_IdentifyTx[?]$\r"), "");
  EXPECT_EQ(commandWord("WP_Aspect"), "WP_Aspect[");
  EXPECT_EQ(commandWord("WP_Aspect["), "WP_Aspect[");
}

}  // namespace
}  // namespace qxsim
