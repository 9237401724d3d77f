#include "projector/port_settings.h"

namespace qx {

PortSettings::PortSettings(PageContext& ctx) : ctx_(ctx) {}

}  // namespace qx
