#include "projector/projector_controls.h"

namespace qx {

namespace {

constexpr const char* kProjSwWord = "WP_ProjSW[";
constexpr const char* kAutoDispOnWord = "WP_AutoDispOn[";
constexpr const char* kAutoDispOffWord = "WP_AutoDispOff[";

// Words 21, 22 and 23 of the receiver's read-back words.
struct ReadWord {
  int number;
  const char* word;
};
constexpr ReadWord kReadWords[] = {
    {21, kProjSwWord}, {22, kAutoDispOnWord}, {23, kAutoDispOffWord}};

std::string trimSpaces(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

ProjectorControls::ProjectorControls(PageContext& ctx, ReadBack& readback)
    : ctx_(ctx), readback_(readback) {
  Form& f = ctx.form;
  f.combo("cbo_auto_on").onSelect([this] { cbo_auto_Click("cbo_auto_on", kAutoDispOnWord); });
  f.combo("cbo_auto_off").onSelect([this] { cbo_auto_Click("cbo_auto_off", kAutoDispOffWord); });
  f.combo("cbo_projsw").onSelect([this] { cbo_projsw_Click(); });
  f.button("cmd_read_proj").onClick([this] { cmd_read_proj_Click(); });
}

void ProjectorControls::cbo_auto_Click(const char* list, const char* word) {
  if (ctx_.state.reading) return;
  ComboBox& c = ctx_.form.combo(list);
  c.setEnabled(false);
  ctx_.link.SendCommand(std::string(word) + (c.selectedIndex() == 0 ? "On" : "Off") + "]$\r");
  c.setEnabled(true);
}

void ProjectorControls::cbo_projsw_Click() {
  if (ctx_.state.reading) return;
  ComboBox& c = ctx_.form.combo("cbo_projsw");
  ctx_.link.SendCommandNoWait(kProjSwWord + trimSpaces(c.itemText(c.selectedIndex())) + "]$\r");
}

void ProjectorControls::cmd_read_proj_Click() {
  WindowState& s = ctx_.state;
  // A read-back loop never starts inside another one.
  if (s.reading) return;
  Link& link = ctx_.link;
  Button& read = ctx_.form.button("cmd_read_proj");
  s.reading = true;
  read.setEnabled(false);
  for (const ReadWord& w : kReadWords) {
    const std::string word = w.word;
    link.SendCommand(word + "?]$\r");
    link.Delay(0.1f);
    if (!link.reply_done || !link.reply_text.starts_with(word) ||
        link.reply_text.size() < word.size() + 3)
      break;
    // The reply reduced to its value, as ApplyReadback takes it.
    link.reply_text = link.reply_text.substr(word.size(), link.reply_text.size() - word.size() - 3);
    readback_.ApplyReadback(w.number);
  }
  read.setEnabled(true);
  s.reading = false;
}

}  // namespace qx
