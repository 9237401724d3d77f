#include "shell/state_file.h"

#include "platform/item_reader.h"

namespace qx {

AppState ParseAppState(const std::string& contents, AppState s) {
  ItemReader r(contents);
  auto int16 = [&r](std::int16_t& into) {
    if (r.atEnd()) return false;
    if (auto v = r.nextInt16()) into = *v;
    return true;
  };
  if (!int16(s.com_port) || !int16(s.auto_clear) || !int16(s.cmd_fmt)) return s;
  if (auto path = r.next()) {
    s.profile_path = *path;
  } else {
    return s;
  }
  int16(s.page);
  return s;
}

AppState SanitizeAppState(AppState s) {
  if (s.com_port < 1 || s.com_port > 9) s.com_port = 1;
  if (s.auto_clear != 0 && s.auto_clear != 1) s.auto_clear = 0;
  if (s.cmd_fmt != 0 && s.cmd_fmt != 1) s.cmd_fmt = 0;
  return s;
}

std::string FormatAppState(const AppState& s) {
  std::string out;
  out += std::to_string(s.com_port) + "\r\n";
  out += std::to_string(s.auto_clear) + "\r\n";
  out += std::to_string(s.cmd_fmt) + "\r\n";
  out += "\"" + s.profile_path + "\"\r\n";
  out += std::to_string(s.page) + "\r\n";
  return out;
}

}  // namespace qx
