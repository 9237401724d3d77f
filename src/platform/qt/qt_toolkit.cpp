#include "platform/qt/qt_toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <stdexcept>

#include "platform/qt/qt_access.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_fonts.h"

// The balls built into the window live in a resource file compiled into this static library;
// its initialiser must be called by name (Q_INIT_RESOURCE works only at global scope).
static void initBuiltinPictures() { Q_INIT_RESOURCE(builtin); }

namespace qx {
namespace {

void setColors(QWidget* w, QPalette::ColorRole back_role, Rgb back, QPalette::ColorRole fore_role,
               Rgb fore) {
  QPalette p = w->palette();
  p.setColor(back_role, qtc::color(back));
  p.setColor(fore_role, qtc::color(fore));
  w->setPalette(p);
}

// A widget that paints its own background in the layout's colours.
void fillColors(QWidget* w, const ControlSpec& desc) {
  w->setAutoFillBackground(true);
  setColors(w, QPalette::Window, desc.back, QPalette::WindowText, desc.fore);
}

// A picture named by the layout: a built-in one (":/...") or a file in the data directory.
QString picturePath(const std::string& picture, const std::string& data_dir) {
  if (picture.rfind(":/", 0) == 0) return qtc::text(picture);
  return qtc::path(data_dir) + QLatin1Char('/') + qtc::path(picture);
}

QWidget* widgetOf(Control* c) {
  auto* holder = dynamic_cast<QtWidgetControl*>(c);
  if (!holder || !holder->widget()) throw std::logic_error("container without a widget");
  return holder->widget();
}

}  // namespace

// ---- key codes

int keyCodeOf(int k) {
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
  switch (k) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      break;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  return k;  // other keys keep Qt's code, far above every code named above
}

int shiftStateOf(Qt::KeyboardModifiers m) {
  return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) | (m.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

int qtKeyOf(int code) {
  if (code >= 112 && code < 112 + 24) return Qt::Key_F1 + (code - 112);
  return code;  // letters and digits are their own Qt keys
}

Qt::KeyboardModifiers modifiersOf(int shift) {
  Qt::KeyboardModifiers m;
  if (shift & 1) m |= Qt::ShiftModifier;
  if (shift & 2) m |= Qt::ControlModifier;
  if (shift & 4) m |= Qt::AltModifier;
  return m;
}

// ---- window

QtWindow::QtWindow(const WindowSpec& desc, const QStringList& icon_files) {
  setObjectName(QStringLiteral("frm_main"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(desc.client_width, desc.client_height);
  setCaption(desc.caption);
  setAutoFillBackground(true);
  setBackColor(desc.back);
  QIcon icon;
  for (const auto& f : icon_files)
    if (QFileInfo::exists(f)) icon.addFile(f);
  if (!icon.isNull()) setWindowIcon(icon);
  qApp->installEventFilter(this);
  QObject::connect(qApp, &QApplication::focusChanged, this,
                   [this](QWidget*, QWidget* now) { followFocus(now); });
}

QtWindow::~QtWindow() {
  if (qApp) qApp->removeEventFilter(this);
}

void QtWindow::setCaption(const std::string& text) {
  caption_ = text;
  setWindowTitle(qtc::pathText(text));
}
std::string QtWindow::caption() const { return caption_; }

void QtWindow::setBackColor(Rgb c) {
  QPalette p = palette();
  p.setColor(QPalette::Window, qtc::color(c));
  setPalette(p);
}

Rgb QtWindow::backColor() const { return qtc::rgb(palette().color(QPalette::Window)); }

void QtWindow::addShortcut(int key_code, int shift, Handler h) {
  auto* shortcut = new QShortcut(
      QKeySequence(QKeyCombination(modifiersOf(shift), Qt::Key(qtKeyOf(key_code)))), this);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, this, [h = std::move(h)] { fire(h); });
}

void QtWindow::focusControl(const std::string& key) {
  QWidget* w = findChild<QWidget*>(qtc::text(key));
  if (w && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
    w->setFocus(Qt::ShortcutFocusReason);
}

void QtWindow::followFocus(QWidget* now) {
  const bool ours = now && now != this && now->window() == this;
  if (!ours && !focus_ring_) return;
  if (!focus_ring_) focus_ring_ = new FocusRing(this);
  focus_ring_->setWidget(ours ? now : nullptr);
}

void QtWindow::centreAndShow() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen)
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry())
             .topLeft());
  show();
  // Ask for the keyboard at once, so that it works without a click first (a desktop without a
  // window manager gives it to nobody otherwise).
  activateWindow();
}

