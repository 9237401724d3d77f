#pragma once
#include "link/page_context.h"

namespace qx {

class PanelKeys {
 public:
  explicit PanelKeys(PageContext& ctx);
  // The window's key-down preview: J, K and L press the receiver's keys on page 2.
  void KeyDown(int key_code, int shift);

 private:
  PageContext& ctx_;
};

}  // namespace qx
