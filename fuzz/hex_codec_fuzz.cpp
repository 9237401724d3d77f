// The hex codec on any text: normalising, hex to bytes and back, hex to display text and back
// through the control byte stores.

#include <memory>
#include <string>

#include "codec/hex_codec.h"
#include "fuzz_support.h"

namespace {

using qx::CodecBuf;

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// "0A 05 ": groups of two upper-case hex digits, each followed by one space.
bool isNormalised(const std::string& hex) {
  if (hex.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < hex.size(); i += 3)
    if (!isHexDigit(hex[i]) || !isHexDigit(hex[i + 1]) || hex[i + 2] != ' ') return false;
  return true;
}

bool isPrintable(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 32 && b <= 126;
}

// The display text character of a byte.
char textChar(unsigned char b) {
  if (b == 13) return qx::kCrPlaceholder;
  return b >= 32 && b <= 126 ? static_cast<char>(b) : qx::kOtherPlaceholder;
}

void checkHexText(const std::string& input) {
  std::string t = input;
  const std::string norm = qx::NormalizeHex(t);
  QX_FUZZ_CHECK(isNormalised(norm));
  const std::size_t groups = norm.size() / 3;
  if (!norm.empty()) {
    // Normalising twice changes nothing; the text became its trimmed upper-case form.
    std::string again = norm;
    QX_FUZZ_CHECK(qx::NormalizeHex(again) == norm);
    std::string t2 = t;
    QX_FUZZ_CHECK(qx::NormalizeHex(t2) == norm);
  }

  // Bytes: the buffer on the heap on its own, so a write past its 75 entries shows.
  auto buf = std::make_unique<CodecBuf>();
  std::int16_t len = -1;
  std::string h = input;
  qx::HexToBytes(h, *buf, len);
  QX_FUZZ_CHECK(len >= 0 && static_cast<std::size_t>(len) <= qx::kCodecBufSize);
  QX_FUZZ_CHECK(static_cast<std::size_t>(len) == std::min(groups, qx::kCodecBufSize));
  QX_FUZZ_CHECK(h == norm);
  // The output length is 3 x bytes, and the bytes give back the hex they came from.
  const std::string back = qx::BytesToHex(*buf, len);
  QX_FUZZ_CHECK(back.size() == 3 * static_cast<std::size_t>(len));
  QX_FUZZ_CHECK(back == norm.substr(0, back.size()));

  // Display text: one character per group, printable or a placeholder.
  std::string x = input;
  const std::string text = qx::HexToText(x);
  QX_FUZZ_CHECK(x == norm);
  QX_FUZZ_CHECK(text.size() == groups);
  for (char c : text)
    QX_FUZZ_CHECK(isPrintable(c) || c == qx::kCrPlaceholder || c == qx::kOtherPlaceholder);

  // Hex -> text -> hex gives the same bytes when the stores come from the same command.
  if (len > 0) {
    qx::CtrlStores stores;
    std::string on = back;
    auto scratch = std::make_unique<CodecBuf>();
    std::int16_t n = 0;
    qx::ExtractOnCtrl(on, stores, *scratch, n);
    QX_FUZZ_CHECK(n == len);
    QX_FUZZ_CHECK(stores.on_ctrl.len >= 0 &&
                  static_cast<std::size_t>(stores.on_ctrl.len) <= qx::kCtrlStoreSize);
    for (std::int16_t i = 0; i < stores.on_ctrl.len; ++i)
      QX_FUZZ_CHECK(!isPrintable(static_cast<char>(stores.on_ctrl.bytes[i])));
    std::string on_copy = back;
    const std::string shown = qx::HexToText(on_copy);
    QX_FUZZ_CHECK(qx::TextToHex(shown, qx::kDisplayOn, stores) == back);
  }
}

// Display text -> hex -> text: printable text comes back as it was; any other byte comes back
// as its placeholder, and a placeholder as the class of the store byte it took.
// The store is the one of a command made of command_bytes (its first 75).
void checkDisplayText(const std::string& text, const std::string& command_bytes) {
  auto buf = std::make_unique<CodecBuf>();
  const std::size_t n = std::min(command_bytes.size(), qx::kCodecBufSize);
  std::copy(command_bytes.begin(), command_bytes.begin() + static_cast<std::ptrdiff_t>(n),
            buf->begin());
  std::string command_hex = qx::BytesToHex(*buf, static_cast<std::int16_t>(n));
  qx::CtrlStores stores;
  std::int16_t len = 0;
  qx::ExtractOffCtrl(command_hex, stores, *buf, len);
  const qx::CtrlStore& store = stores.off_ctrl;
  QX_FUZZ_CHECK(store.len >= 0 && static_cast<std::size_t>(store.len) <= qx::kCtrlStoreSize);
  const bool ends_with_cr =
      store.len > 0 && store.bytes[static_cast<std::size_t>(store.len - 1)] == 13;

  const std::string hex = qx::TextToHex(text, qx::kDisplayOff, stores);
  QX_FUZZ_CHECK(isNormalised(hex));
  // Placeholders that take a store entry: all but one ending the text when the store ends
  // with a carriage return.
  std::size_t needed = 0;
  for (char c : text)
    if (c == qx::kCrPlaceholder || c == qx::kOtherPlaceholder) ++needed;
  if (!text.empty() && ends_with_cr &&
      (text.back() == qx::kCrPlaceholder || text.back() == qx::kOtherPlaceholder))
    --needed;
  if (text.empty() || needed > qx::kCtrlStoreSize) {
    QX_FUZZ_CHECK(hex.empty());
    return;
  }
  QX_FUZZ_CHECK(hex.size() == 3 * text.size());
  std::string h = hex;
  const std::string round = qx::HexToText(h);
  QX_FUZZ_CHECK(round.size() == text.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == qx::kCrPlaceholder || c == qx::kOtherPlaceholder) {
      const unsigned char b = i + 1 == text.size() && ends_with_cr ? 13 : store.bytes[k];
      ++k;
      QX_FUZZ_CHECK(round[i] == textChar(b));
    } else {
      QX_FUZZ_CHECK(round[i] == textChar(static_cast<unsigned char>(c)));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qx::fuzz::Input in(data, size);
  const std::string all(reinterpret_cast<const char*>(data), size);
  checkHexText(all);

  // Bytes -> hex -> bytes for the first 75 bytes.
  auto buf = std::make_unique<CodecBuf>();
  const std::size_t n = std::min(size, qx::kCodecBufSize);
  std::copy(data, data + n, buf->begin());
  std::string hex = qx::BytesToHex(*buf, static_cast<std::int16_t>(n));
  QX_FUZZ_CHECK(hex.size() == 3 * n);
  auto back = std::make_unique<CodecBuf>();
  std::int16_t len = 0;
  qx::HexToBytes(hex, *back, len);
  QX_FUZZ_CHECK(static_cast<std::size_t>(len) == n);
  QX_FUZZ_CHECK(
      std::equal(buf->begin(), buf->begin() + static_cast<std::ptrdiff_t>(n), back->begin()));

  // A display text and, from the rest, the command whose store fills its placeholders.
  const std::size_t text_len = in.byte();
  const std::string text = in.take(text_len);
  checkDisplayText(text, in.rest());
  return 0;
}
