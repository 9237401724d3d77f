#include "platform/lenient_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qx {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The power of ten of a decimal number's first significant digit ("123" 2, "0.00123" -3,
// "1.5e7" 7), from its whole digits, its point and fraction digits (".00123" or "") and its
// exponent ("e7", "E-5" or ""). Saturates far beyond the double range; all zeros give the lowest.
std::int64_t leadingPower(std::string_view whole, std::string_view fraction,
                          std::string_view exponent) {
  constexpr std::int64_t kFar = 1'000'000'000;
  std::int64_t power = -kFar;
  if (const auto nz = whole.find_first_not_of('0'); nz != std::string_view::npos) {
    power = static_cast<std::int64_t>(whole.size() - nz) - 1;
  } else if (const auto fz = fraction.find_first_not_of('0', 1); fz != std::string_view::npos) {
    power = -static_cast<std::int64_t>(fz);
  } else {
    return power;
  }
  std::int64_t e = 0;
  for (char c : exponent)
    if (isDigit(c)) e = std::min(kFar, e * 10 + (c - '0'));
  return exponent.find('-') != std::string_view::npos ? power - e : power + e;
}

}  // namespace

double LenientDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The longest prefix that is a decimal number: digits, point, digits, exponent.
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  const std::size_t whole_end = i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  const std::size_t fraction_end = i;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      end = j;  // the exponent continues the number only when it has digits
    }
  }
  const std::string number(text.substr(start, end - start));
  double value = 0.0;
  const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large gives infinity; too small (1e-999, 0.000...1, 0.000...1e5) is as good as zero.
    // The first significant digit's place decides, not the sign of the exponent alone.
    const std::int64_t power = leadingPower(text.substr(start, whole_end - start),
                                            text.substr(whole_end, fraction_end - whole_end),
                                            text.substr(fraction_end, end - fraction_end));
    value = power >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int64_t RoundHalfEvenToInt(double x) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  if (std::isnan(x)) return 0;
  if (x >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (x <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  const double down = std::floor(x);
  const double diff = x - down;
  double r = down;
  if (diff > 0.5) {
    r = down + 1.0;
  } else if (diff == 0.5) {
    r = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
  }
  return static_cast<std::int64_t>(r);
}

}  // namespace qx
