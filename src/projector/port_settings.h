#pragma once
// The receiver's projector port settings: the four lists of the Projector page, their form
// values, and the send and read operations behind the hidden cmd_send_port / cmd_read_port
// buttons (run by the frame's Send and Read).

#include <cstdint>
#include <optional>
#include <string>

#include "link/page_context.h"

namespace qx {

inline constexpr const char* kDisplaySetWord = "WP_DisplaySet[";

class PortSettings {
 public:
  // Wires the four list handlers and the two hidden buttons.
  explicit PortSettings(PageContext& ctx);

  // Selects in each list the entry that stands for the current form value; a value no entry
  // stands for leaves its list as it is.
  void ShowPortSettings();
  // Sends the four form values with WP_DisplaySet; "Send fail !" without a reply. The caller
  // reads link.reply_done afterwards.
  void cmd_send_port();
  // Queries WP_DisplaySet and takes the settings of a usable reply; "Read fail !" otherwise,
  // with nothing changed. The caller reads link.reply_done afterwards.
  void cmd_read_port();
  // The settings of a page without a profile: 115200, 8, None, 1.5, in the lists and in the
  // form values.
  void SelectDefaults();

 private:
  void fail(const char* text);
  PageContext& ctx_;
};

// The settings taken from the argument of a WP_DisplaySet reply ("9600,8,N,1"). A field that
// is not recognised is left empty and keeps its form value.
struct PortReading {
  std::int32_t baud = 0;
  std::int16_t databits = 0;
  std::optional<std::string> parity;
  std::optional<float> stopbits;
};

// Parses the argument by position: baud before the first comma (lenient number), then one
// character of data bits, the parity letter and the stop-bit text. Nothing when the argument
// holds no comma or the baud does not fit a 32-bit signed number.
std::optional<PortReading> ParsePortArgument(const std::string& arg);

// The command line that sends the settings: "WP_DisplaySet[115200,8,N,1.5]$" + CR.
std::string PortSettingsLine(std::int32_t baud, std::int16_t databits, const std::string& parity,
                             float stopbits);

// Stop bits in their shortest decimal form with a point, whatever the locale: "1", "1.5".
std::string StopBitsText(float stopbits);

}  // namespace qx
