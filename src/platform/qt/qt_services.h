#pragma once
// The services of the window on Qt: monotonic clock, event pump, message box, file dialog and
// file services. The serial port is in qt_serial_port.h.

#include <QElapsedTimer>
#include <QStringList>
#include <optional>
#include <string>

#include "platform/services.h"

namespace qx {

// Whole milliseconds since construction, truncated to 32 bits (wraps after about 49 days).
class QtClock : public Clock {
 public:
  QtClock() { timer_.start(); }
  std::uint32_t nowMs() override;

 private:
  QElapsedTimer timer_;
};

// doEvents: one pass over the pending events. waitFor: sleeps in the event dispatcher until an
// event comes, handles it, and sleeps again until a precise single-shot timer marks the end.
// It runs no local event loop, so it also sleeps (never spins) while the application quits,
// when every local loop would return at once.
class QtEventPump : public EventPump {
 public:
  void doEvents() override;
  void waitFor(std::uint32_t ms) override;
};

// QMessageBox titled with the application's name. Its buttons are named for automation:
// "msgbox_ok", "msgbox_yes", "msgbox_no", "msgbox_cancel".
class QtMessageBox : public MessageBox {
 public:
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                 const std::string& detail = {}) override;
};

// Qt's own file dialog (never the desktop's), which asks no overwrite question and returns a
// typed name whether or not the file exists: the caller tests presence itself.
class QtFileDialog : public FileDialog {
 public:
  std::optional<std::string> show(const FileDialogRequest& req) override;
};

// Qt name filters from the "Description|pattern|Description|pattern" form: each pair becomes
// "Description (patterns)", with patterns separated by ';' in the source and "*.*" (any file)
// written as "*". "Projector INI|*.ini|*.*|*.*" -> {"Projector INI (*.ini)", "*.* (*)"}.
QStringList qtNameFilters(const std::string& filter);

// A file of this name in the program directory marks an installed tool: its state is kept per
// user even when the program directory is writable (root, or a user who owns the install).
inline constexpr const char* kPerUserStateMarker = "per-user-state";

// The base of per-user state folders: XDG_STATE_HOME when it is an absolute path, else
// <home>/.local/state.
QString userStateHome(const QString& xdg_state_home, const QString& home);

// The program directory is the resolved executable's. It is the per-user folder too when the
// user may write there and it holds no kPerUserStateMarker (a portable build); otherwise the
// per-user folder is <state home>/qx-zenk-rx, created (mode 0700) at the first stateDir() call.
// The choice is taken once and kept.
class QtFileSystem : public FileSystem {
 public:
  // state_home: the base of per-user state folders; empty: from the environment
  // (userStateHome of $XDG_STATE_HOME and the home directory).
  explicit QtFileSystem(std::string state_home = {}) : state_home_(std::move(state_home)) {}
  std::string programDir() override;
  std::string stateDir() override;
  std::optional<std::string> findFile(const std::string& path) override;
  std::optional<std::string> readFile(const std::string& path) override;
  bool writeFileAtomic(const std::string& path, const std::string& contents) override;
  char separator() const override { return '/'; }

 private:
  std::string state_home_;
  std::optional<std::string> state_dir_;
};

}  // namespace qx
