#pragma once
#include "codec/hex_codec.h"
#include "link/page_context.h"
#include "projector/port_settings.h"

namespace qx {

class DisplayCommands {
 public:
  DisplayCommands(PageContext& ctx, CtrlStores& stores, PortSettings& port);

 private:
  PageContext& ctx_;
  CtrlStores& stores_;
  PortSettings& port_;
};

}  // namespace qx
