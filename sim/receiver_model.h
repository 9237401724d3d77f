#pragma once
// A model of the receiver's RS-232 control port: bytes in, reply bytes out. Toolkit-free; the
// unit tests drive it in process through the fake serial port, qx-zenk-sim serves it on a
// pseudo-terminal.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qxsim {

using Bytes = std::vector<std::uint8_t>;

// Something the receiver sends back, delay_ms after the line that caused it was complete.
struct Emission {
  std::uint32_t delay_ms = 0;
  Bytes bytes;
  bool hang_up = false;  // the receiver goes away (the line is dropped) at this point
};

// Fault switches. Defaults: a well-behaved receiver that answers at once.
struct Faults {
  std::uint32_t latency_ms = 0;    // answer latency
  bool silent = false;             // answers nothing at all
  std::string silent_word;         // answers nothing to lines of this word ("WP_Aspect[")
  bool wrong_word = false;         // answers a query with another word's reply
  std::string garbage;             // sent before every reply
  std::uint32_t split_gap_ms = 0;  // >0: every reply in two writes this far apart
  int silent_after = -1;           // >=0: answers only the first this many lines
  int hang_up_after = -1;          // >=0: hangs up after answering line N (0: at line 1)
  std::uint32_t flood_bytes = 0;   // >0: after the first line (and its answer), this many bytes
                                   // of junk that frames no reply (see FloodBytes)
};

// The junk of a flood: lower-case letters with CR LF after every 62; no "]", so it never
// completes a reply's terminator.
Bytes FloodBytes(std::size_t n);

// The command word for a name given as "Aspect", "WP_Aspect" or "WP_Aspect[": "WP_Aspect[".
std::string commandWord(std::string_view name);

class ReceiverModel {
 public:
  explicit ReceiverModel(Faults faults = {});

  // Takes bytes from the PC (any split); returns the emissions caused by every line that these
  // bytes completed, in order.
  std::vector<Emission> feed(const Bytes& in);

  // The value a query of word answers, e.g. value("WP_Aspect[") == "Full". For
  // "WP_DisplayOn[" / "WP_DisplayOff[" the raw command bytes as a string.
  std::string value(const std::string& word) const;
  void setValue(const std::string& word, const std::string& value);
  // True for the words that hold a value (every word that answers a query).
  bool hasValue(const std::string& word) const { return values_.count(word) != 0; }

  // Every complete line received, as bytes, in order (settings, queries, keys).
  const std::vector<std::string>& lines() const { return lines_; }
  void clearLines() { lines_.clear(); }

  Faults& faults() { return faults_; }

  // True once the receiver has hung up; it then takes no more input.
  bool hungUp() const { return hung_up_; }

  // A line still being received is dropped when it grows beyond this without completing.
  static constexpr std::size_t kMaxLine = 4096;

 private:
  std::string queryReply(const std::string& word) const;
  void emit(const std::string& reply, std::vector<Emission>& out) const;
  // word: the command word; arg: the argument (for a counted line, the bytes after the comma);
  // counted: the argument came in the count-prefixed form.
  void handleLine(const std::string& line, const std::string& word, const std::string& arg,
                  bool counted, std::vector<Emission>& out);

  Faults faults_;
  std::map<std::string, std::string> values_;
  std::string pending_;  // bytes of the line being received
  std::vector<std::string> lines_;
  int line_count_ = 0;
  bool hung_up_ = false;
};

}  // namespace qxsim
