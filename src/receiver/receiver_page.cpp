#include "receiver/receiver_page.h"

#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr const char* kSendFail = "Send fail !";

using Argument = ReceiverPage::Argument;

// The entry's position in decimal: the file-filled resolution lists.
std::optional<std::string> position(int index, const std::string&) { return std::to_string(index); }

// The entry's text without surrounding blanks.
std::optional<std::string> trimmed(int, const std::string& text) { return Trim(text); }

// The table's argument at the entry's position.
Argument byTable(const ValueTable& table) {
  return [&table](int index, const std::string&) -> std::optional<std::string> {
    if (index < 0 || index >= static_cast<int>(table.size())) return std::nullopt;
    return std::string(table[static_cast<std::size_t>(index)].sent);
  };
}

// Entry 0 sends "On", any other entry "Off".
std::optional<std::string> onOff(int index, const std::string&) {
  return std::string(index == 0 ? "On" : "Off");
}

std::optional<std::string> autoOff(int index, const std::string& text) {
  return AutoOffArgument(index, text);
}

}  // namespace

ReceiverPage::ReceiverPage(PageContext& ctx) : ctx_(ctx) {
  // The input list's arguments follow the layout the last identify reply chose.
  const Argument input = [this](int index, const std::string&) {
    return InputArgument(ctx_.state.single_hdmi, index);
  };
  // Confirmed settings.
  confirmed("cbo_input", ctrl::kInput, input);
  confirmed("cbo_in_prefer", ctrl::kInputPrefer, position);
  confirmed("cbo_output", ctrl::kOutput, position);
  confirmed("cbo_aspect", ctrl::kAspect, byTable(AspectTable()));
  confirmed("cbo_disp_mode", ctrl::kDisplayMode, byTable(DisplayModeTable()));
  confirmed("cbo_display", ctrl::kDisplay, onOff);
  confirmed("cbo_hdcp_in", ctrl::kHdcpInput, byTable(HdcpTable()));
  confirmed("cbo_overscan_en", ctrl::kOverscanEn, trimmed);
  confirmed("cbo_audio_en", ctrl::kAudioEn, trimmed);
  confirmed("cbo_audio_hdmi", ctrl::kAudioHdmi, trimmed);
  confirmed("cbo_audio_lr", ctrl::kAudioLR, trimmed);
  confirmed("cbo_baudrate", ctrl::kBaudrateTx, byTable(BaudrateTable()));
  // Unconfirmed settings.
  unconfirmed("cbo_overscan_h", ctrl::kOverscanH, trimmed);
  unconfirmed("cbo_overscan_v", ctrl::kOverscanV, trimmed);
  unconfirmed("cbo_standby", ctrl::kAutoOff, autoOff);
  // Actions.
  action("cmd_sys_rst", ctrl::kSystemRst);
  action("cmd_vga_auto", ctrl::kVgaAuto);
}

std::optional<std::string> ReceiverPage::lineFor(ComboBox& list, int word,
                                                 const Argument& argument) const {
  const int index = list.selectedIndex();
  if (index < 0) return std::nullopt;  // a selection cleared from code sends nothing
  auto arg = argument(index, list.itemText(index));
  if (!arg) return std::nullopt;
  return CommandLine(CtrlWord(word), *arg);
}

void ReceiverPage::confirmed(const std::string& name, int word, const Argument& argument) {
  ComboBox& list = ctx_.form.combo(name);
  list.onSelect([this, &list, word, argument] {
    if (ctx_.state.reading) return;  // a read-back is setting the list
    auto line = lineFor(list, word, argument);
    if (!line) return;
    list.setEnabled(false);
    ctx_.link.SendCommand(*line);
    if (!ctx_.link.reply_done) ctx_.link.ShowNotice(ctx_.form.label("lab_ctrl_reply"), kSendFail);
    list.setEnabled(true);
  });
}

void ReceiverPage::unconfirmed(const std::string& name, int word, const Argument& argument) {
  ComboBox& list = ctx_.form.combo(name);
  list.onSelect([this, &list, word, argument] {
    if (ctx_.state.reading) return;
    if (auto line = lineFor(list, word, argument)) ctx_.link.SendCommandNoWait(*line);
  });
}

void ReceiverPage::action(const std::string& name, int word) {
  Button& button = ctx_.form.button(name);
  button.onClick([this, &button, word] {
    button.setEnabled(false);
    ctx_.sv.pump.doEvents();
    ctx_.link.SendCommand(ActionLine(CtrlWord(word)));
    if (!ctx_.link.reply_done) ctx_.link.ShowNotice(ctx_.form.label("lab_ctrl_reply"), kSendFail);
    button.setEnabled(true);
  });
}

}  // namespace qx
