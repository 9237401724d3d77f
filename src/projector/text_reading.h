#pragma once
// Reading numbers and items out of received text and profile files: the lenient number
// reading (leading blanks skipped, the number ends at the first character that cannot continue
// it, no number gives 0) and the free item format of the small text files (items separated by
// line ends or commas, blanks before an item skipped, a quoted item runs to the next quote).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The number at the start of s, read leniently; 0 when s starts with no number. consumed, when
// given, receives the characters used, leading blanks included (0 without a number). A number
// too large for a double gives an infinity of its sign.
double LeadingNumber(std::string_view s, std::size_t* consumed = nullptr);

// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double v);

// The items of a small text file, in order, quotes removed.
std::vector<std::string> ReadItems(std::string_view contents);

}  // namespace qx
