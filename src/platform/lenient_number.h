#pragma once
// Lenient decimal reading, shared by the receiver's reply values and the item-by-item text
// files: leading blanks are skipped, the number ends at the first character that cannot
// continue it, and text without a leading number reads as 0. Independent of the C locale.

#include <cstdint>
#include <string_view>

namespace qx {

// The leading decimal number of text: optional sign, digits with an optional decimal point,
// an optional exponent ("1e3"). 0 when text does not start with a number (after blanks).
// Magnitudes beyond the double range give +-infinity.
double LenientDecimal(std::string_view text);

// x rounded to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Values beyond +-2^62 (infinities included) saturate there.
std::int64_t RoundHalfEvenToInt(double x);

}  // namespace qx
