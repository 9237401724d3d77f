// Reply values and lenient numbers on any reply: cutting the value out of a query reply, the
// lenient decimal reading (against the C library's strtod on the same number), rounding, the
// ProjSW position, and matching a value against the value tables.

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/lenient_number.h"
#include "receiver/vocabulary.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The word the first input byte picks: a control word, a picture word or a key word.
std::string pickWord(std::uint8_t b) {
  const int n = b % (qx::ctrl::kCount + qx::pic::kCount + 1);
  if (n < qx::ctrl::kCount) return qx::CtrlWord(n + 1);
  if (n < qx::ctrl::kCount + qx::pic::kCount) return qx::PicWord(n - qx::ctrl::kCount + 1);
  return std::string(qx::kKeyMenuWord);
}

void checkReplyValue(const std::string& word, const std::string& reply, std::size_t cut) {
  const auto v = qx::QueryReplyValue(word, reply);
  const bool begins = reply.starts_with(word);
  const bool echo = reply.starts_with(qx::QueryLine(word));
  QX_FUZZ_CHECK(v.has_value() == (begins && !echo));
  if (v) QX_FUZZ_CHECK(*v == qx::ReplyValueByLength(reply, word.size()));
  const std::string by_length = qx::ReplyValueByLength(reply, cut);
  if (reply.size() < cut + 3) {
    QX_FUZZ_CHECK(by_length.empty());
  } else {
    QX_FUZZ_CHECK(by_length.size() == reply.size() - cut - 3);
    QX_FUZZ_CHECK(reply.compare(cut, by_length.size(), by_length) == 0);
  }
}

// The leading number by the rule of the lenient reading, converted by strtod ("C" locale, as a
// fuzzer runs): blanks, sign, digits with an optional point, an exponent only with digits.
double referenceDecimal(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && isBlank(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t end = i;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && isDigit(t[j])) {
      while (j < t.size() && isDigit(t[j])) ++j;
      end = j;
    }
  }
  const std::string number(t.substr(start, end - start));
  const double v = std::strtod(number.c_str(), nullptr);
  return negative ? -v : v;
}

void checkNumber(const std::string& text) {
  const double d = qx::LenientDecimal(text);
  QX_FUZZ_CHECK(!std::isnan(d));
  QX_FUZZ_CHECK(d == referenceDecimal(text));
  QX_FUZZ_CHECK(qx::LenientDecimal(" \t" + text) == d);
  QX_FUZZ_CHECK(qx::LenientDecimal(text + "x") == d);
  if (!text.empty() && !isBlank(text[0]) && text[0] != '+' && text[0] != '-')
    QX_FUZZ_CHECK(qx::LenientDecimal("-" + text) == -d);

  // Rounding: the nearest whole number, halves to even; saturated at +-2^62.
  constexpr double kLimit = 4611686018427387904.0;
  const std::int64_t r = qx::RoundHalfEvenToInt(d);
  QX_FUZZ_CHECK(qx::LenientNumber(text) == r);
  if (std::fabs(d) < 4503599627370496.0) {  // 2^52: halves are representable below it
    const double diff = std::fabs(static_cast<double>(r) - d);
    QX_FUZZ_CHECK(diff <= 0.5);
    if (diff == 0.5) QX_FUZZ_CHECK(r % 2 == 0);
  } else if (d >= kLimit || d <= -kLimit) {
    QX_FUZZ_CHECK(r == (d > 0 ? 1 : -1) * static_cast<std::int64_t>(kLimit));
  } else {
    QX_FUZZ_CHECK(static_cast<double>(r) == d);
  }

  // ProjSW: the number divided by 5 (in double precision), rounded down.
  const std::int64_t p = qx::ProjSwPosition(text);
  if (std::fabs(d) < 1e15) QX_FUZZ_CHECK(static_cast<double>(p) == std::floor(d / 5.0));
}

void checkTables(const std::string& value, std::uint8_t pick) {
  const qx::ValueTable* tables[] = {
      &qx::AspectTable(),     &qx::DisplayModeTable(), &qx::HdcpTable(),   &qx::OnOffTable(),
      &qx::OverscanEnTable(), &qx::BaudrateTable(),    &qx::InputTable(0), &qx::InputTable(1)};
  for (const auto* t : tables) {
    if (const auto i = qx::MatchValue(*t, value)) {
      QX_FUZZ_CHECK(*i >= 0 && static_cast<std::size_t>(*i) < t->size());
      QX_FUZZ_CHECK((*t)[static_cast<std::size_t>(*i)].sent == value);
    }
  }
  const std::string trimmed = qx::Trim(value);
  QX_FUZZ_CHECK(value.find(trimmed) != std::string::npos);
  QX_FUZZ_CHECK(trimmed.empty() || (!isBlank(trimmed.front()) && !isBlank(trimmed.back())));
  QX_FUZZ_CHECK(qx::AutoOffArgument(pick % 4, value) == (pick % 4 == 0 ? "0" : trimmed));
  QX_FUZZ_CHECK(qx::SingleHdmiFor(value) == (value == "TX" ? 0 : 1));
  const int index = static_cast<int>(pick) - 128;
  for (int layout = 0; layout < 2; ++layout) {
    const auto single = static_cast<std::int16_t>(layout);
    const auto arg = qx::InputArgument(single, index);
    if (arg) QX_FUZZ_CHECK(qx::MatchValue(qx::InputTable(single), *arg).has_value());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qx::fuzz::Input in(data, size);
  const std::string word = pickWord(in.byte());
  const std::uint8_t pick = in.byte();
  const std::string reply = in.rest();
  checkReplyValue(word, reply, pick % 32);
  checkReplyValue(word, word + reply, pick % 32);
  checkNumber(reply);
  const auto v = qx::QueryReplyValue(word, word + reply);
  if (v) checkNumber(*v);
  checkTables(v ? *v : reply, pick);
  return 0;
}
