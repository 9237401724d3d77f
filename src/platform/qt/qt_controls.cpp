#include "platform/qt/qt_controls.h"

#include <QAccessible>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_fonts.h"

namespace qx {
namespace {

// QLineEdit's own default limit, used when the configured maximum is 0 (none).
constexpr int kLineEditDefaultMax = 32767;

Rgb paletteColor(const QWidget* w, QPalette::ColorRole role) {
  return qtc::rgb(w->palette().color(role));
}

void setPaletteColor(QWidget* w, QPalette::ColorRole role, Rgb c) {
  QPalette p = w->palette();
  p.setColor(role, qtc::color(c));
  w->setPalette(p);
}

}  // namespace

// ---- ClickLabel

void ClickLabel::setClickHandler(Handler h, bool keyboard) {
  on_click_ = std::move(h);
  keyboard_ = keyboard;
  setFocusPolicy(keyboardClickable() ? Qt::TabFocus : Qt::NoFocus);
}

void ClickLabel::setSelected(bool on) {
  const bool was_choice = choice_;
  choice_ = true;
  if (was_choice && selected_ == on) return;
  selected_ = on;
  QAccessible::State changed;
  changed.checked = true;
  changed.checkable = !was_choice;
  QAccessibleStateChangeEvent ev(this, changed);
  QAccessible::updateAccessibility(&ev);
}

void ClickLabel::click() {
  if (isVisible() && isEnabled()) fire(on_click_);
}

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressed_ = true;
  e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool was_pressed = pressed_;
  pressed_ = false;
  e->accept();
  if (was_pressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
    fire(on_click_);
}

void ClickLabel::keyPressEvent(QKeyEvent* e) {
  const int k = e->key();
  if (keyboardClickable() && (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter)) {
    e->accept();
    click();
    return;
  }
  QLabel::keyPressEvent(e);
}

void ClickLabel::paintEvent(QPaintEvent* e) {
  if (space_px_ <= 0 || !pixmap().isNull() || !text().contains(QLatin1Char(' '))) {
    QLabel::paintEvent(e);
    return;
  }
  QPainter p(this);
  p.setFont(font());
  p.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
  const QFontMetricsF fm(font());
  const QRect area = contentsRect();
  const double baseline = area.top() + fm.ascent();
  double x = area.left();
  const QString t = text();
  qsizetype from = 0;
  while (from < t.size()) {
    qsizetype to = t.indexOf(QLatin1Char(' '), from);
    if (to < 0) to = t.size();
    if (to > from) {
      const QString word = t.mid(from, to - from);
      p.drawText(QPointF(x, baseline), word);
      x += fm.horizontalAdvance(word);
    }
    for (from = to; from < t.size() && t[from] == QLatin1Char(' '); ++from) x += space_px_;
  }
}

// ---- containers

void FrameBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QFontMetrics fm(font());
  const QColor back = palette().color(QPalette::Window);
  const QRect box = rect().adjusted(0, fm.height() / 2, -1, -1);
  p.setPen(back.darker(150));
  p.drawRect(box.adjusted(0, 0, -1, -1));
  p.setPen(back.lighter(133));
  p.drawRect(box.adjusted(1, 1, 0, 0));
  if (title().isEmpty()) return;
  const QRect caption(6, 0, fm.horizontalAdvance(title()) + 4, fm.height());
  p.fillRect(caption, back);
  style()->drawItemText(&p, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                        title(), QPalette::WindowText);
}

void QtFrame::setCaption(const std::string& text) { w()->setTitle(qtc::text(text)); }
std::string QtFrame::caption() const { return qtc::bytes(w()->title()); }

// ---- label

QtLabel::QtLabel(ClickLabel* w, std::string accessible_name, StatusKind status)
    : QtControl(w), accessible_name_(std::move(accessible_name)), status_(status) {
  w->setStatus(status);
}

