#pragma once
#include "platform/layout.h"

namespace qx {

// The window: every control with its place, look and fixed entries.
const LayoutTable& mainLayout();

// The caption the window carries when no projector profile is loaded.
inline constexpr const char* kAppTitle = "QX-ZENK-RX v2.2.8";

}  // namespace qx
