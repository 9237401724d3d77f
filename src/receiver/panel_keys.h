#pragma once
// The control panel page: the Menu, minus and plus keys of the receiver, as buttons and as the
// keyboard letters J, K and L.

#include "link/page_context.h"

namespace qx {

class PanelKeys {
 public:
  // Wires cmd_btn_menu, cmd_btn_minus and cmd_btn_plus.
  explicit PanelKeys(PageContext& ctx);
  // The window's key-down preview: on the control panel page J, K and L press the receiver's
  // keys, at most one per pause; the key is not swallowed.
  void KeyDown(int key_code, int shift);

 private:
  PageContext& ctx_;
};

}  // namespace qx
