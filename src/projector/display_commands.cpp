#include "projector/display_commands.h"

namespace qx {

DisplayCommands::DisplayCommands(PageContext& ctx, CtrlStores& stores, PortSettings& port)
    : ctx_(ctx), stores_(stores), port_(port) {}

}  // namespace qx
