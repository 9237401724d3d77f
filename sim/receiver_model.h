#pragma once
// A model of the receiver's RS-232 control port: bytes in, reply bytes out. Toolkit-free; the
// unit tests drive it in process through the fake serial port, qx-zenk-sim serves it on a
// pseudo-terminal.

#include <cstdint>
#include <map>
#include <string>
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
  std::uint32_t latency_ms = 0;   // answer latency
  bool silent = false;            // answers nothing at all
  std::string silent_word;        // answers nothing to lines of this word ("WP_Aspect[")
  bool wrong_word = false;        // answers a query with another word's reply
  std::string garbage;            // sent before every reply
  std::uint32_t split_gap_ms = 0; // >0: every reply in two writes this far apart
  int silent_after = -1;          // >=0: goes silent after this many lines
  int hang_up_after = -1;         // >=0: hangs up after this many lines
};

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

  // Every complete line received, as bytes, in order (settings, queries, keys).
  const std::vector<std::string>& lines() const { return lines_; }
  void clearLines() { lines_.clear(); }

  Faults& faults() { return faults_; }

 private:
  Emission reply(const std::string& word, const std::string& value);
  void handleLine(const std::string& line, std::vector<Emission>& out);

  Faults faults_;
  std::map<std::string, std::string> values_;
  std::string pending_;  // bytes of the line being received
  std::vector<std::string> lines_;
  int line_count_ = 0;
};

}  // namespace qxsim
