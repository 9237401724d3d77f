#pragma once
// The built window: every control of the layout table, looked up by key with its type.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/controls.h"
#include "platform/layout.h"
#include "platform/toolkit.h"

namespace qx {

class Form {
 public:
  // Builds the window and all controls of the table, parents before children.
  Form(Toolkit& toolkit, const LayoutTable& table, const std::string& data_dir);

  Window& window() { return *window_; }
  const LayoutTable& table() const { return table_; }

  Control& control(const std::string& key) const;
  template <class T>
  T& get(const std::string& key) const {
    auto* p = dynamic_cast<T*>(&control(key));
    if (!p) throw std::logic_error("control of another kind: " + key);
    return *p;
  }
  ComboBox& combo(const std::string& key) const { return get<ComboBox>(key); }
  Button& button(const std::string& key) const { return get<Button>(key); }
  Label& label(const std::string& key) const { return get<Label>(key); }
  TextBox& text(const std::string& key) const { return get<TextBox>(key); }
  Container& container(const std::string& key) const { return get<Container>(key); }
  ImageBox& image(const std::string& key) const { return get<ImageBox>(key); }
  Timer& timer(const std::string& key) const { return get<Timer>(key); }
  OptionButton& option(const std::string& key) const { return get<OptionButton>(key); }
  CheckBox& check(const std::string& key) const { return get<CheckBox>(key); }

 private:
  const LayoutTable& table_;
  Window* window_ = nullptr;
  std::map<std::string, std::unique_ptr<Control>> controls_;
};

}  // namespace qx
