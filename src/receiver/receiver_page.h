#pragma once
// The receiver settings frame fra_wp_ctrl: every list sends its option when chosen, and the
// System Reset and VGA auto adjust buttons start their actions.

#include <functional>
#include <optional>
#include <string>

#include "link/page_context.h"

namespace qx {

class ReceiverPage {
 public:
  // Wires the lists of fra_wp_ctrl, cmd_sys_rst and cmd_vga_auto.
  explicit ReceiverPage(PageContext& ctx);

  // The argument a list sends for its entry at index (with that entry's text); nothing when
  // the entry has no argument.
  using Argument = std::function<std::optional<std::string>(int index, const std::string& text)>;

 private:
  // Confirmed setting: sends and waits; "Send fail !" when no reply comes.
  void confirmed(const std::string& list, int word, const Argument& argument);
  // Unconfirmed setting: sends without waiting.
  void unconfirmed(const std::string& list, int word, const Argument& argument);
  // Action button: sends word + "Go" and waits; "Send fail !" when no reply comes.
  void action(const std::string& button, int word);
  // The line a list's present selection sends, or nothing (no selection, no argument).
  std::optional<std::string> lineFor(ComboBox& list, int word, const Argument& argument) const;

  PageContext& ctx_;
};

}  // namespace qx
