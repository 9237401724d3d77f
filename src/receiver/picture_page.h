#pragma once
#include "link/page_context.h"

namespace qx {

class PicturePage {
 public:
  explicit PicturePage(PageContext& ctx);

 private:
  PageContext& ctx_;
};

}  // namespace qx
