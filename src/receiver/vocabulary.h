#pragma once
// The receiver's command vocabulary: the numbered command word tables, the value tables that
// tie list entries to arguments and reply values, the forms of command lines, and the rules
// that take a value out of a query reply and turn it into a list position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Numbers of the words of ctrl_words (1..23). The number is also the key of ApplyReadback.
namespace ctrl {
inline constexpr int kIdentifyTx = 1;
inline constexpr int kAspect = 2;
inline constexpr int kVgaAuto = 3;
inline constexpr int kInfo = 4;
inline constexpr int kOutput = 5;
inline constexpr int kOverscanEn = 6;
inline constexpr int kOverscanH = 7;
inline constexpr int kOverscanV = 8;
inline constexpr int kAudioEn = 9;
inline constexpr int kAudioHdmi = 10;
inline constexpr int kAudioLR = 11;
inline constexpr int kSystemRst = 12;
inline constexpr int kAutoOff = 13;
inline constexpr int kDisplayMode = 14;
inline constexpr int kDisplay = 15;
inline constexpr int kInput = 16;
inline constexpr int kHdcpInput = 17;
inline constexpr int kInputPrefer = 18;
inline constexpr int kInfoTx = 19;
inline constexpr int kBaudrateTx = 20;
inline constexpr int kProjSW = 21;
inline constexpr int kAutoDispOn = 22;
inline constexpr int kAutoDispOff = 23;
inline constexpr int kCount = 23;
}  // namespace ctrl

// Numbers of the words of pic_words (1..6).
namespace pic {
inline constexpr int kBrightness = 1;
inline constexpr int kContrast = 2;
inline constexpr int kSaturation = 3;
inline constexpr int kHue = 4;
inline constexpr int kSharpness = 5;
inline constexpr int kReset = 6;
inline constexpr int kCount = 6;
}  // namespace pic

// Command word number n of ctrl_words ("WP_Aspect[" for 2), empty outside 1..23.
const std::string& CtrlWord(int n);
// Command word number n of pic_words ("WP_PictureBri[" for 1), empty outside 1..6.
const std::string& PicWord(int n);

// Words outside the tables.
inline constexpr std::string_view kKeyMenuWord = "WP_KeyMenu[";
inline constexpr std::string_view kKeyMinusWord = "WP_KeyMinus[";
inline constexpr std::string_view kKeyPlusWord = "WP_KeyPlus[";

// Command line: word, argument, "]$", carriage return.
std::string CommandLine(std::string_view word, std::string_view argument);
// Query line: the argument "?".
std::string QueryLine(std::string_view word);
// Action line (reset, auto adjust): the argument "Go".
std::string ActionLine(std::string_view word);
// Key line: an empty argument.
std::string KeyLine(std::string_view word);

// The value of a query reply: nothing when reply does not begin with word (exact, case
// included) or begins with the query line itself (an echo, not an answer); otherwise reply without
// its last three characters and its first word.size() characters. "WP_Aspect[16:9]$\r" gives
// "16:9".
std::optional<std::string> QueryReplyValue(std::string_view word, std::string_view reply);
// The same cut by length alone, without checking the word. A reply shorter than
// word_length + 3 gives the empty text.
std::string ReplyValueByLength(std::string_view reply, std::size_t word_length);

// One entry of a value table: the text a list shows and the argument it sends, which is also
// the reply value that selects it.
struct Choice {
  std::string_view shown;
  std::string_view sent;
};
using ValueTable = std::vector<Choice>;

const ValueTable& AspectTable();       // cbo_aspect
const ValueTable& DisplayModeTable();  // cbo_disp_mode
const ValueTable& HdcpTable();         // cbo_hdcp_in
const ValueTable& OnOffTable();        // On/Off lists
const ValueTable& OverscanEnTable();   // cbo_overscan_en: "Yes", "No"
const ValueTable& BaudrateTable();     // cbo_baudrate: "9600", "115200"
// cbo_input by single_hdmi: non-zero "Hdmi", "Vga"; 0 "Hdmi1", "Hdmi2", "Vga".
const ValueTable& InputTable(std::int16_t single_hdmi);

// Position of the first entry whose sent text equals value exactly; nothing when none does.
std::optional<int> MatchValue(const ValueTable& table, std::string_view value);

// The lenient number of a reply value: the leading decimal number (0 when there is none),
// rounded to the nearest whole number with halves to even ("2.5" 2, "3.5" 4).
std::int64_t LenientNumber(std::string_view value);
// The ProjSW position of a reply value: its leading decimal number divided by 5, rounded down
// ("12" 2, "300" 60, "-3" -1).
std::int64_t ProjSwPosition(std::string_view value);
// The input list layout an identify reply value chooses: 0 for "TX", else 1.
std::int16_t SingleHdmiFor(std::string_view identify_value);

// text without leading and trailing blanks (spaces and tabs).
std::string Trim(std::string_view text);

// Arguments of the lists whose argument is not simply the table entry at the position.
// Input list: single layout entry 0 "Hdmi" and any other "Vga"; three-entry layout by position.
std::optional<std::string> InputArgument(std::int16_t single_hdmi, int index);
// Auto-off list: entry 0 sends "0" whatever its text; any other its text trimmed.
std::string AutoOffArgument(int index, std::string_view entry_text);

}  // namespace qx
