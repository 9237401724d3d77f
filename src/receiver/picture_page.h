#pragma once
// The picture adjustments frame fra_picture: five lists sent without waiting, Read and Reset.

#include "link/page_context.h"

namespace qx {

class PicturePage {
 public:
  // Wires the five picture lists, cmd_pic_read and cmd_pic_rst.
  explicit PicturePage(PageContext& ctx);

  // cmd_pic_read: queries the five values; stops at the first failure with "Read fail !".
  void Read();
  // cmd_pic_rst: tells the receiver to reset the values; "Send fail !" without a reply.
  void Reset();

 private:
  PageContext& ctx_;
};

}  // namespace qx
