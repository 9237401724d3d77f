#pragma once
// Toolkit-free control interfaces. Every backend (the Qt widgets of the product, the in-memory
// controls of the unit tests) implements these with the same contract, so the behaviour above
// this layer never knows which toolkit draws the window.
//
// Event contract shared by all backends:
//  - Handlers run on the one event thread. A handler may pump events (EventPump), so another
//    handler may run inside it; re-entrancy is by design.
//  - A user's click or choice on a control that is disabled or hidden (itself or a container)
//    raises nothing.
//  - Setting a selection or value from code raises the control's event exactly when the state
//    changes (ComboBox, CheckBox) or always when set to true (OptionButton); a user's choice
//    always raises it, even for the entry already shown.

#include <cstdint>
#include <functional>
#include <string>

namespace qx {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colors {
inline constexpr Rgb kLightGrey{192, 192, 192};
inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kNoticeRed{192, 0, 0};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
}  // namespace colors

// A font as the window design names it; the backend substitutes a close equivalent for a
// family the desktop lacks (a fixed-pitch one for fixed-pitch families).
struct FontSpec {
  std::string family = "Verdana";
  double points = 9.75;
  bool bold = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

using Handler = std::function<void()>;

class Control {
 public:
  virtual ~Control() = default;
  // The control's own visibility flag (a control inside a hidden container keeps its flag).
  virtual void setVisible(bool on) = 0;
  virtual bool visible() const = 0;
  virtual void setEnabled(bool on) = 0;
  virtual bool enabled() const = 0;
};

// Frame with a caption, or a borderless picture box; holds other controls.
class Container : public virtual Control {
 public:
  virtual void setCaption(const std::string& text) = 0;
  virtual std::string caption() const = 0;
};

class Label : public virtual Control {
 public:
  virtual void setText(const std::string& text) = 0;
  virtual std::string text() const = 0;
  virtual void setForeColor(Rgb c) = 0;
  virtual Rgb foreColor() const = 0;
  virtual void setBackColor(Rgb c) = 0;
  virtual Rgb backColor() const = 0;
  virtual void onClick(Handler h) = 0;
  // For a label that chooses one of several (a page title): whether it is the chosen one.
  // Assistive technology is told; the label's look does not change. A label never marked
  // is not a choice at all.
  virtual void setSelected(bool on) = 0;
  virtual bool selected() const = 0;
};

class Button : public virtual Control {
 public:
  virtual void setCaption(const std::string& text) = 0;
  virtual std::string caption() const = 0;
  virtual void setBackColor(Rgb c) = 0;
  virtual Rgb backColor() const = 0;
  virtual void onClick(Handler h) = 0;
};

// Drop-down list that accepts only its own entries. Index -1 means no selection.
class ComboBox : public virtual Control {
 public:
  virtual void addItem(const std::string& text) = 0;  // appends; selects nothing
  virtual void clear() = 0;                           // removes all; selection -1; no event
  virtual int count() const = 0;
  virtual std::string itemText(int index) const = 0;  // "" outside 0..count-1
  virtual int selectedIndex() const = 0;
  // Selects index (-1 clears). Raises the selection event when the index changes.
  // An index outside -1..count-1 is ignored.
  virtual void setSelectedIndex(int index) = 0;
  virtual void onSelect(Handler h) = 0;
};

// Single- or multi-line text box. Texts are byte strings in the single-byte code page
// (each char is one byte, Latin-1). Characters 7 and 8 are kept as such in text() even when
// the backend draws them as visible glyphs.
class TextBox : public virtual Control {
 public:
  virtual void setText(const std::string& text) = 0;  // never cut by the maximum length
  virtual std::string text() const = 0;
  virtual void setMaxLength(int chars) = 0;  // limits typing only; 0 = none
  virtual int maxLength() const = 0;
  virtual void setFont(const FontSpec& f) = 0;
  virtual FontSpec font() const = 0;
};

class OptionButton : public virtual Control {
 public:
  virtual bool checked() const = 0;
  // true: checks it (unchecking its siblings) and raises the click event.
  virtual void setChecked(bool on) = 0;
  virtual void onClick(Handler h) = 0;
};

class CheckBox : public virtual Control {
 public:
  virtual int value() const = 0;     // 0 clear, 1 ticked
  virtual void setValue(int v) = 0;  // raises the click event when it changes
  virtual void onClick(Handler h) = 0;
};

// Picture from a GIF or BMP file; the box takes the picture's size.
class ImageBox : public virtual Control {
 public:
  virtual bool loadPicture(const std::string& path) = 0;  // false: unchanged
  virtual void onClick(Handler h) = 0;
};

// Interval timer. start() starts a stopped timer; a running timer keeps its phase (stop() then
// start() begins a new interval).
class Timer : public virtual Control {
 public:
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void start() = 0;
  virtual void stop() = 0;
  virtual bool running() const = 0;
  virtual void onTick(Handler h) = 0;
};

// Key codes of the letter keys are the upper-case character codes ('J' = 74).
using KeyHandler = std::function<void(int key_code, int shift)>;

class Window {
 public:
  virtual ~Window() = default;
  virtual void setCaption(const std::string& text) = 0;
  virtual std::string caption() const = 0;
  virtual void setBackColor(Rgb c) = 0;
  virtual Rgb backColor() const = 0;
  // Every key press reaches this handler before the focused control sees it; the key is not
  // swallowed.
  virtual void onKeyDown(KeyHandler h) = 0;
  // A key combination of the whole window (key code and shift state as the key-down handler
  // gets them): pressed anywhere in the window it runs h, and neither the focused control nor
  // the key-down handler sees that key press.
  virtual void addShortcut(int key_code, int shift, Handler h) = 0;
  // Gives the keyboard focus to the control with this key, when it can take the focus.
  virtual void focusControl(const std::string& key) = 0;
};

}  // namespace qx
