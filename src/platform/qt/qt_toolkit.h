#pragma once
// The Qt window toolkit: builds the window and its controls from the layout table as Qt widgets.

#include <QButtonGroup>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/toolkit.h"

namespace qx {

class FocusRing;

// The top-level window: fixed client size, title bar with system menu, minimise and close boxes
// and no maximise box. Key preview: every key press aimed at a widget of this window reaches
// the key handler first (once, however far Qt passes the key up the widget tree) and then goes
// on to that widget. Shortcuts are Qt shortcuts of the window: they take their key press whole.
// The control with the focus carries a focus ring.
class QtWindow : public QWidget, public Window {
 public:
  // icon_files: the window icon in one or more sizes; missing files are skipped.
  QtWindow(const WindowSpec& desc, const QStringList& icon_files);
  ~QtWindow() override;

  void setCaption(const std::string& text) override;
  std::string caption() const override;
  void setBackColor(Rgb c) override;
  Rgb backColor() const override;
  void onKeyDown(KeyHandler h) override { key_handler_ = std::move(h); }
  void addShortcut(int key_code, int shift, Handler h) override;
  void focusControl(const std::string& key) override;

  // Runs h from the close event, before the window closes. The close is never cancelled; a
  // second close request while h runs is ignored.
  void onClose(std::function<void()> h) { close_handler_ = std::move(h); }
  // Places the window in the middle of its screen's free area, shows it and asks for the
  // keyboard focus.
  void centreAndShow();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void followFocus(QWidget* now);

  KeyHandler key_handler_;
  std::function<void()> close_handler_;
  std::string caption_;  // as set: the title shows it decoded
  bool closing_ = false;
  // The key press last handed to the handler and the widget it was aimed at, so that its trip
  // up the widget tree is not reported again.
  struct LastKey {
    const QEvent* event = nullptr;
    quint64 timestamp = 0;
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    friend bool operator==(const LastKey&, const LastKey&) = default;
  };
  LastKey last_key_;
  QPointer<QWidget> last_key_target_;
  // Lives beside the focused control, so it goes when that control's container goes.
  QPointer<FocusRing> focus_ring_;
};

// Key code and shift state of a key press as the key handler gets them: letters and digits are
// their upper-case character codes, a few named keys the usual virtual key codes; shift
// state is 1 Shift, 2 Ctrl, 4 Alt, added up.
int keyCodeOf(int qt_key);
int shiftStateOf(Qt::KeyboardModifiers m);
// The Qt key and modifiers back from a key code and shift state (letters, digits, F1 to F24;
// other codes are taken as Qt's own).
int qtKeyOf(int key_code);
Qt::KeyboardModifiers modifiersOf(int shift);

class QtToolkit : public Toolkit {
 public:
  // data_dir: where the window icon named by the window's description is found.
  explicit QtToolkit(std::string data_dir);
  ~QtToolkit() override;
  QtToolkit(const QtToolkit&) = delete;
  QtToolkit& operator=(const QtToolkit&) = delete;

  // The window is owned by the toolkit; the controls must be destroyed before the toolkit.
  Window& createWindow(const WindowSpec& desc) override;
  std::unique_ptr<Control> createControl(const ControlSpec& desc, Control* parent,
                                         const std::string& data_dir) override;
  void completeWindow(const LayoutTable& table) override;

  QtWindow* window() const { return window_.get(); }

 private:
  QButtonGroup* groupFor(QWidget* container, const std::string& name);

  std::string data_dir_;
  std::unique_ptr<QtWindow> window_;
  std::map<std::pair<QWidget*, std::string>, QPointer<QButtonGroup>> groups_;
};

}  // namespace qx
