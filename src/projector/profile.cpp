#include "projector/profile.h"

namespace qx {

Profile::Profile(PageContext& ctx, CtrlStores& stores, PortSettings& port,
                 DisplayCommands& display)
    : ctx_(ctx), stores_(stores), port_(port), display_(display) {}

void Profile::LoadProfile() {}

}  // namespace qx
