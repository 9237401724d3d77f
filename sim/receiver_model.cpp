#include "receiver_model.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qxsim {

namespace {

constexpr std::string_view kStart = "WP_";
constexpr std::string_view kTerm = "]$\r";
constexpr std::string_view kQuery = "?";

// Values at power-up: a transmitter-paired receiver in its factory settings.
constexpr std::pair<const char*, const char*> kDefaults[] = {
    {"WP_IdentifyTx[", "TX"},
    {"WP_Aspect[", "Full"},
    {"WP_Info[", "1.05"},
    {"WP_Output[", "2"},
    {"WP_OverscanEn[", "No"},
    {"WP_OverscanH[", "0"},
    {"WP_OverscanV[", "0"},
    {"WP_AudioEn[", "On"},
    {"WP_AudioHdmi[", "On"},
    {"WP_AudioLR[", "On"},
    {"WP_AutoOff[", "0"},
    {"WP_DisplayMode[", "AlwaysOn"},
    {"WP_Display[", "On"},
    {"WP_Input[", "Hdmi1"},
    {"WP_HdcpInput[", "Auto"},
    {"WP_InputPrefer[", "1"},
    {"WP_InfoTx[", "1.02"},
    {"WP_BaudrateTx[", "115200"},
    {"WP_ProjSW[", "0"},
    {"WP_AutoDispOn[", "Off"},
    {"WP_AutoDispOff[", "Off"},
    {"WP_PictureBri[", "50"},
    {"WP_PictureCon[", "50"},
    {"WP_PictureSat[", "50"},
    {"WP_PictureHue[", "50"},
    {"WP_PictureSha[", "50"},
    {"WP_DisplaySet[", "9600,8,N,1"},
    {"WP_DisplayOn[", "PWR ON\r"},
    {"WP_DisplayOff[", "PWR OFF\r"},
};

const std::array<const char*, 5> kPictureWords = {
    "WP_PictureBri[", "WP_PictureCon[", "WP_PictureSat[", "WP_PictureHue[", "WP_PictureSha["};

bool isDisplayWord(const std::string& w) { return w == "WP_DisplayOn[" || w == "WP_DisplayOff["; }

bool isAction(const std::string& w) {
  return w == "WP_SystemRst[" || w == "WP_VgaAuto[" || w == "WP_PictureRst[";
}

bool isKey(const std::string& w) {
  return w == "WP_KeyMenu[" || w == "WP_KeyMinus[" || w == "WP_KeyPlus[";
}

// Words the receiver only reports; a setting line for them is echoed but changes nothing.
bool isReadOnly(const std::string& w) {
  return w == "WP_IdentifyTx[" || w == "WP_Info[" || w == "WP_InfoTx[";
}

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Bytes FloodBytes(std::size_t n) {
  Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = i % 64;
    out[i] = static_cast<std::uint8_t>(k == 62 ? '\r' : k == 63 ? '\n' : 'a' + k % 26);
  }
  return out;
}

std::string commandWord(std::string_view name) {
  std::string w(name);
  if (w.rfind(kStart, 0) != 0) w.insert(0, kStart);
  if (w.empty() || w.back() != '[') w.push_back('[');
  return w;
}

ReceiverModel::ReceiverModel(Faults faults) : faults_(std::move(faults)) {
  for (const auto& [word, value] : kDefaults) values_[word] = value;
}

std::string ReceiverModel::value(const std::string& word) const {
  auto it = values_.find(word);
  return it == values_.end() ? std::string() : it->second;
}

void ReceiverModel::setValue(const std::string& word, const std::string& value) {
  values_[word] = value;
}

