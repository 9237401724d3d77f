#include "receiver/readback.h"

#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr float kReadPause = 0.05f;
constexpr const char* kReadFail = "Read fail !";
constexpr const char* kSendFail = "Send fail !";

// Selects the entry a numeric reply names. A position beyond the list (or below -1) leaves the
// selection as it is; -1 clears it, as setting that position does.
void selectPosition(ComboBox& list, std::int64_t position) {
  if (position < -1 || position >= list.count()) return;
  list.setSelectedIndex(static_cast<int>(position));
}

// Selects the entry whose value equals the reply; no equal entry leaves the selection.
void selectMatch(ComboBox& list, const ValueTable& table, const std::string& value) {
  if (auto i = MatchValue(table, value)) list.setSelectedIndex(*i);
}

}  // namespace

bool QueryStep(Link& link, const std::string& word, float pause_s) {
  link.SendCommand(QueryLine(word));
  std::optional<std::string> value;
  if (link.reply_done) value = QueryReplyValue(word, link.reply_text);
  link.Delay(pause_s);
  if (!value) return false;
  link.reply_text = *value;
  return true;
}

ReadBack::ReadBack(PageContext& ctx) : ctx_(ctx) {
  ctx.form.button("cmd_ctrl_read").onClick([this] { Read(); });
  ctx.form.button("cmd_info").onClick([this] { Get(); });
}

void ReadBack::Read() {
  ReadingScope scope(ctx_.state);
  if (!scope.started()) return;
  Button& button = ctx_.form.button("cmd_ctrl_read");
  button.setEnabled(false);
  bool failed = false;
  for (int n = 1; n <= 20; ++n) {
    if (n == ctrl::kVgaAuto || n == ctrl::kSystemRst) continue;  // actions, never queried
    if (!QueryStep(ctx_.link, CtrlWord(n), kReadPause)) {
      failed = true;
      break;
    }
    ApplyReadback(n);
  }
  if (failed) ctx_.link.ShowNotice(ctx_.form.label("lab_ctrl_reply"), kReadFail);
  button.setEnabled(true);
}

void ReadBack::Get() {
  Form& form = ctx_.form;
  Link& link = ctx_.link;
  Label& notice = form.label("lab_ctrl_reply");
  Button& button = form.button("cmd_info");
  form.label("lab_fw_ver_rx").setText({});
  form.label("lab_fw_ver_tx").setText({});
  button.setEnabled(false);
  ctx_.sv.pump.doEvents();

  // Get cuts the replies by length alone, without checking the word.
  auto query = [&](int n) -> std::optional<std::string> {
    const std::string& word = CtrlWord(n);
    link.SendCommand(QueryLine(word));
    if (!link.reply_done) {
      link.ShowNotice(notice, kSendFail);
      return std::nullopt;
    }
    return ReplyValueByLength(link.reply_text, word.size());
  };

  if (auto rx = query(ctrl::kInfo)) form.label("lab_fw_ver_rx").setText(*rx);
  if (auto tx = query(ctrl::kInfoTx)) {
    form.label("lab_fw_ver_tx").setText(*tx);
    // Selecting the rate runs the list's own handler, which sends the value back.
    if (auto baud = query(ctrl::kBaudrateTx))
      selectMatch(form.combo("cbo_baudrate"), BaudrateTable(), *baud);
  }
  button.setEnabled(true);
}

void ReadBack::ApplyReadback(int n) {
  Form& form = ctx_.form;
  const std::string v = ctx_.link.reply_text;
  switch (n) {
    case ctrl::kIdentifyTx: {
      ctx_.state.single_hdmi = SingleHdmiFor(v);
      ComboBox& input = form.combo("cbo_input");
      input.clear();
      for (const Choice& c : InputTable(ctx_.state.single_hdmi))
        input.addItem(std::string(c.shown));
      break;
    }
    case ctrl::kAspect:
      selectMatch(form.combo("cbo_aspect"), AspectTable(), v);
      break;
    case ctrl::kInfo:
      form.label("lab_fw_ver_rx").setText(v);
      break;
    case ctrl::kOutput:
      selectPosition(form.combo("cbo_output"), LenientNumber(v));
      break;
    case ctrl::kOverscanEn:
      selectMatch(form.combo("cbo_overscan_en"), OverscanEnTable(), v);
      break;
    case ctrl::kOverscanH:
      selectPosition(form.combo("cbo_overscan_h"), LenientNumber(v));
      break;
    case ctrl::kOverscanV:
      selectPosition(form.combo("cbo_overscan_v"), LenientNumber(v));
      break;
    case ctrl::kAudioEn:
      selectMatch(form.combo("cbo_audio_en"), OnOffTable(), v);
      break;
    case ctrl::kAudioHdmi:
      selectMatch(form.combo("cbo_audio_hdmi"), OnOffTable(), v);
      break;
    case ctrl::kAudioLR:
      selectMatch(form.combo("cbo_audio_lr"), OnOffTable(), v);
      break;
    case ctrl::kAutoOff: {
      // "0" always means entry 0, whatever its text; any other value the first equal entry.
      ComboBox& list = form.combo("cbo_standby");
      if (v == "0") {
        list.setSelectedIndex(0);
        break;
      }
      for (int i = 0; i < list.count(); ++i)
        if (list.itemText(i) == v) {
          list.setSelectedIndex(i);
          break;
        }
      break;
    }
    case ctrl::kDisplayMode:
      selectMatch(form.combo("cbo_disp_mode"), DisplayModeTable(), v);
      break;
    case ctrl::kDisplay:
      selectMatch(form.combo("cbo_display"), OnOffTable(), v);
      break;
    case ctrl::kInput:
      selectMatch(form.combo("cbo_input"), InputTable(ctx_.state.single_hdmi), v);
      break;
    case ctrl::kHdcpInput:
      selectMatch(form.combo("cbo_hdcp_in"), HdcpTable(), v);
      break;
    case ctrl::kInputPrefer:
      selectPosition(form.combo("cbo_in_prefer"), LenientNumber(v));
      break;
    case ctrl::kInfoTx:
      form.label("lab_fw_ver_tx").setText(v);
      break;
    case ctrl::kBaudrateTx:
      selectMatch(form.combo("cbo_baudrate"), BaudrateTable(), v);
      break;
    case ctrl::kProjSW:
      selectPosition(form.combo("cbo_projsw"), ProjSwPosition(v));
      break;
    case ctrl::kAutoDispOn:
      selectMatch(form.combo("cbo_auto_on"), OnOffTable(), v);
      break;
    case ctrl::kAutoDispOff:
      selectMatch(form.combo("cbo_auto_off"), OnOffTable(), v);
      break;
    default:  // the action words and numbers outside 1..23
      break;
  }
}

}  // namespace qx
