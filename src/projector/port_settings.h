#pragma once
#include "link/page_context.h"

namespace qx {

class PortSettings {
 public:
  explicit PortSettings(PageContext& ctx);

 private:
  PageContext& ctx_;
};

}  // namespace qx