void QtLabel::setText(const std::string& text) {
  const QString t = qtc::text(text);
  if (w()->text() == t) return;
  // A label without a name of its own is announced by its text: QLabel reports the change.
  w()->setText(t);
  if (status_ == StatusKind::None || accessible_name_.empty()) return;
  // A named status label carries its text in its name; setAccessibleName reports the change.
  QString name = qtc::text(accessible_name_);
  if (!t.isEmpty()) name += QStringLiteral(": ") + t;
  w()->setAccessibleName(name);
}

std::string QtLabel::text() const { return qtc::bytes(w()->text()); }
void QtLabel::setForeColor(Rgb c) { setPaletteColor(w(), QPalette::WindowText, c); }
Rgb QtLabel::foreColor() const { return paletteColor(w(), QPalette::WindowText); }
void QtLabel::setBackColor(Rgb c) { setPaletteColor(w(), QPalette::Window, c); }
Rgb QtLabel::backColor() const { return paletteColor(w(), QPalette::Window); }
void QtLabel::onClick(Handler h) { w()->setClickHandler(std::move(h)); }

// ---- button

QtButton::QtButton(QPushButton* w) : QtControl(w) {
  QObject::connect(w, &QPushButton::clicked, &ctx_, [this] { fire(handler_); });
}

void QtButton::setCaption(const std::string& text) { w()->setText(qtc::text(text)); }
std::string QtButton::caption() const { return qtc::bytes(w()->text()); }
void QtButton::setBackColor(Rgb c) { setPaletteColor(w(), QPalette::Button, c); }
Rgb QtButton::backColor() const { return paletteColor(w(), QPalette::Button); }

// ---- drop-down list

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  setMaxVisibleItems(10);
}

void DropDownList::wheelEvent(QWheelEvent* e) {
  if (hasFocus())
    QComboBox::wheelEvent(e);
  else
    e->ignore();
}

QtComboBox::QtComboBox(DropDownList* w) : QtControl(w) {
  QObject::connect(w, &QComboBox::activated, &ctx_, [this](int) { fire(handler_); });
}

void QtComboBox::addItem(const std::string& text) {
  // QComboBox selects the first entry added to an empty list; the list keeps its selection.
  const int before = w()->currentIndex();
  w()->addItem(qtc::text(text));
  if (w()->currentIndex() != before) w()->setCurrentIndex(before);
}

void QtComboBox::clear() { w()->clear(); }
int QtComboBox::count() const { return w()->count(); }

std::string QtComboBox::itemText(int index) const {
  if (index < 0 || index >= w()->count()) return {};
  return qtc::bytes(w()->itemText(index));
}

int QtComboBox::selectedIndex() const { return w()->currentIndex(); }

void QtComboBox::setSelectedIndex(int index) {
  if (index < -1 || index >= w()->count() || index == w()->currentIndex()) return;
  w()->setCurrentIndex(index);
  fire(handler_);
}

// ---- text boxes

QString toDisplayText(const std::string& text, bool glyphs) {
  QString s = qtc::text(text);
  if (glyphs) {
    s.replace(QChar(7), QChar(kGlyph7));
    s.replace(QChar(8), QChar(kGlyph8));
  }
  return s;
}

std::string fromDisplayText(const QString& shown, bool glyphs) {
  if (!glyphs) return qtc::bytes(shown);
  QString s = shown;
  s.replace(QChar(kGlyph7), QChar(7));
  s.replace(QChar(kGlyph8), QChar(8));
  return qtc::bytes(s);
}

QtLineTextBox::QtLineTextBox(QLineEdit* w, bool control_glyphs)
    : QtControl(w), glyphs_(control_glyphs) {
  QObject::connect(w, &QLineEdit::textChanged, &ctx_, [this] { applyLimit(); });
}

void QtLineTextBox::applyLimit() {
  const int configured = max_ > 0 ? max_ : kLineEditDefaultMax;
  w()->setMaxLength(std::max(configured, static_cast<int>(w()->text().size())));
}

void QtLineTextBox::setText(const std::string& text) {
  const QString shown = toDisplayText(text, glyphs_);
  // Raise the widget's limit first: QLineEdit would cut the text to it.
  if (shown.size() > w()->maxLength()) w()->setMaxLength(static_cast<int>(shown.size()));
  w()->setText(shown);
  applyLimit();
}

