#pragma once
// The Projector Controls frame: Auto Display On / Off and the ProjSW time are sent when chosen;
// Read asks the receiver for all three and sets the lists.

#include "link/page_context.h"
#include "receiver/readback.h"

namespace qx {

class ProjectorControls {
 public:
  // Wires cbo_auto_on, cbo_auto_off, cbo_projsw and cmd_read_proj.
  ProjectorControls(PageContext& ctx, ReadBack& readback);

  // cbo_auto_on / cbo_auto_off (word ctrl::kAutoDispOn / kAutoDispOff): sends "On" or "Off"
  // and waits; no failure notice.
  void cbo_auto_Click(const char* list, int word);
  // cbo_projsw: sends the chosen seconds without waiting.
  void cbo_projsw_Click();
  // Queries words 21 to 23 and lets ApplyReadback set the lists; ends silently at the first
  // query without a usable reply.
  void cmd_read_proj_Click();

 private:
  PageContext& ctx_;
  ReadBack& readback_;
};

}  // namespace qx
