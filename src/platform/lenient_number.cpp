#include "platform/lenient_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qx {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

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
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
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
    // Too large gives infinity; too small (1e-999, 0.000...1) is as good as zero.
    const std::size_t e = number.find_first_of("eE");
    const bool tiny = e != std::string::npos
                          ? number[e + 1] == '-'
                          : number.find_first_not_of("0.") == std::string::npos ||
                                number.find_first_not_of('0') == number.find('.');
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
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
