#pragma once
// Helpers shared by the receiver control tests: the receiver page shown, the lines sent on the
// wire, and a scripted far end for exact byte scripts.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_app.h"

namespace qx::testing_support {

inline Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Every command line written to the port since offset, split after each "]$" + CR.
inline std::vector<std::string> linesWritten(const fake::FakeSerialPort& port,
                                             std::size_t offset = 0) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = offset; i < port.written.size(); ++i) {
    cur.push_back(static_cast<char>(port.written[i]));
    if (cur.size() >= 3 && cur.compare(cur.size() - 3, 3, "]$\r") == 0) {
      lines.push_back(cur);
      cur.clear();
    }
  }
  return lines;
}

// Answers every line the tool writes with respond(line), latency_ms later; nothing when
// respond gives nothing. The receiver model is switched silent so that only the script speaks.
class ScriptedReceiver {
 public:
  using Respond = std::function<std::optional<std::string>(const std::string& line)>;

  ScriptedReceiver(fake::FakeApp& app, Respond respond, std::uint32_t latency_ms = 5)
      : app_(app), respond_(std::move(respond)), latency_(latency_ms) {
    app_.model.faults().silent = true;
    seen_ = linesWritten(app_.port).size();
    schedule();
  }
  ~ScriptedReceiver() { app_.sched.cancel(id_); }
  ScriptedReceiver(const ScriptedReceiver&) = delete;
  ScriptedReceiver& operator=(const ScriptedReceiver&) = delete;

  // The lines written since the script began.
  std::vector<std::string> lines() const {
    auto all = linesWritten(app_.port);
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(first_), all.end());
  }

 private:
  void schedule() {
    id_ = app_.sched.at(app_.sched.now64() + 1, [this] {
      auto all = linesWritten(app_.port);
      for (; seen_ < all.size(); ++seen_)
        if (auto reply = respond_(all[seen_])) app_.port.inject(bytes(*reply), latency_);
      schedule();
    });
  }

  fake::FakeApp& app_;
  Respond respond_;
  std::uint32_t latency_;
  std::size_t seen_ = 0;
  std::size_t first_ = linesWritten(app_.port).size();
  fake::Scheduler::Id id_ = 0;
};

// The word of a command line: everything up to and including the first "[".
inline std::string wordOf(const std::string& line) {
  auto b = line.find('[');
  return b == std::string::npos ? line : line.substr(0, b + 1);
}

// A receiver that answers queries from values (word -> value) and echoes settings.
inline ScriptedReceiver::Respond answering(std::map<std::string, std::string> values) {
  return [values](const std::string& line) -> std::optional<std::string> {
    const std::string word = wordOf(line);
    const std::string arg = line.substr(word.size(), line.size() - word.size() - 3);
    if (arg != "?") return line;
    auto it = values.find(word);
    return word + (it == values.end() ? std::string() : it->second) + "]$\r";
  };
}

}  // namespace qx::testing_support
