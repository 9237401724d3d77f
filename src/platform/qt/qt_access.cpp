#include "platform/qt/qt_access.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <string>
#include <vector>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_convert.h"

namespace qx {
namespace {

// The accessible face of a ClickLabel. Its role follows the label's use, which its owner may
// set after the interface was made (a click handler comes after the window is built). A label
// showing a picture describes it as an image, as Qt's own label interface does.
class ClickLabelAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
 public:
  explicit ClickLabelAccessible(ClickLabel* l) : QAccessibleWidget(l, QAccessible::StaticText) {}

  QAccessible::Role role() const override {
    switch (label()->status()) {
      case StatusKind::Value:
        return QAccessible::StatusBar;  // status text, read out politely when it changes
      case StatusKind::Notice:
        return QAccessible::Notification;  // an alert, read out when it appears
      case StatusKind::None:
        break;
    }
    if (label()->keyboardClickable())
      return label()->choice() ? QAccessible::RadioButton : QAccessible::Button;
    if (!label()->pixmap().isNull()) return QAccessible::Graphic;
    return QAccessible::StaticText;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (label()->choice()) {
      s.checkable = true;
      s.checked = label()->selected();
    }
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ImageInterface && !label()->pixmap().isNull())
      return static_cast<QAccessibleImageInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString imageDescription() const override { return text(QAccessible::Name); }
  QSize imageSize() const override { return label()->pixmap().size(); }
  QPoint imagePosition() const override { return rect().topLeft(); }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    const QString own = widget()->accessibleName();
    // Runs of blanks only place the words of a heading under the controls they head.
    return own.isEmpty() ? label()->text().simplified() : own;
  }

  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto rels = QAccessibleWidget::relations(match);
    if (match & QAccessible::Labelled) {
      if (QWidget* buddy = label()->buddy())
        if (auto* iface = QAccessible::queryAccessibleInterface(buddy))
          rels.append({iface, QAccessible::Labelled});
    }
    return rels;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (label()->keyboardClickable()) names.prepend(pressAction());
    return names;
  }

  void doAction(const QString& name) override {
    if (name == pressAction() && label()->keyboardClickable())
      label()->click();
    else
      QAccessibleWidget::doAction(name);
  }

 private:
  ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
};

// The accessible face of a drop-down list. Qt's own one names a list on Linux by its current
// entry (leaving its label to the label relation), so two lists showing "On" would share a name
// and a list without a selection would have none. Here the name is the list's own: its
// accessible name, else the text of its buddy label; the current entry is its value. The rest
// is what Qt offers for a list that cannot be edited: the drop-down view as only child, and
// opening or closing it as action.
class DropDownListAccessible : public QAccessibleWidget {
 public:
  explicit DropDownListAccessible(DropDownList* list)
      : QAccessibleWidget(list, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return list()->currentText();
    QString s = QAccessibleWidget::text(t);  // the own name, or the buddy label's text
    if (t == QAccessible::Name && s.isEmpty()) s = list()->currentText();
    return s;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.hasPopup = true;
    const bool open = list()->view()->isVisible();
    s.expanded = open;
    s.collapsed = !open;
    return s;
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == list()->view() ? 0 : -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& name) override {
    if (name != showMenuAction() && name != pressAction()) return;
    if (list()->view()->isVisible())
      list()->hidePopup();
    else
      list()->showPopup();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  DropDownList* list() const { return static_cast<DropDownList*>(widget()); }
};

// The toolkit's widget classes have no meta-object of their own: Qt asks for them under the
// class names of the Qt widgets they extend.
QAccessibleInterface* toolkitFactory(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("QLabel")) {
    if (auto* label = dynamic_cast<ClickLabel*>(object)) return new ClickLabelAccessible(label);
  } else if (class_name == QLatin1String("QComboBox")) {
    if (auto* list = dynamic_cast<DropDownList*>(object)) return new DropDownListAccessible(list);
  }
  return nullptr;
}

constexpr QColor kRingColor{0, 0, 128};  // navy: strong contrast to light grey and to white
constexpr int kRingWidth = 2;

}  // namespace

void installToolkitAccessibility() { QAccessible::installFactory(toolkitFactory); }

void completeKeyboardAndLabels(QWidget& window, const LayoutTable& table) {
  auto find = [&window](const std::string& key) {
    return window.findChild<QWidget*>(qtc::text(key));
  };
  for (const auto& desc : table.controls) {
    if (!desc.buddy.empty())
      if (auto* label = qobject_cast<QLabel*>(find(desc.key()))) label->setBuddy(find(desc.buddy));
    if (!desc.tab_stop)
      if (QWidget* w = find(desc.key())) w->setFocusPolicy(Qt::NoFocus);
  }
  // QWidget::setTabOrder passes over widgets that take no focus, and a label takes the focus
  // only once it gets a click handler, later. The chain keeps its order whatever the policies,
  // so every widget takes the focus while it is chained and gets its own policy back after.
  std::vector<std::pair<QWidget*, Qt::FocusPolicy>> chain;
  for (const auto& key : readingOrder(table))
    if (QWidget* w = find(key)) chain.emplace_back(w, w->focusPolicy());
  for (auto& [w, policy] : chain) w->setFocusPolicy(Qt::TabFocus);
  for (std::size_t i = 1; i < chain.size(); ++i)
    QWidget::setTabOrder(chain[i - 1].first, chain[i].first);
  for (auto& [w, policy] : chain) w->setFocusPolicy(policy);
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(kRingColor, kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  const double inset = kRingWidth / 2.0;
  p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

}  // namespace qx
