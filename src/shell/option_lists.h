#pragma once
#include "platform/form.h"
#include "platform/services.h"

namespace qx {

// Fills cbo_standby, cbo_in_prefer and cbo_output from the option list files in the program
// directory.
void FillOptionLists(Form& form, FileSystem& files);

}  // namespace qx
