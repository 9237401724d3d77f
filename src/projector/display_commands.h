#pragma once
// The display-on and display-off commands of the Projector page: the Text/Hex format option,
// the "CR" buttons, and the frame's Send and Read, which transfer the port settings and both
// commands. On the wire a display command is the word, the byte count in decimal, a comma, the
// bytes themselves (any value) and "]$" + CR.

#include <optional>
#include <string>
#include <string_view>

#include "codec/hex_codec.h"
#include "link/page_context.h"
#include "projector/port_settings.h"

namespace qx {

inline constexpr const char* kDisplayOnWord = "WP_DisplayOn[";
inline constexpr const char* kDisplayOffWord = "WP_DisplayOff[";
inline constexpr const char* kCommandWrongText = "[Display On] or [Display Off] is wrong !";

class DisplayCommands {
 public:
  // Wires the format option, the CR buttons, Send, Read and the four hidden buttons.
  DisplayCommands(PageContext& ctx, CtrlStores& stores, PortSettings& port);

  // Sets disp_on_hex / disp_off_hex from the boxes of the format in force (an empty or invalid
  // box gives ""); the boxes are not changed.
  void TakeCommands();
  // Fills both pairs of boxes from disp_on_hex / disp_off_hex (normalising those, invalid hex
  // becoming "") and rebuilds both control byte stores.
  void ShowCommands();

  // opt_cmd_fmt index 0 (Text) or 1 (Hex).
  void opt_cmd_fmt_Click(int index);
  // cmd_cr_disp_on / cmd_cr_disp_off: appends a carriage return to the text of which
  // (kDisplayOn / kDisplayOff); a press on a full store does nothing.
  void cmd_cr_Click(int which);
  // Validates both commands, then sends the port settings and, if they were answered, both
  // commands.
  void cmd_proj_send_Click();
  // Reads the port settings and, if they were answered, both commands.
  void cmd_proj_read_Click();
  // Sends one command from disp_on_hex or disp_off_hex; the caller may read reply_done.
  void cmd_send_disp(int which);
  // Queries one command and shows it in both of its boxes; "Read fail !" when the reply is
  // unusable, with nothing changed.
  void cmd_read_disp(int which);

 private:
  void notice(const char* text);
  PageContext& ctx_;
  CtrlStores& stores_;
  PortSettings& port_;
};

// Whether a display command of n bytes fits the link's 75-byte line buffer together with its
// word, count, comma and terminator.
bool DisplayLineFits(int which, std::size_t n);

// Where a display command's bytes lie in the raw bytes of the reply to its query.
struct DisplayBytesSpan {
  std::size_t start = 0;  // index of the first byte, just after the comma
  std::size_t count = 0;
};

// Reads the reply to the query of word ("WP_DisplayOn[" or "WP_DisplayOff["): reply is the reply
// text and received the number of its first bytes kept raw in the byte buffer. The count before
// the first comma of the reply value (a lenient number; 0 or less gives no bytes) says how many
// bytes follow the comma. Nothing when the reply does not answer word, its value holds no
// comma, or the count runs past the bytes received.
std::optional<DisplayBytesSpan> LocateDisplayBytes(std::string_view word, std::string_view reply,
                                                   std::size_t received);

}  // namespace qx
