#include "projector/text_reading.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qx {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Whether a decimal number that a double cannot hold is too large (rather than too small):
// its decimal magnitude, the place of its first non-zero digit plus its exponent, is positive.
bool overflows(std::string_view num) {
  long magnitude = 0;
  bool seen_nonzero = false, after_point = false;
  std::size_t i = 0;
  for (; i < num.size() && num[i] != 'e' && num[i] != 'E'; ++i) {
    if (num[i] == '.') {
      after_point = true;
    } else if (!seen_nonzero) {
      if (num[i] != '0') {
        seen_nonzero = true;
        if (!after_point) ++magnitude;
      } else if (after_point) {
        --magnitude;
      }
    } else if (!after_point) {
      ++magnitude;
    }
  }
  long exponent = 0;
  if (i < num.size()) {
    const bool negative = i + 1 < num.size() && num[i + 1] == '-';
    for (std::size_t j = i + 1; j < num.size(); ++j)
      if (isDigit(num[j]) && exponent < 100000) exponent = exponent * 10 + (num[j] - '0');
    if (negative) exponent = -exponent;
  }
  return magnitude + exponent > 0;
}

}  // namespace

double LeadingNumber(std::string_view s, std::size_t* consumed) {
  if (consumed) *consumed = 0;
  std::size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t body = i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && isDigit(s[j])) {
      while (j < s.size() && isDigit(s[j])) ++j;
      i = j;
    }
  }
  double v = 0;
  const auto r = std::from_chars(s.data() + body, s.data() + i, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large becomes an infinity that every range check refuses.
    v = overflows(s.substr(body, i - body)) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc()) {
    return 0;
  }
  if (consumed) *consumed = i;
  return negative ? -v : v;
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double f = std::floor(v);
  const double d = v - f;
  if (d > 0.5) return f + 1;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

std::vector<std::string> ReadItems(std::string_view s) {
  std::vector<std::string> items;
  std::size_t i = 0;
  while (true) {
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i >= s.size()) break;
    std::string item;
    if (s[i] == '"') {
      const std::size_t close = s.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? s.size() : close;
      item = std::string(s.substr(i + 1, end - i - 1));
      i = end == s.size() ? end : end + 1;
      // Whatever follows the closing quote up to the separator is not part of the item.
      while (i < s.size() && s[i] != ',' && !isLineEnd(s[i])) ++i;
    } else {
      const std::size_t start = i;
      while (i < s.size() && s[i] != ',' && !isLineEnd(s[i])) ++i;
      item = std::string(s.substr(start, i - start));
    }
    items.push_back(std::move(item));
    if (i < s.size()) {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      ++i;
    }
  }
  return items;
}

}  // namespace qx
