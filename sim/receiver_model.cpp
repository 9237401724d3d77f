// Minimal placeholder model: answers queries with stored values and echoes settings.
#include "receiver_model.h"

namespace qxsim {

ReceiverModel::ReceiverModel(Faults faults) : faults_(std::move(faults)) {
  values_["WP_Aspect["] = "Full";
}

std::string ReceiverModel::value(const std::string& word) const {
  auto it = values_.find(word);
  return it == values_.end() ? std::string() : it->second;
}

void ReceiverModel::setValue(const std::string& word, const std::string& v) { values_[word] = v; }

Emission ReceiverModel::reply(const std::string& word, const std::string& v) {
  std::string s = word + v + "]$\r";
  return Emission{faults_.latency_ms, Bytes(s.begin(), s.end()), false};
}

void ReceiverModel::handleLine(const std::string& line, std::vector<Emission>& out) {
  lines_.push_back(line);
  if (faults_.silent) return;
  auto b = line.find('[');
  if (b == std::string::npos) return;
  std::string word = line.substr(0, b + 1);
  std::string arg = line.substr(b + 1, line.size() - b - 4);
  if (arg == "?") {
    out.push_back(reply(word, value(word)));
  } else {
    values_[word] = arg;
    out.push_back(reply(word, arg));
  }
}

std::vector<Emission> ReceiverModel::feed(const Bytes& in) {
  std::vector<Emission> out;
  for (auto b : in) {
    pending_.push_back(static_cast<char>(b));
    if (pending_.size() >= 3 && pending_.compare(pending_.size() - 3, 3, "]$\r") == 0) {
      handleLine(pending_, out);
      pending_.clear();
    }
  }
  return out;
}

}  // namespace qxsim
