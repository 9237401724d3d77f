#pragma once
#include "codec/hex_codec.h"
#include "link/page_context.h"
#include "projector/display_commands.h"
#include "projector/port_settings.h"

namespace qx {

// Projector profile files: Load and Save buttons, LoadProfile, SaveProfile, the caption.
class Profile {
 public:
  Profile(PageContext& ctx, CtrlStores& stores, PortSettings& port, DisplayCommands& display);
  // Loads the file named by profile_path into the page, or the default port settings.
  void LoadProfile();

 private:
  PageContext& ctx_;
  CtrlStores& stores_;
  PortSettings& port_;
  DisplayCommands& display_;
};

}  // namespace qx
