#pragma once
// Conversions between bytes, hex text ("50 57 0D ") and display text (one character per byte,
// placeholders 7 and 8 for control bytes), and the control byte stores of the two display
// commands.

#include <array>
#include <cstdint>
#include <string>

namespace qx {

inline constexpr std::size_t kCtrlStoreSize = 75;

struct CtrlStore {
  std::array<std::uint8_t, kCtrlStoreSize> bytes{};
  std::int16_t len = 0;
};

// The stores of the display-on (on_ctrl) and display-off (off_ctrl) commands.
struct CtrlStores {
  CtrlStore on_ctrl;
  CtrlStore off_ctrl;
};

}  // namespace qx
