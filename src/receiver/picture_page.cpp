#include "receiver/picture_page.h"

namespace qx {

PicturePage::PicturePage(PageContext& ctx) : ctx_(ctx) {}

}  // namespace qx
