#include "receiver/readback.h"

namespace qx {

ReadBack::ReadBack(PageContext& ctx) : ctx_(ctx) {}

void ReadBack::ApplyReadback(int) {}

}  // namespace qx