std::string QtLineTextBox::text() const { return fromDisplayText(w()->text(), glyphs_); }

void QtLineTextBox::setMaxLength(int chars) {
  max_ = std::max(chars, 0);
  applyLimit();
}

void QtLineTextBox::setFont(const FontSpec& f) {
  font_ = f;
  w()->setFont(toQFont(f));
}

QtMultiLineTextBox::QtMultiLineTextBox(QPlainTextEdit* w) : QtControl(w) {
  w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void QtMultiLineTextBox::setText(const std::string& text) {
  text_ = text;
  QString shown = qtc::text(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  w()->setPlainText(shown);  // clears the document's modified flag
  w()->verticalScrollBar()->setValue(w()->verticalScrollBar()->maximum());
}

std::string QtMultiLineTextBox::text() const {
  if (!w()->document()->isModified()) return text_;
  QString s = w()->toPlainText();
  s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return qtc::bytes(s);
}

void QtMultiLineTextBox::setFont(const FontSpec& f) {
  font_ = f;
  w()->setFont(toQFont(f));
}

// ---- option button, check box

QtOptionButton::QtOptionButton(QRadioButton* w, QButtonGroup* group) : QtControl(w), group_(group) {
  if (group_) group_->addButton(w);
  QObject::connect(w, &QRadioButton::clicked, &ctx_, [this] { fire(handler_); });
}

bool QtOptionButton::checked() const { return w()->isChecked(); }

void QtOptionButton::setChecked(bool on) {
  if (on) {
    w()->setChecked(true);
    fire(handler_);
    return;
  }
  if (!w()->isChecked()) return;
  // An exclusive group keeps one member checked; let go of that rule for this one change.
  const bool exclusive = group_ && group_->exclusive();
  if (exclusive) group_->setExclusive(false);
  w()->setChecked(false);
  if (exclusive) group_->setExclusive(true);
}

QtCheckBox::QtCheckBox(QCheckBox* w) : QtControl(w) {
  QObject::connect(w, &QCheckBox::clicked, &ctx_, [this] { fire(handler_); });
}

int QtCheckBox::value() const { return w()->isChecked() ? 1 : 0; }

void QtCheckBox::setValue(int v) {
  const bool on = v != 0;
  if (on == w()->isChecked()) return;
  w()->setChecked(on);
  fire(handler_);
}

// ---- image box

QPixmap loadPictureForRatio(const QString& file, qreal ratio) {
  QPixmap pm;
  if (!pm.load(file) || ratio <= 1.0) return pm;
  const QFileInfo fi(file);
  QPixmap sharp;
  if (sharp.load(fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral("@2x.") +
                 fi.suffix()) &&
      sharp.size() == pm.size() * 2) {
    sharp.setDevicePixelRatio(2.0);
    return sharp;
  }
  return pm;
}

bool QtImageBox::loadPicture(const std::string& path) {
  const QPixmap pm = loadPictureForRatio(qtc::path(path), w()->devicePixelRatioF());
  if (pm.isNull()) return false;
  w()->setPixmap(pm);
  w()->resize(pm.deviceIndependentSize().toSize());
  return true;
}

// The page selector's pictures do what the titles beside them do; the titles take the focus.
void QtImageBox::onClick(Handler h) { w()->setClickHandler(std::move(h), false); }

// ---- timer

QtTimer::QtTimer(QTimer* t) : t_(t) {
  QObject::connect(t, &QTimer::timeout, &ctx_, [this] { fire(handler_); });
}

QtTimer::~QtTimer() {
  if (t_) {
    QObject::disconnect(t_, nullptr, &ctx_, nullptr);
    delete t_.data();
  }
}

void QtTimer::setEnabled(bool on) {
  if (on)
    start();
  else
    stop();
}

void QtTimer::setInterval(int ms) { t_->setInterval(std::max(ms, 0)); }
int QtTimer::interval() const { return t_->interval(); }

void QtTimer::start() {
  if (!t_->isActive()) t_->start();
}

void QtTimer::stop() { t_->stop(); }
bool QtTimer::running() const { return t_->isActive(); }

}  // namespace qx