void QtWindow::closeEvent(QCloseEvent* e) {
  if (closing_) {
    e->ignore();
    return;
  }
  closing_ = true;
  if (auto h = close_handler_) h();
  closing_ = false;
  e->accept();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress || !key_handler_ || !watched->isWidgetType())
    return QWidget::eventFilter(watched, e);
  auto* target = static_cast<QWidget*>(watched);
  if (target->window() != this) return QWidget::eventFilter(watched, e);
  const auto* k = static_cast<const QKeyEvent*>(e);
  // Qt offers a key that the focus widget ignores to its parents, through this filter again:
  // the same event object, now aimed at an ancestor of the widget it was first aimed at.
  const LastKey seen{e, k->timestamp(), k->key(), k->modifiers()};
  if (seen == last_key_ && last_key_target_ && target != last_key_target_ &&
      target->isAncestorOf(last_key_target_))
    return QWidget::eventFilter(watched, e);
  last_key_ = seen;
  last_key_target_ = target;
  if (auto h = key_handler_) h(keyCodeOf(k->key()), shiftStateOf(k->modifiers()));
  return false;  // the key goes on to its widget
}

// ---- toolkit

QtToolkit::QtToolkit(std::string data_dir) : data_dir_(std::move(data_dir)) {
  initBuiltinPictures();
  installToolkitAccessibility();
}

QtToolkit::~QtToolkit() = default;

Window& QtToolkit::createWindow(const WindowSpec& desc) {
  QStringList icons;
  if (!desc.icon.empty()) {
    const QString main = picturePath(desc.icon, data_dir_);
    icons << main;
    // A hand-drawn small size beside it: "app_icon.png" -> "app_icon_16.png".
    const QFileInfo fi(main);
    icons << fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral("_16.") +
                 fi.suffix();
  }
  window_ = std::make_unique<QtWindow>(desc, icons);
  return *window_;
}

void QtToolkit::completeWindow(const LayoutTable& table) {
  if (window_) completeKeyboardAndLabels(*window_, table);
}

QButtonGroup* QtToolkit::groupFor(QWidget* container, const std::string& name) {
  auto& g = groups_[{container, name}];
  if (!g) {
    g = new QButtonGroup(container);
    g->setObjectName(qtc::text(name));
    g->setExclusive(true);
  }
  return g;
}

