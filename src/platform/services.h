#pragma once
// Toolkit-free services the behaviour needs besides the controls: clock, event pump, serial
// port, message box, file dialog and file services. Each backend implements them; the
// contracts below are what the callers rely on.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx {

using Bytes = std::vector<std::uint8_t>;

// Whole milliseconds from an arbitrary origin; unsigned 32-bit, wraps. Differences of two
// readings are taken modulo 2^32.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t nowMs() = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes the events pending now, once, and returns.
  virtual void doEvents() = 0;
  // Processes events as they come for about ms milliseconds, sleeping while none is due.
  // Never spins. May return early; callers re-check their own end condition.
  virtual void waitFor(std::uint32_t ms) = 0;
};

// Outcome of opening a port, with what a person needs to fix a failure.
struct PortOpenResult {
  bool ok = false;
  std::string device;  // the device path that was tried
  enum class Cause { None, Missing, PermissionDenied, Busy, Other } cause = Cause::None;
  std::string detail;  // the system's own words
};

// The PC serial port (one per window). Port number n names a device: on Linux a link or
// device named COMn in the per-user folder (FileSystem::stateDir) or else in the program
// directory, if present, else /dev/ttyS<n-1>. The port is opened for exclusive use.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Closes first if open, then opens port n with settings such as "115200,N,8,1", no flow
  // control, and discards both buffers.
  virtual PortOpenResult open(int port_number, const std::string& settings) = 0;
  virtual void close() = 0;  // closing a closed port does nothing
  virtual bool isOpen() const = 0;
  // Received bytes waiting; 0 without failing while closed.
  virtual std::size_t inBufferCount() = 0;
  virtual void discardInput() = 0;
  // Takes and returns all waiting bytes in arrival order (empty while closed).
  virtual Bytes input() = 0;
  // Queues the bytes and returns at once; sending goes on while the caller waits.
  virtual void output(const Bytes& data) = 0;
  // Waits, pumping no events, until every queued byte has left or timeout_ms passed.
  // Returns true when nothing is left to send.
  virtual bool drain(std::uint32_t timeout_ms) = 0;
  // Called (from the event loop, never inside another port call) when the port went away:
  // adapter pulled, the other end of a pseudo-terminal closed, an I/O error. The port is
  // already closed when it runs.
  virtual void onLost(std::function<void()> h) = 0;
};

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Error, Question };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// Modal message box with the application's title; the window keeps processing events while it
// is up. detail is optional further text shown on demand.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& detail = {}) = 0;
};

struct FileDialogRequest {
  bool save = false;     // Save dialog, else Open
  std::string title;     // "Load File", "Save File"
  std::string filter;    // "Projector INI|*.ini|*.*|*.*"
  int filter_index = 1;  // 1-based
  std::string init_dir;
  std::string file_name;  // preset name or full path
};

// Common file dialog. Returns the chosen full path, or nothing when the user cancelled.
// The save dialog does not ask its own overwrite question.
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual std::optional<std::string> show(const FileDialogRequest& req) = 0;
};

// Files as the behaviour needs them. Paths are byte strings in the platform's encoding.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Directory of the executable (symbolic links resolved), without a trailing separator.
  virtual std::string programDir() = 0;
  // Folder of the files kept per user: the application state file and COMn links. The
  // program directory itself when the tool may write there (a portable build); else a folder
  // of the user's own (an installed tool), created when missing. Without a trailing separator.
  virtual std::string stateDir() = 0;
  // Directory search for path: the name found (last component as stored on disk) when path
  // names an existing ordinary, non-hidden file; nothing otherwise (folders, hidden files,
  // a failing search).
  virtual std::optional<std::string> findFile(const std::string& path) = 0;
  // Whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Writes to a temporary file beside path and renames it over path: either the new contents
  // are complete or the old file is untouched. False on any failure.
  virtual bool writeFileAtomic(const std::string& path, const std::string& contents) = 0;
  // The platform's path separator ('/' on Linux).
  virtual char separator() const = 0;
};

}  // namespace qx

namespace qx {

// Every service a window needs, handed to the behaviour through its constructor.
struct Services {
  Clock& clock;
  EventPump& pump;
  SerialPort& port;
  MessageBox& msgbox;
  FileDialog& dialog;
  FileSystem& files;
};

}  // namespace qx
