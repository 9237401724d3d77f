#include "receiver/receiver_page.h"

namespace qx {

ReceiverPage::ReceiverPage(PageContext& ctx) : ctx_(ctx) {}

}  // namespace qx
