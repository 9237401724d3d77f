#pragma once
// Small helpers shared by the Qt backend tests.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/layout.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_toolkit.h"

namespace qx::test {

// Pumps events (sleeping between them) until done() holds or a generous bound passes; the bound
// only keeps a broken build from hanging, it is not a speed requirement.
inline bool pumpUntil(const std::function<bool()>& done, int bound_ms = 5000) {
  QtEventPump pump;
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > bound_ms) return false;
    pump.waitFor(10);
  }
  return true;
}

inline ControlSpec desc(ControlKind kind, std::string name, Rect r = {10, 10, 80, 24},
                        std::string caption = {}, std::string parent = {}) {
  ControlSpec s;
  s.kind = kind;
  s.name = std::move(name);
  s.rect = r;
  s.caption = std::move(caption);
  s.parent = std::move(parent);
  return s;
}

// A toolkit with a window, and typed controls made from hand-written table entries.
class ToolkitFixture {
 public:
  ToolkitFixture() : toolkit_(QX_DATA_DIR) {
    toolkit_.createWindow(WindowSpec{"test", 528, 466, colors::kLightGrey, "app_icon.png"});
  }

  template <class T>
  std::unique_ptr<T> make(const ControlSpec& s, Control* parent = nullptr) {
    auto c = toolkit_.createControl(s, parent, QX_DATA_DIR);
    auto* typed = dynamic_cast<T*>(c.get());
    if (!typed) return nullptr;
    c.release();
    return std::unique_ptr<T>(typed);
  }

  template <class W = QWidget>
  static W* widget(Control& c) {
    return qobject_cast<W*>(dynamic_cast<QtWidgetControl&>(c).widget());
  }

  QtWindow& window() { return *toolkit_.window(); }
  void show() {
    window().show();
    QCoreApplication::processEvents();
  }

 protected:
  QtToolkit toolkit_;
};

}  // namespace qx::test
