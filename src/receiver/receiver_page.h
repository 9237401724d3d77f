#pragma once
#include "link/page_context.h"

namespace qx {

class ReceiverPage {
 public:
  explicit ReceiverPage(PageContext& ctx);

 private:
  PageContext& ctx_;
};

}  // namespace qx
