#pragma once
// A receiver that answers from a script: the model stays silent, and each line the tool sends
// is answered with the reply set for its command word, 5 ms after it went out. Words without a
// reply get no answer. Lets a test give exact reply bytes (binary ones included) to every step
// of a sequence, whatever the timing of the sequence.

#include <map>
#include <string>

#include "fake/fake_app.h"

namespace qx::test_support {

class ScriptedReceiver {
 public:
  explicit ScriptedReceiver(fake::FakeApp& app) : app_(app) {
    app.model.faults().silent = true;
    seen_ = app.model.lines().size();
    poll();
  }
  ~ScriptedReceiver() { app_.sched.cancel(id_); }
  ScriptedReceiver(const ScriptedReceiver&) = delete;
  ScriptedReceiver& operator=(const ScriptedReceiver&) = delete;

  // Every line beginning with word is answered with reply.
  void answer(const std::string& word, const std::string& reply) { replies_[word] = reply; }
  void silence(const std::string& word) { replies_.erase(word); }

 private:
  void poll() {
    const auto& lines = app_.model.lines();
    if (lines.size() < seen_) seen_ = 0;
    for (; seen_ < lines.size(); ++seen_)
      for (const auto& [word, reply] : replies_)
        if (lines[seen_].starts_with(word)) app_.port.inject(Bytes(reply.begin(), reply.end()), 5);
    id_ = app_.sched.at(app_.sched.now64() + 1, [this] { poll(); });
  }

  fake::FakeApp& app_;
  std::map<std::string, std::string> replies_;
  std::size_t seen_ = 0;
  fake::Scheduler::Id id_ = 0;
};

inline std::string written(const fake::FakeApp& app) {
  return std::string(app.port.written.begin(), app.port.written.end());
}

}  // namespace qx::test_support