std::vector<Emission> ReceiverModel::feed(const Bytes& in) {
  std::vector<Emission> out;
  if (hung_up_) return out;
  pending_.append(in.begin(), in.end());

  std::size_t pos = 0;  // bytes of pending_ consumed so far
  while (!hung_up_) {
    // Skip anything before the next "WP_"; keep a trailing "W" or "WP" that may start one.
    const std::size_t start = pending_.find(kStart, pos);
    if (start == std::string::npos) {
      pos = std::max(pos, pending_.size() - std::min<std::size_t>(pending_.size(), 2));
      while (pos < pending_.size() &&
             kStart.substr(0, pending_.size() - pos) != std::string_view(pending_).substr(pos))
        ++pos;
      break;
    }
    pos = start;

    // The command name runs up to "[".
    std::size_t i = pos + kStart.size();
    while (i < pending_.size() && isNameChar(pending_[i])) ++i;
    if (i == pending_.size()) {
      if (pending_.size() - pos <= kMaxLine) break;  // wait for the rest
      ++pos;                                         // over-long: not a line after all
      continue;
    }
    if (pending_[i] != '[' || i == pos + kStart.size()) {
      ++pos;  // not a command word after all; look for the next start
      continue;
    }
    const std::string word = pending_.substr(pos, i + 1 - pos);
    const std::size_t arg_start = i + 1;

    // A display setting carries a count, a comma and that many raw bytes; it ends by the count.
    // Anything that does not fit that form falls back to the plain framing below and is not
    // answered as a setting.
    std::size_t end = std::string::npos;  // one past the line's terminator
    bool counted = false;
    bool incomplete = false;
    std::string arg;
    if (isDisplayWord(word) && arg_start < pending_.size() && isDigit(pending_[arg_start])) {
      std::size_t d = arg_start;
      std::size_t n = 0;
      while (d < pending_.size() && isDigit(pending_[d]) && n <= kMaxLine) {
        n = n * 10 + static_cast<std::size_t>(pending_[d] - '0');
        ++d;
      }
      const std::size_t body = d + 1;
      if (d == pending_.size()) {
        incomplete = true;
      } else if (pending_[d] == ',' && body - pos + n + kTerm.size() <= kMaxLine) {
        if (pending_.size() < body + n + kTerm.size()) {
          incomplete = true;
        } else if (std::string_view(pending_).substr(body + n, kTerm.size()) == kTerm) {
          end = body + n + kTerm.size();
          counted = true;
          arg = pending_.substr(body, n);
        }
      }
    }
    if (!incomplete && end == std::string::npos) {
      const std::size_t t = pending_.find(kTerm, arg_start);
      if (t == std::string::npos) {
        incomplete = true;
      } else if (t + kTerm.size() - pos > kMaxLine) {
        ++pos;  // over-long: not a line; look for a start inside it
        continue;
      } else {
        end = t + kTerm.size();
        arg = pending_.substr(arg_start, t - arg_start);
      }
    }
    if (incomplete) {
      if (pending_.size() - pos <= kMaxLine) break;  // wait for the rest
      ++pos;  // over-long: not a line; look for a start inside it
      continue;
    }
    const std::string line = pending_.substr(pos, end - pos);
    pos = end;
    handleLine(line, word, arg, counted, out);
  }
  if (hung_up_)
    pending_.clear();
  else
    pending_.erase(0, pos);
  return out;
}

void ReceiverModel::handleLine(const std::string& line, const std::string& word,
                               const std::string& arg, bool counted, std::vector<Emission>& out) {
  lines_.push_back(line);
  ++line_count_;

  // What the receiver does with the line; faults only change what it answers.
  std::string reply;
  bool answers = false;
  if (isAction(word)) {
    if (word == "WP_PictureRst[" && arg == "Go")
      for (const char* w : kPictureWords) values_[w] = "50";
    reply = line;
    answers = true;
  } else if (isKey(word)) {
    reply = line;
    answers = true;
  } else if (hasValue(word)) {
    if (arg == kQuery && !counted) {
      std::string asked = word;
      if (faults_.wrong_word) asked = word == "WP_Aspect[" ? "WP_Input[" : "WP_Aspect[";
      reply = queryReply(asked);
      answers = true;
    } else if (!isDisplayWord(word) || counted) {
      if (!isReadOnly(word)) values_[word] = arg;
      reply = line;
      answers = true;
    }
  }

  const bool over_silent = faults_.silent_after >= 0 && line_count_ > faults_.silent_after;
  const bool hang_up = faults_.hang_up_after >= 0 && line_count_ >= faults_.hang_up_after;
  const bool past_hang_up = faults_.hang_up_after >= 0 && line_count_ > faults_.hang_up_after;
  if (faults_.silent || word == faults_.silent_word || over_silent || past_hang_up) answers = false;

  if (answers) emit(reply, out);
  if (line_count_ == 1 && faults_.flood_bytes > 0) {
    const std::uint32_t after = out.empty() ? faults_.latency_ms : out.back().delay_ms;
    out.push_back({after, FloodBytes(faults_.flood_bytes), false});
  }
  if (hang_up) {
    Emission e;
    e.delay_ms = out.empty() ? faults_.latency_ms : out.back().delay_ms;
    e.hang_up = true;
    out.push_back(std::move(e));
    hung_up_ = true;
  }
}

std::string ReceiverModel::queryReply(const std::string& word) const {
  const std::string v = value(word);
  if (isDisplayWord(word)) return word + std::to_string(v.size()) + "," + v + std::string(kTerm);
  return word + v + std::string(kTerm);
}

void ReceiverModel::emit(const std::string& reply, std::vector<Emission>& out) const {
  const std::string all = faults_.garbage + reply;
  if (faults_.split_gap_ms > 0 && all.size() >= 2) {
    // The second write carries the final carriage return only.
    out.push_back({faults_.latency_ms, Bytes(all.begin(), all.end() - 1), false});
    out.push_back(
        {faults_.latency_ms + faults_.split_gap_ms, Bytes(all.end() - 1, all.end()), false});
  } else {
    out.push_back({faults_.latency_ms, Bytes(all.begin(), all.end()), false});
  }
}

}  // namespace qxsim
