#include "shell/option_lists.h"

namespace qx {

void FillOptionLists(Form&, FileSystem&) {}

}  // namespace qx
