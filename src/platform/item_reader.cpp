#include "platform/item_reader.h"

#include <cmath>
#include <limits>

#include "platform/lenient_number.h"

namespace qx {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isSeparator(char c) { return c == ',' || isLineEnd(c); }

template <class Int>
std::optional<Int> fitting(std::int64_t v) {
  if (v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max())
    return std::nullopt;
  return static_cast<Int>(v);
}

}  // namespace

ItemReader::ItemReader(std::string contents) : text_(std::move(contents)) {}

void ItemReader::skipBlanks(std::size_t& pos) const {
  while (pos < text_.size() && isBlank(text_[pos])) ++pos;
}

bool ItemReader::atEnd() const {
  std::size_t p = pos_;
  skipBlanks(p);
  return p >= text_.size();
}

// Consumes the separator at pos_, if any: a comma, or one line end (CR LF counts as one).
void ItemReader::skipSeparator() {
  if (pos_ >= text_.size()) return;
  const char c = text_[pos_++];
  if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

std::optional<std::string> ItemReader::next() {
  if (atEnd()) {
    pos_ = text_.size();
    return std::nullopt;
  }
  skipBlanks(pos_);
  std::string item;
  if (text_[pos_] == '"') {
    const std::size_t close = text_.find('"', pos_ + 1);
    if (close == std::string::npos) {
      item = text_.substr(pos_ + 1);
      pos_ = text_.size();
      return item;
    }
    item = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    while (pos_ < text_.size() && !isSeparator(text_[pos_])) ++pos_;
  } else {
    const std::size_t begin = pos_;
    while (pos_ < text_.size() && !isSeparator(text_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > begin && isBlank(text_[end - 1])) --end;
    item = text_.substr(begin, end - begin);
  }
  skipSeparator();
  return item;
}

std::optional<std::int16_t> ItemReader::nextInt16() {
  auto item = next();
  if (!item) return std::nullopt;
  return fitting<std::int16_t>(RoundHalfEvenToInt(LenientDecimal(*item)));
}

std::optional<std::int32_t> ItemReader::nextInt32() {
  auto item = next();
  if (!item) return std::nullopt;
  return fitting<std::int32_t>(RoundHalfEvenToInt(LenientDecimal(*item)));
}

std::optional<float> ItemReader::nextFloat() {
  auto item = next();
  if (!item) return std::nullopt;
  const double v = LenientDecimal(*item);
  if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(v);
}

}  // namespace qx
