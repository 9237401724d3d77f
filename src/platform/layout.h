#pragma once
// One declarative description of every control of the window. Each backend builds its controls
// from these entries; the behaviour looks them up by name. The order of the table is also the
// stacking order inside each container: later entries lie above earlier ones.

#include <string>
#include <vector>

#include "platform/controls.h"

namespace qx {

enum class ControlKind {
  Frame,       // container with a caption and a border
  PictureBox,  // container without border
  Label,
  Button,
  ComboBox,
  TextBox,        // single line
  MultiLineText,  // multi-line with a vertical scroll bar
  OptionButton,
  CheckBox,
  ImageBox,
  Timer,
};

// How changes of a label's text reach a screen reader.
enum class StatusKind {
  None,
  Value,   // a value read back from the receiver: status text, announced politely
  Notice,  // a short-lived failure notice: an alert, announced when it appears
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct ControlSpec {
  std::string name;  // "cbo_aspect"; arrays share a name and differ by index
  int index = -1;    // index inside a control array, -1 for a single control
  ControlKind kind = ControlKind::Label;
  std::string parent;   // container name; empty for the window itself
  Rect rect;            // at 96 dpi, relative to the parent's client area
  std::string caption;  // caption or initial text
  FontSpec font;
  Rgb fore = colors::kBlack;
  Rgb back = colors::kLightGrey;
  bool visible = true;
  bool enabled = true;
  std::vector<std::string> entries;  // fixed list entries, added at start-up, not at creation
  std::string picture;               // data file shown on a button or image box at creation
  int max_length = 0;                // text boxes: typing limit
  bool control_glyphs = false;       // text boxes: draw characters 7 and 8 as visible glyphs
  int interval = 0;                  // timers: milliseconds
  std::string accessible_name;       // name announced by screen readers; empty: the caption
  std::string description;           // more for screen readers to say, such as a keyboard shortcut
  StatusKind status = StatusKind::None;  // labels: announced when their text changes
  std::string buddy;                     // labels: key of the one control this label names
  bool tab_stop = true;  // false: never reached with Tab (controls outside the client area)

  // The key the control is known by: "cbo_aspect", or "cmd_conn_0" for array members.
  std::string key() const { return index < 0 ? name : name + "_" + std::to_string(index); }
};

struct WindowSpec {
  std::string caption;
  int client_width = 0, client_height = 0;
  Rgb back = colors::kLightGrey;
  std::string icon;  // data file
};

struct LayoutTable {
  WindowSpec window;
  std::vector<ControlSpec> controls;
  const ControlSpec* find(const std::string& key) const {
    for (const auto& c : controls)
      if (c.key() == key) return &c;
    return nullptr;
  }
  // The control's place in the window's client area (its rect is relative to its container).
  Rect absoluteRect(const ControlSpec& desc) const;
};

// The keys of every control that can take the keyboard focus (every control with a face except
// containers and those that are no tab stop), in reading order: row by row from the top, left to
// right within a row. A control starts a new row unless its top lies within the upper half of
// the row's first control, so a label a few pixels lower than its list still shares its row.
std::vector<std::string> readingOrder(const LayoutTable& table);

}  // namespace qx
