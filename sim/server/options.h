#pragma once
// Command line of qx-zenk-sim and the small text helpers it shares with its log and record.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "receiver_model.h"

namespace qxsim {

struct Options {
  Faults faults;
  std::string link_path;    // --link: symlink to the pseudo-terminal, removed at exit
  std::string record_path;  // --record: every received line as hex, one per text line
  std::vector<std::pair<std::string, std::string>> sets;  // --set / --identify, in order
  bool quiet = false;
  bool help = false;
};

// Parses argv into options; returns an error message, or "" when the command line is fine.
std::string parseOptions(int argc, char** argv, Options& out);

const char* usageText();

// "\r", "\n", "\t", "\\" and "\xNN" in a command line argument become the bytes they name.
// Returns false on a malformed escape.
bool unescape(std::string_view text, std::string& out);

// Bytes in a readable form for the log: printable ASCII as is, the rest escaped as above.
std::string printable(std::string_view bytes);

// Bytes as upper-case hex, two digits each, no separators: "5750" for "WP".
std::string hexLine(std::string_view bytes);

}  // namespace qxsim
