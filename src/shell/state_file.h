#pragma once
// The application state file: COM port, log auto-clear, edit format, current profile and page,
// one value per line, read at start-up and written at exit.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/services.h"

namespace qx {

inline constexpr const char* kStateFileName = "QX_ZENK_RX_AP.ini";

struct AppState {
  std::int16_t com_port = 1;
  std::int16_t auto_clear = 0;
  std::int16_t cmd_fmt = 0;
  std::string profile_path;
  std::int16_t page = 0;
};

// Reads the file's five values over the defaults. A missing or unreadable file leaves every
// default; a short file keeps the values it has. A value that does not fit 16 bits keeps its
// default. Values are not range-checked here (see SanitizeAppState).
AppState ParseAppState(const std::string& contents, AppState defaults = {});

// Values the window can apply: a COM port outside 1..9 becomes 1; auto-clear and the edit format
// other than 0 or 1 become 0. The page is kept as read (a page outside 0..2 shows no page).
AppState SanitizeAppState(AppState s);

// The file's bytes: five lines ended by CR LF, numbers in decimal, the path in double quotes.
std::string FormatAppState(const AppState& s);

}  // namespace qx
