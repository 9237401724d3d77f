#include "receiver/panel_keys.h"

namespace qx {

PanelKeys::PanelKeys(PageContext& ctx) : ctx_(ctx) {}

void PanelKeys::KeyDown(int, int) {}

}  // namespace qx
