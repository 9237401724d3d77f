#include "projector/port_settings.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/lenient_number.h"
#include "receiver/vocabulary.h"

namespace qx {

namespace {

constexpr std::array<std::int32_t, 7> kBauds = {2400, 9600, 19200, 38400, 56000, 57600, 115200};
constexpr std::array<const char*, 5> kParities = {"NONE", "ODD", "EVEN", "MARK", "SPACE"};
constexpr std::array<float, 3> kStopBits = {1.0f, 1.5f, 2.0f};
constexpr int kFirstDataBits = 5;
constexpr int kDataBitsEntries = 4;

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The entry of a table that equals v, or -1.
template <class Table, class V>
int indexOf(const Table& table, const V& v) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i] == v) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::string StopBitsText(float stopbits) {
  // Fixed notation, shortest digits that read back as the same float, '.' in every locale.
  std::array<char, 64> buf{};
  const auto r =
      std::to_chars(buf.data(), buf.data() + buf.size(), stopbits, std::chars_format::fixed);
  if (r.ec != std::errc()) return "0";
  return std::string(buf.data(), r.ptr);
}

std::string PortSettingsLine(std::int32_t baud, std::int16_t databits, const std::string& parity,
                             float stopbits) {
  const std::string p = upper(Trim(parity));
  return CommandLine(kDisplaySetWord, std::to_string(baud) + "," + std::to_string(databits) + "," +
                                          p.substr(0, 1) + "," + StopBitsText(stopbits));
}

std::optional<PortReading> ParsePortArgument(const std::string& arg) {
  const auto comma = arg.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const std::int64_t baud =
      RoundHalfEvenToInt(LenientDecimal(std::string_view(arg).substr(0, comma)));
  if (baud < INT32_MIN || baud > INT32_MAX) return std::nullopt;
  PortReading r;
  r.baud = static_cast<std::int32_t>(baud);
  // One character each for the data bits and the parity letter, the rest is the stop bits.
  const char d = comma + 1 < arg.size() ? arg[comma + 1] : ' ';
  r.databits = static_cast<std::int16_t>(d >= '0' && d <= '9' ? d - '0' : 0);
  if (comma + 3 < arg.size()) {
    static constexpr std::string_view kLetters = "NOEMS";
    const auto k = kLetters.find(arg[comma + 3]);
    if (k != std::string_view::npos) r.parity = kParities[k];
  }
  const std::string stop = comma + 5 <= arg.size() ? arg.substr(comma + 5) : std::string();
  if (stop == "1") r.stopbits = 1.0f;
  if (stop == "1.5") r.stopbits = 1.5f;
  if (stop == "2") r.stopbits = 2.0f;
  return r;
}

PortSettings::PortSettings(PageContext& ctx) : ctx_(ctx) {
  Form& f = ctx.form;
  WindowState& s = ctx.state;
  // Choosing an entry only records its value; nothing is sent until the frame's Send.
  f.combo("cbo_proj_baudrate").onSelect([&f, &s] {
    const int i = f.combo("cbo_proj_baudrate").selectedIndex();
    if (i >= 0 && i < static_cast<int>(kBauds.size())) s.proj_baud = kBauds[i];
  });
  f.combo("cbo_proj_databit").onSelect([&f, &s] {
    const int i = f.combo("cbo_proj_databit").selectedIndex();
    if (i >= 0 && i < kDataBitsEntries)
      s.proj_databits = static_cast<std::int16_t>(kFirstDataBits + i);
  });
  f.combo("cbo_proj_parity").onSelect([&f, &s] {
    const int i = f.combo("cbo_proj_parity").selectedIndex();
    if (i >= 0 && i < static_cast<int>(kParities.size())) s.proj_parity = kParities[i];
  });
  f.combo("cbo_proj_stopbit").onSelect([&f, &s] {
    const int i = f.combo("cbo_proj_stopbit").selectedIndex();
    if (i >= 0 && i < static_cast<int>(kStopBits.size())) s.proj_stopbits = kStopBits[i];
  });
  f.button("cmd_send_port").onClick([this] { cmd_send_port(); });
  f.button("cmd_read_port").onClick([this] { cmd_read_port(); });
}

void PortSettings::ShowPortSettings() {
  Form& f = ctx_.form;
  const WindowState& s = ctx_.state;
  auto select = [&f](const char* list, int index) {
    if (index >= 0) f.combo(list).setSelectedIndex(index);
  };
  select("cbo_proj_baudrate", indexOf(kBauds, s.proj_baud));
  if (s.proj_databits >= kFirstDataBits && s.proj_databits < kFirstDataBits + kDataBitsEntries)
    select("cbo_proj_databit", s.proj_databits - kFirstDataBits);
  select("cbo_proj_parity", indexOf(kParities, upper(Trim(s.proj_parity))));
  select("cbo_proj_stopbit", indexOf(kStopBits, s.proj_stopbits));
}

void PortSettings::SelectDefaults() {
  Form& f = ctx_.form;
  f.combo("cbo_proj_baudrate").setSelectedIndex(6);
  f.combo("cbo_proj_databit").setSelectedIndex(3);
  f.combo("cbo_proj_parity").setSelectedIndex(0);
  f.combo("cbo_proj_stopbit").setSelectedIndex(1);
  // A list already showing its default raises no selection event; the values still follow.
  WindowState& s = ctx_.state;
  s.proj_baud = 115200;
  s.proj_databits = 8;
  s.proj_parity = "NONE";
  s.proj_stopbits = 1.5f;
}

void PortSettings::fail(const char* text) {
  ctx_.link.ShowNotice(ctx_.form.label("lab_proj_reply"), text);
}

void PortSettings::cmd_send_port() {
  const WindowState& s = ctx_.state;
  ctx_.link.SendCommand(
      PortSettingsLine(s.proj_baud, s.proj_databits, s.proj_parity, s.proj_stopbits));
  if (!ctx_.link.reply_done) fail("Send fail !");
}

void PortSettings::cmd_read_port() {
  Link& link = ctx_.link;
  link.SendCommand(QueryLine(kDisplaySetWord));
  std::optional<PortReading> r;
  if (link.reply_done) {
    if (const auto arg = QueryReplyValue(kDisplaySetWord, link.reply_text))
      r = ParsePortArgument(*arg);
  }
  if (!r) {
    fail("Read fail !");
    return;
  }
  WindowState& s = ctx_.state;
  s.proj_baud = r->baud;
  s.proj_databits = r->databits;
  if (r->parity) s.proj_parity = *r->parity;
  if (r->stopbits) s.proj_stopbits = *r->stopbits;
  ShowPortSettings();
}

}  // namespace qx
