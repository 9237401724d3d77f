#pragma once
// The controls of the window as Qt widgets. Each control object owns its widget (deleting the
// control deletes the widget); the widget lives in the window's widget tree, named after the
// control's key. Handlers are called from the widgets' signals, on the event thread; a handler
// may pump events, so every call goes through a copy of the handler.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/layout.h"

namespace qx {

// The widget behind a control: the toolkit places children in it, the tests look at it.
class QtWidgetControl {
 public:
  virtual ~QtWidgetControl() = default;
  virtual QWidget* widget() const = 0;
};

inline void fire(const Handler& h) {
  if (auto copy = h) copy();
}

template <class Iface, class W>
class QtControl : public Iface, public QtWidgetControl {
 public:
  explicit QtControl(W* w) : w_(w) {}
  ~QtControl() override {
    if (w_) {
      QObject::disconnect(w_, nullptr, &ctx_, nullptr);
      delete w_.data();
    }
  }
  QtControl(const QtControl&) = delete;
  QtControl& operator=(const QtControl&) = delete;

  // The own visibility flag: a control inside a hidden container keeps it.
  void setVisible(bool on) override { w_->setVisible(on); }
  bool visible() const override { return !w_->isHidden(); }
  void setEnabled(bool on) override { w_->setEnabled(on); }
  bool enabled() const override { return !w_->testAttribute(Qt::WA_ForceDisabled); }
  QWidget* widget() const override { return w_.data(); }

 protected:
  W* w() const { return w_.data(); }

  QPointer<W> w_;
  QObject ctx_;  // context of the widget's connections: they end with this control
};

// A label that reports a click: a left press and release inside it. Qt delivers no mouse input
// to a hidden or disabled widget, so those raise nothing. With a click handler for the keyboard
// it also takes the focus by Tab and reports Space and Enter as clicks, and screen readers see
// it as a button they can press.
// A plain text is drawn from the top left; with a blank width set, every blank takes that many
// pixels (see designSpaceWidth), so headings built with blanks keep their places.
class ClickLabel : public QLabel {
 public:
  explicit ClickLabel(QWidget* parent) : QLabel(parent) {}
  // keyboard false: a click by mouse only (a picture beside a title that does the same).
  void setClickHandler(Handler h, bool keyboard = true);
  bool keyboardClickable() const { return on_click_ && keyboard_; }
  // A click from the keyboard or a screen reader: nothing while hidden or disabled.
  void click();
  void setSpaceWidth(double px) { space_px_ = px; }
  // What a screen reader makes of changes of the text.
  void setStatus(StatusKind s) { status_ = s; }
  StatusKind status() const { return status_; }
  // One of several that choose (a page title): screen readers see an option button, checked
  // while it is the chosen one.
  void setSelected(bool on);
  bool choice() const { return choice_; }
  bool selected() const { return selected_; }

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  Handler on_click_;
  bool keyboard_ = false;
  bool pressed_ = false;
  double space_px_ = 0;
  StatusKind status_ = StatusKind::None;
  bool choice_ = false;
  bool selected_ = false;
};

// A frame drawn the classic way: an etched border whose top edge runs through the middle of the
// caption. Children are placed relative to the frame's outer corner.
class FrameBox : public QGroupBox {
 public:
  FrameBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

class QtFrame : public QtControl<Container, FrameBox> {
 public:
  explicit QtFrame(FrameBox* w) : QtControl(w) {}
  void setCaption(const std::string& text) override;
  std::string caption() const override;
};

// A borderless container; its caption is kept but not drawn.
class QtPictureBox : public QtControl<Container, QWidget> {
 public:
  explicit QtPictureBox(QWidget* w) : QtControl(w) {}
  void setCaption(const std::string& text) override { caption_ = text; }
  std::string caption() const override { return caption_; }

 private:
  std::string caption_;
};

// A label. A status label (a notice or a read-back value) is announced to screen readers when
// its text changes: its accessible name carries the text.
class QtLabel : public QtControl<Label, ClickLabel> {
 public:
  QtLabel(ClickLabel* w, std::string accessible_name, StatusKind status);
  void setText(const std::string& text) override;
  std::string text() const override;
  void setForeColor(Rgb c) override;
  Rgb foreColor() const override;
  void setBackColor(Rgb c) override;
  Rgb backColor() const override;
  void onClick(Handler h) override;
  void setSelected(bool on) override { w()->setSelected(on); }
  bool selected() const override { return w()->selected(); }

 private:
  std::string accessible_name_;
  StatusKind status_;
};

class QtButton : public QtControl<Button, QPushButton> {
 public:
  explicit QtButton(QPushButton* w);
  void setCaption(const std::string& text) override;
  std::string caption() const override;
  void setBackColor(Rgb c) override;
  Rgb backColor() const override;
  void onClick(Handler h) override { handler_ = std::move(h); }

