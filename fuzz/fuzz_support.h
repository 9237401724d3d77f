#pragma once
// Shared pieces of the fuzz targets: a check that stops the run with a message (under libFuzzer
// the abort becomes a reported crash with the input saved), and a reader that splits the fuzz
// input into the parts a target needs.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define QX_FUZZ_CHECK(cond)                                                              \
  do {                                                                                   \
    if (!(cond)) {                                                                       \
      std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace qx::fuzz {

// Reads the fuzz input front to back; past its end every read gives zeros / empty text.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  std::size_t left() const { return size_ - pos_; }
  std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
  std::uint16_t u16() {
    const std::uint16_t hi = byte();
    return static_cast<std::uint16_t>(hi << 8 | byte());
  }
  // The next n bytes (fewer at the end) as a byte string.
  std::string take(std::size_t n) {
    n = std::min(n, left());
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  std::string rest() { return take(left()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The link's terminator recognition, one byte at a time: term goes "", "]", "]$", "]$" + CR
// and stays complete; any byte that does not continue the match starts it over from "" (a
// second "]" included).
inline void FeedTerminator(std::string& term, char b) {
  if (term == "]$\r") return;
  if (term.empty())
    term = b == ']' ? "]" : "";
  else if (term == "]")
    term = b == '$' ? "]$" : "";
  else
    term = b == '\r' ? "]$\r" : "";
}

// Whether bytes, received in one waited transaction, complete its reply.
inline bool CompletesReply(const std::string& bytes) {
  std::string term;
  for (char b : bytes) FeedTerminator(term, b);
  return term == "]$\r";
}

}  // namespace qx::fuzz
