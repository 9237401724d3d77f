#pragma once
#include "link/page_context.h"

namespace qx {

// Receiver Read and Get, and ApplyReadback shared with the projector controls' Read.
class ReadBack {
 public:
  explicit ReadBack(PageContext& ctx);
  // Sets one control from the value in link.reply_text by word number n (1..23).
  void ApplyReadback(int n);

 private:
  PageContext& ctx_;
};

}  // namespace qx
