#include "projector/display_commands.h"

#include <algorithm>
#include <type_traits>

#include "platform/lenient_number.h"
#include "receiver/vocabulary.h"

namespace qx {

static_assert(std::is_same_v<decltype(Link::byte_buf), CodecBuf>,
              "the codec works on the link's byte buffer");

namespace {

struct Boxes {
  const char* text;
  const char* hex;
};

Boxes boxesOf(int which) {
  return which == kDisplayOn ? Boxes{"txt_proj_disp_on_text", "txt_proj_disp_on_hex"}
                             : Boxes{"txt_proj_disp_off_text", "txt_proj_disp_off_hex"};
}

std::string wordOf(int which) { return which == kDisplayOn ? kDisplayOnWord : kDisplayOffWord; }

}  // namespace

bool DisplayLineFits(int which, std::size_t n) {
  const std::size_t line = wordOf(which).size() + std::to_string(n).size() + 1 + n + 3;
  return line <= kCodecBufSize;
}

std::optional<DisplayBytesSpan> LocateDisplayBytes(std::string_view word, std::string_view reply,
                                                   std::size_t received) {
  const auto arg = QueryReplyValue(word, reply);
  if (!arg) return std::nullopt;
  const auto comma = arg->find(',');
  if (comma == std::string::npos) return std::nullopt;
  const std::int64_t n =
      RoundHalfEvenToInt(LenientDecimal(std::string_view(*arg).substr(0, comma)));
  DisplayBytesSpan span;
  span.start = word.size() + comma + 1;
  if (n > 0) {
    // A count beyond the bytes received (or beyond the buffer) is a failed read.
    if (span.start > received || static_cast<std::uint64_t>(n) > received - span.start)
      return std::nullopt;
    span.count = static_cast<std::size_t>(n);
  }
  return span;
}

DisplayCommands::DisplayCommands(PageContext& ctx, CtrlStores& stores, PortSettings& port)
    : ctx_(ctx), stores_(stores), port_(port) {
  Form& f = ctx.form;
  f.option("opt_cmd_fmt_0").onClick([this] { opt_cmd_fmt_Click(0); });
  f.option("opt_cmd_fmt_1").onClick([this] { opt_cmd_fmt_Click(1); });
  f.button("cmd_cr_disp_on").onClick([this] { cmd_cr_Click(kDisplayOn); });
  f.button("cmd_cr_disp_off").onClick([this] { cmd_cr_Click(kDisplayOff); });
  f.button("cmd_proj_send").onClick([this] { cmd_proj_send_Click(); });
  f.button("cmd_proj_read").onClick([this] { cmd_proj_read_Click(); });
  f.button("cmd_send_disp_on").onClick([this] { cmd_send_disp(kDisplayOn); });
  f.button("cmd_send_disp_off").onClick([this] { cmd_send_disp(kDisplayOff); });
  f.button("cmd_read_disp_on").onClick([this] { cmd_read_disp(kDisplayOn); });
  f.button("cmd_read_disp_off").onClick([this] { cmd_read_disp(kDisplayOff); });
}

void DisplayCommands::notice(const char* text) {
  ctx_.link.ShowNotice(ctx_.form.label("lab_proj_reply"), text);
}

void DisplayCommands::TakeCommands() {
  Form& f = ctx_.form;
  WindowState& s = ctx_.state;
  if (s.cmd_fmt == 0) {
    s.disp_on_hex = TextToHex(f.text("txt_proj_disp_on_text").text(), kDisplayOn, stores_);
    s.disp_off_hex = TextToHex(f.text("txt_proj_disp_off_text").text(), kDisplayOff, stores_);
  } else if (s.cmd_fmt == 1) {
    std::string on = f.text("txt_proj_disp_on_hex").text();
    std::string off = f.text("txt_proj_disp_off_hex").text();
    s.disp_on_hex = NormalizeHex(on);
    s.disp_off_hex = NormalizeHex(off);
  }
}

void DisplayCommands::ShowCommands() {
  Form& f = ctx_.form;
  WindowState& s = ctx_.state;
  Link& link = ctx_.link;
  f.text("txt_proj_disp_on_text").setText(HexToText(s.disp_on_hex));
  f.text("txt_proj_disp_off_text").setText(HexToText(s.disp_off_hex));
  f.text("txt_proj_disp_on_hex").setText(s.disp_on_hex);
  f.text("txt_proj_disp_off_hex").setText(s.disp_off_hex);
  ExtractOnCtrl(s.disp_on_hex, stores_, link.byte_buf, link.byte_len);
  ExtractOffCtrl(s.disp_off_hex, stores_, link.byte_buf, link.byte_len);
}

void DisplayCommands::opt_cmd_fmt_Click(int index) {
  Form& f = ctx_.form;
  WindowState& s = ctx_.state;
  Link& link = ctx_.link;
  if (s.loaded) {
    // Convert from the format in force; the boxes of that format keep their text as typed.
    if (s.cmd_fmt == 0) {
      TakeCommands();
      f.text("txt_proj_disp_on_hex").setText(s.disp_on_hex);
      f.text("txt_proj_disp_off_hex").setText(s.disp_off_hex);
    } else if (s.cmd_fmt == 1) {
      TakeCommands();
      f.text("txt_proj_disp_on_text").setText(HexToText(s.disp_on_hex));
      f.text("txt_proj_disp_off_text").setText(HexToText(s.disp_off_hex));
      ExtractOnCtrl(s.disp_on_hex, stores_, link.byte_buf, link.byte_len);
      ExtractOffCtrl(s.disp_off_hex, stores_, link.byte_buf, link.byte_len);
    }
  }
  s.cmd_fmt = static_cast<std::int16_t>(index);
  const bool text = index == 0;
  for (const char* c : {"txt_proj_disp_on_text", "txt_proj_disp_off_text"})
    f.control(c).setVisible(text);
  for (const char* c : {"cmd_cr_disp_on", "cmd_cr_disp_off"}) f.control(c).setVisible(text);
  for (const char* c : {"txt_proj_disp_on_hex", "txt_proj_disp_off_hex"})
    f.control(c).setVisible(!text);
}

void DisplayCommands::cmd_cr_Click(int which) {
  CtrlStore& store = which == kDisplayOn ? stores_.on_ctrl : stores_.off_ctrl;
  if (store.len < 0 || static_cast<std::size_t>(store.len) >= store.bytes.size()) return;
  TextBox& box = ctx_.form.text(boxesOf(which).text);
  box.setText(box.text() + kCrPlaceholder);
  store.bytes[static_cast<std::size_t>(store.len++)] = 13;
}

void DisplayCommands::cmd_send_disp(int which) {
  WindowState& s = ctx_.state;
  Link& link = ctx_.link;
  const std::string hex = which == kDisplayOn ? s.disp_on_hex : s.disp_off_hex;
  const std::size_t n = hex.size() / 3;
  if (!DisplayLineFits(which, n)) {
    // Never cut a command: one that does not fit the line buffer is not sent at all.
    link.reply_done = false;
    notice("Send fail !");
    return;
  }
  // The word, count and terminator hold no placeholders, so no store plays a part.
  std::string line = TextToHex(wordOf(which) + std::to_string(n) + ",", which, stores_) + hex +
                     TextToHex("]$\r", which, stores_);
  HexToBytes(line, link.byte_buf, link.byte_len);
  link.SendBytes();
  if (!link.reply_done) notice("Send fail !");
}

void DisplayCommands::cmd_read_disp(int which) {
  WindowState& s = ctx_.state;
  Link& link = ctx_.link;
  const std::string word = wordOf(which);
  link.SendCommand(QueryLine(word));
  const std::size_t received = std::min<std::size_t>(
      link.byte_len > 0 ? static_cast<std::size_t>(link.byte_len) : 0, link.byte_buf.size());
  const auto span =
      link.reply_done ? LocateDisplayBytes(word, link.reply_text, received) : std::nullopt;
  if (!span) return notice("Read fail !");
  // The bytes are taken from the raw reply bytes, so commas, "]$" and carriage returns inside
  // the command are kept.
  if (span->count > 0) {
    const auto first = link.byte_buf.begin() + static_cast<std::ptrdiff_t>(span->start);
    std::copy(first, first + static_cast<std::ptrdiff_t>(span->count), link.byte_buf.begin());
  }
  link.byte_len = static_cast<std::int16_t>(span->count);
  std::string& hex = which == kDisplayOn ? s.disp_on_hex : s.disp_off_hex;
  hex = BytesToHex(link.byte_buf, link.byte_len);
  const Boxes b = boxesOf(which);
  ctx_.form.text(b.text).setText(HexToText(hex));
  ctx_.form.text(b.hex).setText(hex);
  if (which == kDisplayOn)
    ExtractOnCtrl(hex, stores_, link.byte_buf, link.byte_len);
  else
    ExtractOffCtrl(hex, stores_, link.byte_buf, link.byte_len);
}

void DisplayCommands::cmd_proj_send_Click() {
  Form& f = ctx_.form;
  WindowState& s = ctx_.state;
  Link& link = ctx_.link;
  TakeCommands();
  if (s.cmd_fmt == 1) {
    // A valid entry shows normalised, an invalid one is emptied.
    f.text("txt_proj_disp_on_hex").setText(s.disp_on_hex);
    f.text("txt_proj_disp_off_hex").setText(s.disp_off_hex);
  }
  if (s.disp_on_hex.empty() || s.disp_off_hex.empty() ||
      !DisplayLineFits(kDisplayOn, s.disp_on_hex.size() / 3) ||
      !DisplayLineFits(kDisplayOff, s.disp_off_hex.size() / 3)) {
    ctx_.sv.msgbox.show(kCommandWrongText, MsgButtons::Ok, MsgIcon::Error);
    return;
  }
  Button& send = f.button("cmd_proj_send");
  send.setEnabled(false);
  ctx_.sv.pump.doEvents();
  port_.cmd_send_port();
  if (link.reply_done) {
    link.Delay(0.1f);
    cmd_send_disp(kDisplayOn);
    link.Delay(0.1f);
    cmd_send_disp(kDisplayOff);
  }
  send.setEnabled(true);
}

void DisplayCommands::cmd_proj_read_Click() {
  Button& read = ctx_.form.button("cmd_proj_read");
  Link& link = ctx_.link;
  read.setEnabled(false);
  ctx_.sv.pump.doEvents();
  port_.cmd_read_port();
  if (link.reply_done) {
    link.Delay(0.1f);
    cmd_read_disp(kDisplayOn);
    link.Delay(0.1f);
    cmd_read_disp(kDisplayOff);
  }
  read.setEnabled(true);
}

}  // namespace qx
