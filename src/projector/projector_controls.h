#pragma once
#include "link/page_context.h"
#include "receiver/readback.h"

namespace qx {

class ProjectorControls {
 public:
  ProjectorControls(PageContext& ctx, ReadBack& readback);

 private:
  PageContext& ctx_;
  ReadBack& readback_;
};

}  // namespace qx
