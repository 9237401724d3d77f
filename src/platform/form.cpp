#include "platform/form.h"

namespace qx {

Form::Form(Toolkit& toolkit, const LayoutTable& table, const std::string& data_dir)
    : table_(table) {
  window_ = &toolkit.createWindow(table.window);
  for (const auto& desc : table.controls) {
    Control* parent = nullptr;
    if (!desc.parent.empty()) parent = &control(desc.parent);
    controls_[desc.key()] = toolkit.createControl(desc, parent, data_dir);
  }
  toolkit.completeWindow(table);
}

Control& Form::control(const std::string& key) const {
  auto it = controls_.find(key);
  if (it == controls_.end()) throw std::logic_error("no control named " + key);
  return *it->second;
}

}  // namespace qx
