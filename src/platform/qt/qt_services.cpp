#include "platform/qt/qt_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSpacerItem>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "platform/qt/qt_convert.h"

namespace qx {

// ---- clock, event pump

std::uint32_t QtClock::nowMs() {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(timer_.elapsed()));
}

void QtEventPump::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::waitFor(std::uint32_t ms) {
  if (ms == 0) {
    doEvents();
    return;
  }
  // Sleeps in the event dispatcher until an event comes, handles it, and goes back to sleep
  // until the deadline, which a precise single-shot timer marks. No local event loop: its exec()
  // and quit() would cost a second wake-up per wait, and waits of 2 ms come 500 times a second
  // while a transaction waits for its reply.
  QElapsedTimer elapsed;
  elapsed.start();
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  for (qint64 left = ms; left > 0; left = static_cast<qint64>(ms) - elapsed.elapsed()) {
    if (!deadline.isActive()) deadline.start(static_cast<int>(std::min<qint64>(left, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

// ---- message box

MsgAnswer QtMessageBox::show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                             const std::string& detail) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QCoreApplication::applicationName());
  QString body = qtc::pathText(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setTextFormat(Qt::PlainText);
  box.setText(body);
  switch (icon) {
    case MsgIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  struct Choice {
    QMessageBox::StandardButton button;
    const char* name;
    const char* accessible;
    MsgAnswer answer;
  };
  static constexpr Choice kOk{QMessageBox::Ok, "msgbox_ok", "OK", MsgAnswer::Ok};
  static constexpr Choice kYes{QMessageBox::Yes, "msgbox_yes", "Yes", MsgAnswer::Yes};
  static constexpr Choice kNo{QMessageBox::No, "msgbox_no", "No", MsgAnswer::No};
  static constexpr Choice kCancel{QMessageBox::Cancel, "msgbox_cancel", "Cancel",
                                  MsgAnswer::Cancel};
  std::vector<Choice> choices;
  switch (buttons) {
    case MsgButtons::Ok:
      choices = {kOk};
      break;
    case MsgButtons::YesNo:
      choices = {kYes, kNo};
      break;
    case MsgButtons::YesNoCancel:
      choices = {kYes, kNo, kCancel};
      break;
  }
  std::vector<std::pair<QAbstractButton*, MsgAnswer>> made;
  for (const auto& c : choices) {
    QPushButton* b = box.addButton(c.button);
    b->setObjectName(QLatin1String(c.name));
    b->setAccessibleName(QLatin1String(c.accessible));
    made.emplace_back(b, c.answer);
  }
  // The first button is the default one; Escape and the close box choose the last (OK, No,
  // Cancel).
  box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
  box.setEscapeButton(made.back().first);
  if (!detail.empty()) {
    box.setDetailedText(qtc::pathText(detail));
    // QMessageBox is as narrow as its short text; widen it so that the details (a device path,
    // a command to type) read in whole lines.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
      grid->addItem(new QSpacerItem(520, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                    grid->rowCount(), 0, 1, grid->columnCount());
    // Tall enough for the whole text when shown: a few lines, never a scroll.
    if (auto* pane = box.findChild<QTextEdit*>()) {
      const auto lines = static_cast<int>(std::count(detail.begin(), detail.end(), '\n')) + 2;
      pane->setMinimumHeight(std::min(lines, 12) * pane->fontMetrics().lineSpacing() +
                             2 * pane->frameWidth() + 8);
    }
  }
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  for (const auto& [b, answer] : made)
    if (b == clicked) return answer;
  return made.back().second;
}

// ---- file dialog

QStringList qtNameFilters(const std::string& filter) {
  const QStringList parts = qtc::text(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString t = p.trimmed();
      patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    out << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
               QLatin1Char(')');
  }
  return out;
}

std::optional<std::string> QtFileDialog::show(const FileDialogRequest& req) {
  QFileDialog dlg(QApplication::activeWindow(), qtc::text(req.title));
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = qtNameFilters(req.filter);
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    if (req.filter_index >= 1 && req.filter_index <= filters.size())
      dlg.selectNameFilter(filters[req.filter_index - 1]);
  }
  if (!req.init_dir.empty()) dlg.setDirectory(qtc::path(req.init_dir));
  if (!req.file_name.empty()) dlg.selectFile(qtc::path(req.file_name));
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dlg.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return qtc::pathBytes(QDir::toNativeSeparators(chosen.front()));
}

// ---- files

QString userStateHome(const QString& xdg_state_home, const QString& home) {
  // Relative paths in the XDG variables are invalid and to be ignored.
  if (!xdg_state_home.isEmpty() && QDir::isAbsolutePath(xdg_state_home)) return xdg_state_home;
  return home + QStringLiteral("/.local/state");
}

std::string QtFileSystem::programDir() {
  // Qt reads /proc/self/exe, so a launcher link elsewhere leads to the real program directory.
  return qtc::pathBytes(QCoreApplication::applicationDirPath());
}

std::string QtFileSystem::stateDir() {
  if (state_dir_) return *state_dir_;
  const std::string program = programDir();
  const bool writable = ::faccessat(AT_FDCWD, program.c_str(), W_OK, AT_EACCESS) == 0;
  if (writable && !QFileInfo::exists(qtc::path(program) + QLatin1Char('/') +
                                     QLatin1String(kPerUserStateMarker))) {
    state_dir_ = program;
    return program;
  }
  const QString home = state_home_.empty()
                           ? userStateHome(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath())
                           : qtc::path(state_home_);
  const std::string dir = qtc::pathBytes(QDir::cleanPath(home + QStringLiteral("/qx-zenk-rx")));
  // Each missing level private to the user, as the XDG base directories are meant to be. A
  // failure shows later, when the state file cannot be written.
  for (std::size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    ::mkdir(dir.substr(0, slash).c_str(), 0700);
    if (slash == std::string::npos) break;
  }
  state_dir_ = dir;
  return dir;
}

std::optional<std::string> QtFileSystem::findFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const QFileInfo fi(qtc::path(path));
  if (!fi.exists() || !fi.isFile() || fi.isHidden()) return std::nullopt;
  return qtc::pathBytes(fi.fileName());
}

std::optional<std::string> QtFileSystem::readFile(const std::string& path) {
  QFile f(qtc::path(path));
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool QtFileSystem::writeFileAtomic(const std::string& path, const std::string& contents) {
  QSaveFile f(qtc::path(path));
  if (!f.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(contents.size());
  // The bytes are handed to the file system here, not left to commit(): QSaveFile (Qt 6.4)
  // does not notice a write that fails while commit() flushes its buffer (a full disk) and
  // would rename the short temporary file over the old one.
  if (f.write(contents.data(), size) != size || !f.flush()) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}

}  // namespace qx
