#pragma once
// Values owned by the window and shared by its pages.

#include <cstdint>
#include <string>

namespace qx {

struct WindowState {
  std::int16_t page = 0;  // 0 Projector, 1 Receiver, 2 Control Panel
  bool loaded = false;    // false during start-up, true afterwards
  bool reading = false;   // true while a read-back loop sets list selections
  std::int16_t single_hdmi =
      1;                     // input list layout: non-zero "Hdmi","Vga"; 0 "Hdmi1","Hdmi2","Vga"
  std::int16_t cmd_fmt = 0;  // projector command edit format: 0 text, 1 hex
  std::string disp_on_hex;   // display-on command as normalised hex text
  std::string disp_off_hex;  // display-off command as normalised hex text
  std::int32_t proj_baud = 0;
  std::int16_t proj_databits = 0;
  std::string proj_parity;
  float proj_stopbits = 0;
  std::string profile_path;  // current projector profile, empty when none
};

}  // namespace qx
