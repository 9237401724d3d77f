#include "options.h"

#include <charconv>

namespace qxsim {

namespace {

template <typename T>
bool parseNumber(std::string_view text, T& out) {
  T v{};
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end) return false;
  out = v;
  return true;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const char* usageText() {
  return "Usage: qx-zenk-sim [options]\n"
         "Serves a simulated QX-ZENK-RX receiver on a pseudo-terminal. The first line of\n"
         "standard output is the terminal's device path; every line in (<) and out (>) is\n"
         "logged to standard error.\n"
         "\n"
         "  --link PATH          place a symlink to the device at PATH (e.g. build/bin/COM1);\n"
         "                       an existing symlink there is replaced; removed at exit\n"
         "  --record FILE        append every received line to FILE as hex, one per line\n"
         "  --latency MS         answer every line MS milliseconds late\n"
         "  --silent             answer nothing\n"
         "  --silent-word WORD   answer nothing to lines of WORD (Aspect or WP_Aspect[)\n"
         "  --wrong-word         answer queries with another word's reply\n"
         "  --garbage TEXT       send TEXT before every reply\n"
         "  --split-gap MS       send every reply in two writes, the final CR MS ms later\n"
         "  --silent-after N     answer only the first N lines\n"
         "  --hang-up-after N    hang up after answering the N-th line (0: at the first)\n"
         "  --flood BYTES        after the first line (and its answer) send BYTES bytes of junk\n"
         "  --identify TX|RX     the answer to WP_IdentifyTx[ (default TX)\n"
         "  --set WORD=VALUE     initial value of WORD (repeatable), e.g. --set Aspect=16:9\n"
         "  --quiet              no line log\n"
         "  --help               this text\n"
         "\n"
         "TEXT and VALUE take the escapes \\r \\n \\t \\\\ and \\xNN, e.g.\n"
         "--set 'DisplayOn=PWR ON\\r'.\n";
}

bool unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case '\\':
        out.push_back('\\');
        break;
      case 'x': {
        if (i + 2 >= text.size()) return false;
        const int hi = hexDigit(text[i + 1]);
        const int lo = hexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

std::string printable(std::string_view bytes) {
  static const char* kHex = "0123456789ABCDEF";
  std::string s;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\') {
      s += "\\\\";
    } else if (c == '\r') {
      s += "\\r";
    } else if (c == '\n') {
      s += "\\n";
    } else if (c == '\t') {
      s += "\\t";
    } else if (c >= 32 && c <= 126) {
      s.push_back(ch);
    } else {
      s += "\\x";
      s.push_back(kHex[c >> 4]);
      s.push_back(kHex[c & 15]);
    }
  }
  return s;
}

std::string hexLine(std::string_view bytes) {
  static const char* kHex = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    s.push_back(kHex[c >> 4]);
    s.push_back(kHex[c & 15]);
  }
  return s;
}

std::string parseOptions(int argc, char** argv, Options& out) {
  out = Options{};
  for (int i = 1; i < argc; ++i) {
    std::string flag = argv[i];
    std::string arg;
    bool has_arg = false;
    if (auto eq = flag.find('='); flag.rfind("--", 0) == 0 && eq != std::string::npos) {
      arg = flag.substr(eq + 1);
      flag.resize(eq);
      has_arg = true;
    }
    auto need = [&]() -> bool {
      if (has_arg) return true;
      if (i + 1 >= argc) return false;
      arg = argv[++i];
      has_arg = true;
      return true;
    };
    auto number = [&](auto& field) -> std::string {
      if (!need()) return flag + " needs a value";
      if (!parseNumber(arg, field)) return flag + ": not a number: " + arg;
      return "";
    };
    auto noArg = [&]() -> std::string { return has_arg ? flag + " takes no value" : ""; };

    std::string err;
    if (flag == "--help" || flag == "-h") {
      out.help = true;
    } else if (flag == "--quiet") {
      err = noArg();
      out.quiet = true;
    } else if (flag == "--silent") {
      err = noArg();
      out.faults.silent = true;
    } else if (flag == "--wrong-word") {
      err = noArg();
      out.faults.wrong_word = true;
    } else if (flag == "--latency") {
      err = number(out.faults.latency_ms);
    } else if (flag == "--split-gap") {
      err = number(out.faults.split_gap_ms);
    } else if (flag == "--flood") {
      err = number(out.faults.flood_bytes);
    } else if (flag == "--silent-after" || flag == "--hang-up-after") {
      int& field = flag == "--silent-after" ? out.faults.silent_after : out.faults.hang_up_after;
      err = number(field);
      if (err.empty() && field < 0) err = flag + " needs 0 or more";
    } else if (flag == "--silent-word") {
      if (!need() || arg.empty()) return flag + " needs a word";
      out.faults.silent_word = commandWord(arg);
    } else if (flag == "--garbage") {
      if (!need()) return flag + " needs a text";
      if (!unescape(arg, out.faults.garbage)) return flag + ": bad escape in " + arg;
    } else if (flag == "--identify") {
      if (!need() || (arg != "TX" && arg != "RX")) return flag + " needs TX or RX";
      out.sets.emplace_back("WP_IdentifyTx[", arg);
    } else if (flag == "--set") {
      if (!need()) return flag + " needs WORD=VALUE";
      const auto eq = arg.find('=');
      if (eq == std::string::npos || eq == 0) return flag + " needs WORD=VALUE: " + arg;
      std::string value;
      if (!unescape(std::string_view(arg).substr(eq + 1), value))
        return flag + ": bad escape in " + arg;
      out.sets.emplace_back(commandWord(std::string_view(arg).substr(0, eq)), value);
    } else if (flag == "--link" || flag == "--record") {
      if (!need() || arg.empty()) return flag + " needs a path";
      (flag == "--link" ? out.link_path : out.record_path) = arg;
    } else {
      return "unknown option: " + std::string(argv[i]);
    }
    if (!err.empty()) return err;
  }
  return "";
}

}  // namespace qxsim
