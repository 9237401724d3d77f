#include "codec/hex_codec.h"

namespace qx {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string trimSpaces(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

std::uint8_t digitValue(char c) {
  return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

void appendHex(std::string& out, std::uint8_t b) {
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 0x0F];
  out += ' ';
}

// Calls f(value) for each group of a normalised hex text ("50 0D ").
template <class F>
void forEachGroup(const std::string& normalised, F f) {
  for (std::size_t i = 0; i + 1 < normalised.size(); i += 3)
    f(static_cast<std::uint8_t>(digitValue(normalised[i]) << 4 | digitValue(normalised[i + 1])));
}

std::int16_t clampedLen(std::int16_t len, std::size_t cap) {
  if (len < 0) return 0;
  return static_cast<std::size_t>(len) > cap ? static_cast<std::int16_t>(cap) : len;
}

void extract(std::string& hex, CtrlStore& store, CodecBuf& buf, std::int16_t& len) {
  HexToBytes(hex, buf, len);
  store.len = 0;
  for (std::int16_t i = 0; i < clampedLen(len, buf.size()); ++i) {
    const std::uint8_t b = buf[static_cast<std::size_t>(i)];
    if (b < 32 || b > 126) store.bytes[static_cast<std::size_t>(store.len++)] = b;
  }
}

}  // namespace

std::string NormalizeHex(std::string& text) {
  text = trimSpaces(text);
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (text.empty()) return {};
  std::string out;
  out.reserve(text.size() + text.size() / 2 + 3);
  int digits = 0;  // digits of the current group
  for (char c : text) {
    if (c == ' ') {
      // Runs of spaces count as one separator; a one-digit group gets its leading zero.
      if (digits == 1) out.insert(out.size() - 1, 1, '0');
      if (digits != 0) out += ' ';
      digits = 0;
    } else if (isHexDigit(c)) {
      if (++digits == 3) return {};
      out += c;
    } else {
      return {};
    }
  }
  // The trimmed text ends with a digit: complete the last group.
  if (digits == 1) out.insert(out.size() - 1, 1, '0');
  out += ' ';
  return out;
}

void HexToBytes(std::string& text, CodecBuf& buf, std::int16_t& len) {
  len = 0;
  text = trimSpaces(text);
  if (text.empty()) return;
  text = NormalizeHex(text);
  forEachGroup(text, [&](std::uint8_t v) {
    if (static_cast<std::size_t>(len) < buf.size()) buf[static_cast<std::size_t>(len++)] = v;
  });
}

std::string BytesToHex(const CodecBuf& buf, std::int16_t len) {
  std::string out;
  const std::int16_t n = clampedLen(len, buf.size());
  for (std::int16_t i = 0; i < n; ++i) appendHex(out, buf[static_cast<std::size_t>(i)]);
  return out;
}

std::string HexToText(std::string& text) {
  text = trimSpaces(text);
  if (text.empty()) return {};
  text = NormalizeHex(text);
  std::string out;
  forEachGroup(text, [&](std::uint8_t v) {
    if (v == 13)
      out += kCrPlaceholder;
    else if (v >= 32 && v <= 126)
      out += static_cast<char>(v);
    else
      out += kOtherPlaceholder;
  });
  return out;
}

std::string TextToHex(const std::string& text, int which, const CtrlStores& stores) {
  if (text.empty()) return {};
  const CtrlStore& store = which == kDisplayOn ? stores.on_ctrl : stores.off_ctrl;
  const std::int16_t count = clampedLen(store.len, store.bytes.size());
  const bool ends_with_cr = count > 0 && store.bytes[static_cast<std::size_t>(count - 1)] == 13;
  std::string out;
  out.reserve(text.size() * 3);
  std::size_t k = 0;  // next store entry
  for (std::size_t j = 0; j < text.size(); ++j) {
    const char c = text[j];
    std::uint8_t b = static_cast<std::uint8_t>(c);
    if (c == kOtherPlaceholder || c == kCrPlaceholder) {
      if (j + 1 == text.size() && ends_with_cr) {
        b = 13;
      } else {
        if (k >= store.bytes.size()) return {};
        b = store.bytes[k];
      }
      ++k;
    }
    appendHex(out, b);
  }
  return out;
}

void ExtractOnCtrl(std::string& disp_on_hex, CtrlStores& stores, CodecBuf& buf, std::int16_t& len) {
  extract(disp_on_hex, stores.on_ctrl, buf, len);
}

void ExtractOffCtrl(std::string& disp_off_hex, CtrlStores& stores, CodecBuf& buf,
                    std::int16_t& len) {
  extract(disp_off_hex, stores.off_ctrl, buf, len);
}

}  // namespace qx
