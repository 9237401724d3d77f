#include "projector/projector_controls.h"

#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr int kReadWords[] = {ctrl::kProjSW, ctrl::kAutoDispOn, ctrl::kAutoDispOff};
constexpr float kReadPause = 0.1f;

}  // namespace

ProjectorControls::ProjectorControls(PageContext& ctx, ReadBack& readback)
    : ctx_(ctx), readback_(readback) {
  Form& f = ctx.form;
  f.combo("cbo_auto_on").onSelect([this] { cbo_auto_Click("cbo_auto_on", ctrl::kAutoDispOn); });
  f.combo("cbo_auto_off").onSelect([this] { cbo_auto_Click("cbo_auto_off", ctrl::kAutoDispOff); });
  f.combo("cbo_projsw").onSelect([this] { cbo_projsw_Click(); });
  f.button("cmd_read_proj").onClick([this] { cmd_read_proj_Click(); });
}

void ProjectorControls::cbo_auto_Click(const char* list, int word) {
  if (ctx_.state.reading) return;
  ComboBox& c = ctx_.form.combo(list);
  c.setEnabled(false);
  ctx_.link.SendCommand(CommandLine(CtrlWord(word), c.selectedIndex() == 0 ? "On" : "Off"));
  c.setEnabled(true);
}

void ProjectorControls::cbo_projsw_Click() {
  if (ctx_.state.reading) return;
  ComboBox& c = ctx_.form.combo("cbo_projsw");
  ctx_.link.SendCommandNoWait(
      CommandLine(CtrlWord(ctrl::kProjSW), Trim(c.itemText(c.selectedIndex()))));
}

void ProjectorControls::cmd_read_proj_Click() {
  // A read-back loop never starts inside another one.
  ReadingScope scope(ctx_.state);
  if (!scope.started()) return;
  Button& read = ctx_.form.button("cmd_read_proj");
  read.setEnabled(false);
  // Ends silently at the first query without a usable reply.
  for (int n : kReadWords) {
    if (!QueryStep(ctx_.link, CtrlWord(n), kReadPause)) break;
    readback_.ApplyReadback(n);
  }
  read.setEnabled(true);
}

}  // namespace qx
