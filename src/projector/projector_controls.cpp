#include "projector/projector_controls.h"

namespace qx {

ProjectorControls::ProjectorControls(PageContext& ctx, ReadBack& readback)
    : ctx_(ctx), readback_(readback) {}

}  // namespace qx