std::unique_ptr<Control> QtToolkit::createControl(const ControlSpec& desc, Control* parent,
                                                  const std::string& data_dir) {
  if (!window_) throw std::logic_error("createControl before createWindow");
  QWidget* parent_widget = parent ? widgetOf(parent) : window_.get();
  const QString key = qtc::text(desc.key());

  if (desc.kind == ControlKind::Timer) {
    auto* t = new QTimer(window_.get());
    t->setObjectName(key);
    auto timer = std::make_unique<QtTimer>(t);
    timer->setInterval(desc.interval);
    timer->setVisible(desc.visible);
    return timer;
  }

  std::unique_ptr<Control> control;
  QWidget* w = nullptr;
  const QString caption = qtc::text(desc.caption);
  switch (desc.kind) {
    case ControlKind::Frame: {
      auto* box = new FrameBox(caption, parent_widget);
      fillColors(box, desc);
      control = std::make_unique<QtFrame>(box);
      w = box;
      break;
    }
    case ControlKind::PictureBox: {
      auto* box = new QWidget(parent_widget);
      fillColors(box, desc);
      auto pic = std::make_unique<QtPictureBox>(box);
      pic->setCaption(desc.caption);
      control = std::move(pic);
      w = box;
      break;
    }
    case ControlKind::Label: {
      auto* label = new ClickLabel(parent_widget);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setText(caption);
      label->setSpaceWidth(designSpaceWidth(desc.font));
      fillColors(label, desc);
      control = std::make_unique<QtLabel>(label, desc.accessible_name, desc.status);
      w = label;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(caption, parent_widget);
      setColors(button, QPalette::Button, desc.back, QPalette::ButtonText, desc.fore);
      if (!desc.picture.empty()) {
        // QIcon takes a "<name>@2x.<ext>" drawing beside the file for scaled screens.
        const QString file = picturePath(desc.picture, data_dir);
        const QPixmap pm(file);
        if (!pm.isNull()) {
          button->setIcon(QIcon(file));
          button->setIconSize(pm.size());
        }
      }
      control = std::make_unique<QtButton>(button);
      w = button;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new DropDownList(parent_widget);
      combo->setEditable(false);
      setColors(combo, QPalette::Base, desc.back, QPalette::Text, desc.fore);
      setColors(combo, QPalette::Button, desc.back, QPalette::ButtonText, desc.fore);
      control = std::make_unique<QtComboBox>(combo);
      w = combo;
      break;
    }
    case ControlKind::TextBox: {
      auto* edit = new QLineEdit(parent_widget);
      setColors(edit, QPalette::Base, desc.back, QPalette::Text, desc.fore);
      auto box = std::make_unique<QtLineTextBox>(edit, desc.control_glyphs);
      box->setFont(desc.font);
      box->setMaxLength(desc.max_length);
      box->setText(desc.caption);
      control = std::move(box);
      w = edit;
      break;
    }
    case ControlKind::MultiLineText: {
      auto* edit = new QPlainTextEdit(parent_widget);
      setColors(edit, QPalette::Base, desc.back, QPalette::Text, desc.fore);
      auto box = std::make_unique<QtMultiLineTextBox>(edit);
      box->setFont(desc.font);
      box->setMaxLength(desc.max_length);
      box->setText(desc.caption);
      control = std::move(box);
      w = edit;
      break;
    }
    case ControlKind::OptionButton: {
      auto* radio = new QRadioButton(caption, parent_widget);
      fillColors(radio, desc);
      setColors(radio, QPalette::Button, desc.back, QPalette::ButtonText, desc.fore);
      control = std::make_unique<QtOptionButton>(radio, groupFor(parent_widget, desc.name));
      w = radio;
      break;
    }
    case ControlKind::CheckBox: {
      auto* check = new QCheckBox(caption, parent_widget);
      fillColors(check, desc);
      setColors(check, QPalette::Button, desc.back, QPalette::ButtonText, desc.fore);
      control = std::make_unique<QtCheckBox>(check);
      w = check;
      break;
    }
    case ControlKind::ImageBox: {
      auto* image = new ClickLabel(parent_widget);
      fillColors(image, desc);
      auto box = std::make_unique<QtImageBox>(image);
      w = image;
      w->setGeometry(desc.rect.left, desc.rect.top, desc.rect.width, desc.rect.height);
      if (!desc.picture.empty())
        box->loadPicture(qtc::pathBytes(picturePath(desc.picture, data_dir)));
      control = std::move(box);
      break;
    }
    case ControlKind::Timer:
      break;  // handled above
  }

  w->setObjectName(key);
  if (desc.kind != ControlKind::ImageBox)  // an image box has taken its picture's size
    w->setGeometry(desc.rect.left, desc.rect.top, desc.rect.width, desc.rect.height);
  if (desc.kind != ControlKind::TextBox && desc.kind != ControlKind::MultiLineText)
    w->setFont(toQFont(desc.font));
  // Without a name of its own a control is announced by its caption, which Qt follows as it
  // changes.
  if (!desc.accessible_name.empty()) w->setAccessibleName(qtc::text(desc.accessible_name));
  if (!desc.description.empty()) w->setAccessibleDescription(qtc::text(desc.description));
  // Later entries of the table lie above earlier ones: Qt stacks a new child on top.
  w->setVisible(desc.visible);
  w->setEnabled(desc.enabled);
  return control;
}

}  // namespace qx
