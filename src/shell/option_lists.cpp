#include "shell/option_lists.h"

#include "platform/item_reader.h"

namespace qx {

namespace {

struct OptionFile {
  const char* file;
  const char* list;
};
constexpr OptionFile kOptionFiles[3] = {{"auto_off.txt", "cbo_standby"},
                                        {"input_prefer.txt", "cbo_in_prefer"},
                                        {"output_reso.txt", "cbo_output"}};

}  // namespace

int FillOptionList(ComboBox& list, const std::string& contents) {
  ItemReader reader(contents);
  int added = 0;
  while (added < kMaxOptionItems) {
    auto item = reader.next();
    if (!item || *item == "END") break;
    list.addItem(*item);
    ++added;
  }
  return added;
}

void FillOptionLists(Form& form, FileSystem& files) {
  const std::string dir = files.programDir() + files.separator();
  for (const OptionFile& f : kOptionFiles) {
    auto contents = files.readFile(dir + f.file);
    if (!contents) continue;  // missing or unreadable: the list stays empty
    FillOptionList(form.combo(f.list), *contents);
  }
}

}  // namespace qx
