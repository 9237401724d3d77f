#pragma once
// What every page's handlers work with: the window's controls, the services, the link and the
// window values.

#include "link/link.h"
#include "link/window_state.h"
#include "platform/form.h"
#include "platform/services.h"

namespace qx {

struct PageContext {
  Form& form;
  Services& sv;
  Link& link;
  WindowState& state;
};

}  // namespace qx
