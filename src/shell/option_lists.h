#pragma once
// The option list files of the program directory, read once at start-up into the lists of the
// auto-off time, the input resolution preference and the output resolution.

#include <string>

#include "platform/form.h"
#include "platform/services.h"

namespace qx {

// At most this many entries are taken from one file (the entry counter is 16-bit).
inline constexpr int kMaxOptionItems = 32766;

// Appends to list the items of contents in the free item format, up to the item "END" (exact,
// case-sensitive, quoted or not), which is not added and after which nothing is read. Without
// "END" every item is taken; past kMaxOptionItems items the rest is left out. Returns the
// number of entries added.
int FillOptionList(ComboBox& list, const std::string& contents);

// Fills cbo_standby, cbo_in_prefer and cbo_output, in this order, from "auto_off.txt",
// "input_prefer.txt" and "output_reso.txt" in the program directory. A file that is missing
// or cannot be read leaves its list empty; start-up goes on in every case.
void FillOptionLists(Form& form, FileSystem& files);

}  // namespace qx
