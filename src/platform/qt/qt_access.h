#pragma once
// What screen readers and keyboard users get from the Qt window beyond the widgets themselves:
// labels that speak as what they are (a page button, a status value, an alert), lists named by
// what they choose, the keyboard order of the controls, labels linked to the controls they
// name, and a clearly drawn mark around the focused control.

#include <QFocusFrame>

#include "platform/layout.h"

class QWidget;

namespace qx {

// Lets the accessibility tree describe the toolkit's labels and pictures (ClickLabel) by their
// role: a button for a label that clicks from the keyboard, status text for a read-back value,
// an alert for a failure notice, a picture or plain text otherwise; and drop-down lists by the
// name of what they choose, with the current entry as value. Installing it again does nothing.
void installToolkitAccessibility();

// Runs once the window holds every control of the table: links each label that names one
// control to it (QLabel buddy), takes controls that are no tab stop out of the keyboard's reach
// and chains the others in reading order (readingOrder()).
void completeKeyboardAndLabels(QWidget& window, const LayoutTable& table);

// A thick ring around the control with the keyboard focus, drawn beside it (the control's own
// look is unchanged), in a colour that stands out on the window's grey and on white lists.
class FocusRing : public QFocusFrame {
 public:
  explicit FocusRing(QWidget* parent) : QFocusFrame(parent) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace qx