 private:
  Handler handler_;
};

// A drop-down list that accepts only its own entries. It drops down below itself, ten entries
// at a time with a scroll bar (Fusion would otherwise open a list as tall as the screen over
// it). The mouse wheel changes the selection only while the list has the focus, so scrolling
// across the window sends nothing.
class DropDownList : public QComboBox {
 public:
  explicit DropDownList(QWidget* parent);

 protected:
  void wheelEvent(QWheelEvent* e) override;
};

// Selection event: every user's choice (QComboBox::activated, raised even for the entry already
// shown) and every change of the index by code.
class QtComboBox : public QtControl<ComboBox, DropDownList> {
 public:
  explicit QtComboBox(DropDownList* w);
  void addItem(const std::string& text) override;
  void clear() override;
  int count() const override;
  std::string itemText(int index) const override;
  int selectedIndex() const override;
  void setSelectedIndex(int index) override;
  void onSelect(Handler h) override { handler_ = std::move(h); }

 private:
  Handler handler_;
};

// Characters 7 and 8 drawn as visible glyphs in a text box, and back.
inline constexpr char16_t kGlyph7 = u'\u25A1';  // white square
inline constexpr char16_t kGlyph8 = u'\u21B5';  // downwards arrow with corner leftwards
QString toDisplayText(const std::string& text, bool glyphs);
std::string fromDisplayText(const QString& shown, bool glyphs);

// Single-line text box. The configured maximum limits typing; text set by code is never cut
// (the widget's own limit follows the text's length while it is longer).
class QtLineTextBox : public QtControl<TextBox, QLineEdit> {
 public:
  QtLineTextBox(QLineEdit* w, bool control_glyphs);
  void setText(const std::string& text) override;
  std::string text() const override;
  void setMaxLength(int chars) override;
  int maxLength() const override { return max_; }
  void setFont(const FontSpec& f) override;
  FontSpec font() const override { return font_; }

 private:
  void applyLimit();
  bool glyphs_;
  int max_ = 0;
  FontSpec font_;
};

// Multi-line text box with a vertical scroll bar. text() returns the text as set until the user
// edits it; edited text has CR LF line ends. The maximum length is kept but not enforced: the
// only multi-line box, the log pane, lies outside the visible window.
class QtMultiLineTextBox : public QtControl<TextBox, QPlainTextEdit> {
 public:
  explicit QtMultiLineTextBox(QPlainTextEdit* w);
  void setText(const std::string& text) override;
  std::string text() const override;
  void setMaxLength(int chars) override { max_ = chars; }
  int maxLength() const override { return max_; }
  void setFont(const FontSpec& f) override;
  FontSpec font() const override { return font_; }

 private:
  std::string text_;
  int max_ = 0;
  FontSpec font_;
};

// Option buttons of one array in one container are exclusive through their button group.
class QtOptionButton : public QtControl<OptionButton, QRadioButton> {
 public:
  QtOptionButton(QRadioButton* w, QButtonGroup* group);
  bool checked() const override;
  void setChecked(bool on) override;
  void onClick(Handler h) override { handler_ = std::move(h); }

 private:
  QPointer<QButtonGroup> group_;
  Handler handler_;
};

class QtCheckBox : public QtControl<CheckBox, QCheckBox> {
 public:
  explicit QtCheckBox(QCheckBox* w);
  int value() const override;
  void setValue(int v) override;
  void onClick(Handler h) override { handler_ = std::move(h); }

 private:
  Handler handler_;
};

// The picture in file for a screen of the given device pixel ratio: above 1, the drawing at
// twice the size beside it ("ball_red@2x.gif"), with a ratio of 2, when there is one of exactly
// twice the size; else the file's own picture. Null when file cannot be read.
QPixmap loadPictureForRatio(const QString& file, qreal ratio);

// A picture; the box takes the size of the picture it shows (in device-independent pixels). Paths
// starting with ":/" name pictures built into the program.
class QtImageBox : public QtControl<ImageBox, ClickLabel> {
 public:
  explicit QtImageBox(ClickLabel* w) : QtControl(w) {}
  bool loadPicture(const std::string& path) override;
  void onClick(Handler h) override;
};

// Interval timer. start() starts a stopped timer; a running timer keeps its phase. The timer's
// enabled flag is its running state, and it has no face: its visibility is only a flag.
class QtTimer : public Timer {
 public:
  explicit QtTimer(QTimer* t);
  ~QtTimer() override;
  QtTimer(const QtTimer&) = delete;
  QtTimer& operator=(const QtTimer&) = delete;

  void setVisible(bool on) override { visible_ = on; }
  bool visible() const override { return visible_; }
  void setEnabled(bool on) override;
  bool enabled() const override { return running(); }
  void setInterval(int ms) override;
  int interval() const override;
  void start() override;
  void stop() override;
  bool running() const override;
  void onTick(Handler h) override { handler_ = std::move(h); }
  QTimer* timer() const { return t_.data(); }

 private:
  QPointer<QTimer> t_;
  QObject ctx_;
  Handler handler_;
  bool visible_ = false;
};

}  // namespace qx
