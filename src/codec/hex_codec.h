#pragma once
// Conversions between bytes, hex text ("50 57 0D ") and display text (one character per byte,
// placeholders 7 and 8 for control bytes), and the control byte stores of the two display
// commands.
//
// Texts are byte strings in the single-byte code page: each char is one byte. Functions that
// take a text by reference normalise it in place, as their comments say. The byte buffer and
// the stores hold 75 entries; nothing here reads or writes beyond them, and of a longer byte
// string the first 75 bytes are kept.

#include <array>
#include <cstdint>
#include <string>

namespace qx {

inline constexpr std::size_t kCtrlStoreSize = 75;
inline constexpr std::size_t kCodecBufSize = 75;

// A byte buffer of the size of the link's byte_buf; its count is passed beside it.
using CodecBuf = std::array<std::uint8_t, kCodecBufSize>;

// Placeholder characters of the display text.
inline constexpr char kOtherPlaceholder = 7;  // any byte outside 32..126 except 13
inline constexpr char kCrPlaceholder = 8;     // a carriage return

struct CtrlStore {
  std::array<std::uint8_t, kCtrlStoreSize> bytes{};
  std::int16_t len = 0;
};

// The stores of the display-on (on_ctrl) and display-off (off_ctrl) commands.
struct CtrlStores {
  CtrlStore on_ctrl;
  CtrlStore off_ctrl;
};

// Selector of TextToHex: which command's store fills the placeholders.
inline constexpr int kDisplayOn = 1;
inline constexpr int kDisplayOff = 0;

// The normalised hex text ("0A 05 ") of text, or "" when text is empty or invalid. text
// becomes its own upper-case form without leading and trailing spaces.
std::string NormalizeHex(std::string& text);

// Fills buf/len with the bytes of the hex text (len 0 when empty or invalid; the first 75
// bytes of a longer text). text becomes its normalised form, "" when invalid.
void HexToBytes(std::string& text, CodecBuf& buf, std::int16_t& len);

// Hex text of buf[0 .. len-1] (len taken within 0..75).
std::string BytesToHex(const CodecBuf& buf, std::int16_t len);

// Display text of the hex text ("" when empty or invalid). text becomes its normalised form,
// "" when invalid.
std::string HexToText(std::string& text);

// Hex text of a display text. Placeholders take the bytes of the chosen store (kDisplayOn or
// kDisplayOff) in order, except that a placeholder ending the text becomes a carriage return
// whenever the store ends with one. A text needing more placeholders than the store can hold
// (75) has no hex form: the result is "".
std::string TextToHex(const std::string& text, int which, const CtrlStores& stores);

// HexToBytes(disp_on_hex) into buf/len, then the display-on store holds the command's bytes
// outside 32..126, in order.
void ExtractOnCtrl(std::string& disp_on_hex, CtrlStores& stores, CodecBuf& buf, std::int16_t& len);
// The same for the display-off command and its store.
void ExtractOffCtrl(std::string& disp_off_hex, CtrlStores& stores, CodecBuf& buf,
                    std::int16_t& len);

}  // namespace qx
