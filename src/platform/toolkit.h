#pragma once
// A window toolkit builds the window and its controls from the layout table.

#include <memory>

#include "platform/controls.h"
#include "platform/layout.h"

namespace qx {

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Creates the window (not shown yet) with its fixed client size, caption and background.
  virtual Window& createWindow(const WindowSpec& desc) = 0;
  // Creates one control inside parent (nullptr: the window), in table order.
  // data_dir is where pictures named by the desc are found.
  virtual std::unique_ptr<Control> createControl(const ControlSpec& desc, Control* parent,
                                                 const std::string& data_dir) = 0;
  // Called once when every control of the table exists: lets the backend link labels to the
  // controls they name and set the keyboard order. Nothing to do for a backend without either.
  virtual void completeWindow(const LayoutTable& /*table*/) {}
};

}  // namespace qx
