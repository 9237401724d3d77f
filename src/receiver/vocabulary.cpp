#include "receiver/vocabulary.h"

#include <array>
#include <cmath>

#include "platform/lenient_number.h"

namespace qx {

namespace {

const std::string kNoWord;

const std::array<std::string, ctrl::kCount + 1> kCtrlWords = {
    "",                 // numbered from 1
    "WP_IdentifyTx[",   // 1
    "WP_Aspect[",       // 2
    "WP_VgaAuto[",      // 3
    "WP_Info[",         // 4
    "WP_Output[",       // 5
    "WP_OverscanEn[",   // 6
    "WP_OverscanH[",    // 7
    "WP_OverscanV[",    // 8
    "WP_AudioEn[",      // 9
    "WP_AudioHdmi[",    // 10
    "WP_AudioLR[",      // 11
    "WP_SystemRst[",    // 12
    "WP_AutoOff[",      // 13
    "WP_DisplayMode[",  // 14
    "WP_Display[",      // 15
    "WP_Input[",        // 16
    "WP_HdcpInput[",    // 17
    "WP_InputPrefer[",  // 18
    "WP_InfoTx[",       // 19
    "WP_BaudrateTx[",   // 20
    "WP_ProjSW[",       // 21
    "WP_AutoDispOn[",   // 22
    "WP_AutoDispOff[",  // 23
};

const std::array<std::string, pic::kCount + 1> kPicWords = {
    "",                // numbered from 1
    "WP_PictureBri[",  // 1
    "WP_PictureCon[",  // 2
    "WP_PictureSat[",  // 3
    "WP_PictureHue[",  // 4
    "WP_PictureSha[",  // 5
    "WP_PictureRst[",  // 6
};

constexpr std::string_view kTerminator = "]$\r";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

const std::string& CtrlWord(int n) {
  return n >= 1 && n <= ctrl::kCount ? kCtrlWords[static_cast<std::size_t>(n)] : kNoWord;
}

const std::string& PicWord(int n) {
  return n >= 1 && n <= pic::kCount ? kPicWords[static_cast<std::size_t>(n)] : kNoWord;
}

std::string CommandLine(std::string_view word, std::string_view argument) {
  std::string line;
  line.reserve(word.size() + argument.size() + kTerminator.size());
  line.append(word).append(argument).append(kTerminator);
  return line;
}

std::string QueryLine(std::string_view word) { return CommandLine(word, "?"); }
std::string ActionLine(std::string_view word) { return CommandLine(word, "Go"); }
std::string KeyLine(std::string_view word) { return CommandLine(word, ""); }

std::optional<std::string> QueryReplyValue(std::string_view word, std::string_view reply) {
  if (reply.substr(0, word.size()) != word) return std::nullopt;
  // The query line itself coming back (a line echo) is no answer, though it begins with word.
  const std::string query = QueryLine(word);
  if (reply.substr(0, query.size()) == query) return std::nullopt;
  return ReplyValueByLength(reply, word.size());
}

std::string ReplyValueByLength(std::string_view reply, std::size_t word_length) {
  if (reply.size() < word_length + kTerminator.size()) return {};
  return std::string(reply.substr(word_length, reply.size() - kTerminator.size() - word_length));
}

const ValueTable& AspectTable() {
  static const ValueTable t{{"Full", "Full"},
                            {"16:9 TV", "16:9"},
                            {"16:10 TV", "16:10"},
                            {"4:3 TV", "4:3"},
                            {"Keep Ratio", "Keep"}};
  return t;
}

const ValueTable& DisplayModeTable() {
  static const ValueTable t{{"DispSW AVon", "DispSWAVOn"},
                            {"DispSW AVSW", "DispSWAVSW"},
                            {"AV SW", "AVSW"},
                            {"Always ON", "AlwaysOn"}};
  return t;
}

const ValueTable& HdcpTable() {
  static const ValueTable t{{"Compliant", "HDCP"}, {"Noncompliant", "NotHDCP"}, {"Auto", "Auto"}};
  return t;
}

const ValueTable& OnOffTable() {
  static const ValueTable t{{"On", "On"}, {"Off", "Off"}};
  return t;
}

const ValueTable& OverscanEnTable() {
  static const ValueTable t{{"Yes", "Yes"}, {"No", "No"}};
  return t;
}

const ValueTable& BaudrateTable() {
  static const ValueTable t{{"9600", "9600"}, {"115200", "115200"}};
  return t;
}

const ValueTable& InputTable(std::int16_t single_hdmi) {
  static const ValueTable single{{"Hdmi", "Hdmi"}, {"Vga", "Vga"}};
  static const ValueTable dual{{"Hdmi1", "Hdmi1"}, {"Hdmi2", "Hdmi2"}, {"Vga", "Vga"}};
  return single_hdmi != 0 ? single : dual;
}

std::optional<int> MatchValue(const ValueTable& table, std::string_view value) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].sent == value) return static_cast<int>(i);
  return std::nullopt;
}

std::int64_t LenientNumber(std::string_view value) {
  return RoundHalfEvenToInt(LenientDecimal(value));
}

std::int64_t ProjSwPosition(std::string_view value) {
  const double q = std::floor(LenientDecimal(value) / 5.0);
  return RoundHalfEvenToInt(q);  // q is whole already; this only saturates huge values
}

std::int16_t SingleHdmiFor(std::string_view identify_value) {
  return identify_value == "TX" ? 0 : 1;
}

std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::optional<std::string> InputArgument(std::int16_t single_hdmi, int index) {
  if (index < 0) return std::nullopt;
  if (single_hdmi != 0) return std::string(index == 0 ? "Hdmi" : "Vga");
  const ValueTable& t = InputTable(0);
  if (index >= static_cast<int>(t.size())) return std::nullopt;
  return std::string(t[static_cast<std::size_t>(index)].sent);
}

std::string AutoOffArgument(int index, std::string_view entry_text) {
  return index == 0 ? std::string("0") : Trim(entry_text);
}

}  // namespace qx
