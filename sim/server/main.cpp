// qx-zenk-sim: serves the receiver model on a pseudo-terminal, so that the tool (or a terminal
// program) can talk to a receiver without hardware.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>

#include "options.h"
#include "receiver_model.h"

namespace {

using Clock = std::chrono::steady_clock;
using qxsim::Emission;

int g_signal_pipe[2] = {-1, -1};  // written by the signal handler, read by the poll loop

void onSignal(int) {
  const int saved = errno;
  const char b = 1;
  [[maybe_unused]] auto n = write(g_signal_pipe[1], &b, 1);
  errno = saved;
}

void fail(const std::string& what) {
  std::fprintf(stderr, "qx-zenk-sim: %s: %s\n", what.c_str(), std::strerror(errno));
}

// Writes content to path through a temporary file and a rename.
bool writeFileReplacing(const std::string& path, const std::string& content) {
  const std::string tmp = path + ".tmp." + std::to_string(getpid());
  const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = done == content.size() && close(fd) == 0;
  if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
    unlink(tmp.c_str());
    return false;
  }
  return true;
}

// The pseudo-terminal: the master end that the simulator serves, and one slave descriptor held
// open so that the master does not report a hang-up while no client has the device open.
struct Pty {
  int master = -1;
  int slave = -1;
  std::string path;

  bool open() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) return fail("posix_openpt"), false;
    const char* name = nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr)
      return fail("pseudo-terminal setup"), false;
    path = name;
    slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) return fail("open " + path), false;
    termios tio{};
    if (tcgetattr(slave, &tio) != 0) return fail("tcgetattr"), false;
    cfmakeraw(&tio);  // no echo, no line editing, no CR/LF translation
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    if (tcsetattr(slave, TCSANOW, &tio) != 0) return fail("tcsetattr"), false;
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl"), false;
    return true;
  }

  // Bytes the client has not read yet.
  int unread() const {
    int n = 0;
    return ioctl(slave, FIONREAD, &n) == 0 ? n : 0;
  }

  void close() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    master = slave = -1;
  }
};

// A symlink to the device, placed through a temporary name and a rename so that an existing
// link is replaced in one step; removed at exit only if it still points to our device.
struct DeviceLink {
  std::string path;
  std::string target;

  bool place(const std::string& at, const std::string& to) {
    struct stat st {};
    if (lstat(at.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "qx-zenk-sim: %s exists and is not a symlink; not replacing it\n",
                   at.c_str());
      return false;
    }
    const std::string tmp = at + ".tmp." + std::to_string(getpid());
    unlink(tmp.c_str());
    if (symlink(to.c_str(), tmp.c_str()) != 0) return fail("symlink " + tmp), false;
    if (rename(tmp.c_str(), at.c_str()) != 0) {
      fail("rename to " + at);
      unlink(tmp.c_str());
      return false;
    }
    path = at;
    target = to;
    return true;
  }

  void remove() {
    if (path.empty()) return;
    char buf[4096];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    if (n >= 0 && std::string(buf, static_cast<std::size_t>(n)) == target) unlink(path.c_str());
    path.clear();
  }
};

// Received lines, kept as hex text and rewritten whole after every line.
struct Record {
  std::string path;
  std::string content;

  bool start(const std::string& p) {
    path = p;
    std::ifstream in(p, std::ios::binary);
    if (in) {
      std::ostringstream ss;
      ss << in.rdbuf();
      content = ss.str();
      if (!content.empty() && content.back() != '\n') content.push_back('\n');
    }
    if (!writeFileReplacing(path, content)) return fail("write " + path), false;
    return true;
  }

  void add(const std::string& line) {
    if (path.empty()) return;
    content += qxsim::hexLine(line) + "\n";
    if (!writeFileReplacing(path, content)) fail("write " + path);
  }
};

struct Scheduled {
  Clock::time_point due;
  Emission emission;
};

class Server {
 public:
  Server(qxsim::ReceiverModel& model, Pty& pty, Record& record, bool quiet)
      : model_(model), pty_(pty), record_(record), quiet_(quiet) {}

  // Runs until a signal (returns 0), a hang-up (0) or an error of the terminal (1).
  int run() {
    while (true) {
      const auto now = Clock::now();
      int timeout = -1;
      if (!queue_.empty()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(queue_.front().due - now);
        timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
      }
      pollfd fds[2] = {
          {pty_.master, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0},
          {g_signal_pipe[0], POLLIN, 0},
      };
      if (poll(fds, 2, timeout) < 0) {
        if (errno == EINTR) continue;
        return fail("poll"), 1;
      }
      if (fds[1].revents & POLLIN) return 0;
      if (fds[0].revents & POLLIN) {
        if (!receive()) return 1;
      } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
        std::fprintf(stderr, "qx-zenk-sim: terminal error\n");
        return 1;
      }
      if (releaseDue()) return hangUp();
      if (!flush()) return 1;
    }
  }

 private:
  bool receive() {
    char buf[4096];
    while (true) {
      const ssize_t n = read(pty_.master, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
      if (n <= 0) return fail("read"), false;
      const auto at = Clock::now();
      const auto emissions = model_.feed(qxsim::Bytes(buf, buf + n));
      for (const auto& line : model_.lines()) {
        log('<', line);
        record_.add(line);
      }
      model_.clearLines();
      std::uint32_t prev_delay = 0;
      for (const auto& e : emissions) {
        // Emissions leave in the order the model made them; one that would overtake the one
        // before is pushed back, keeping its distance to it (a split reply stays split), as a
        // receiver answering one line after the other would.
        auto due = at + std::chrono::milliseconds(e.delay_ms);
        const auto step =
            std::chrono::milliseconds(e.delay_ms > prev_delay ? e.delay_ms - prev_delay : 0);
        if (due < last_due_ + step) due = last_due_ + step;
        prev_delay = e.delay_ms;
        last_due_ = due;
        queue_.push_back({due, e});
      }
    }
  }

  // Moves the emissions that are due to the output; true when one of them is the hang-up.
  bool releaseDue() {
    const auto now = Clock::now();
    while (!queue_.empty() && queue_.front().due <= now) {
      const Emission e = std::move(queue_.front().emission);
      queue_.pop_front();
      if (e.hang_up) return true;
      const std::string bytes(e.bytes.begin(), e.bytes.end());
      log('>', bytes);
      out_ += bytes;
    }
    return false;
  }

  bool flush() {
    while (!out_.empty()) {
      const ssize_t n = write(pty_.master, out_.data(), out_.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
      if (n < 0) return fail("write"), false;
      out_.erase(0, static_cast<std::size_t>(n));
    }
    return true;
  }

  // Lets the client take what was sent (closing the master discards unread bytes), bounded to
  // two seconds, then closes the terminal.
  int hangUp() {
    if (!quiet_) std::fprintf(stderr, "> (hang-up)\n");
    const auto limit = Clock::now() + std::chrono::seconds(2);
    bool first = true;
    while (Clock::now() < limit) {
      flush();
      if (!first && out_.empty() && pty_.unread() == 0) break;
      first = false;
      poll(nullptr, 0, 20);
    }
    pty_.close();
    return 0;
  }

  void log(char dir, const std::string& bytes) const {
    if (quiet_) return;
    std::fprintf(stderr, "%c %s\n", dir, qxsim::printable(bytes).c_str());
  }

  qxsim::ReceiverModel& model_;
  Pty& pty_;
  Record& record_;
  bool quiet_;
  std::deque<Scheduled> queue_;
  Clock::time_point last_due_{};
  std::string out_;
};

bool installSignals() {
  if (pipe(g_signal_pipe) != 0) return fail("pipe"), false;
  for (int fd : g_signal_pipe) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  qxsim::Options opts;
  if (const std::string err = qxsim::parseOptions(argc, argv, opts); !err.empty()) {
    std::fprintf(stderr, "qx-zenk-sim: %s\n(see --help)\n", err.c_str());
    return 2;
  }
  if (opts.help) {
    std::fputs(qxsim::usageText(), stdout);
    return 0;
  }

  qxsim::ReceiverModel model(opts.faults);
  for (const auto& [word, value] : opts.sets) {
    if (!model.hasValue(word)) {
      std::fprintf(stderr, "qx-zenk-sim: --set: %s holds no value\n", word.c_str());
      return 2;
    }
    model.setValue(word, value);
  }

  if (!installSignals()) return 1;
  Pty pty;
  if (!pty.open()) return 1;
  Record record;
  if (!opts.record_path.empty() && !record.start(opts.record_path)) return 1;
  DeviceLink link;
  if (!opts.link_path.empty() && !link.place(opts.link_path, pty.path)) return 1;

  std::printf("%s\n", pty.path.c_str());
  std::fflush(stdout);
  if (!opts.quiet) {
    std::fprintf(stderr, "qx-zenk-sim: serving on %s%s%s\n", pty.path.c_str(),
                 link.path.empty() ? "" : " as ", link.path.c_str());
  }

  Server server(model, pty, record, opts.quiet);
  const int rc = server.run();
  pty.close();
  link.remove();
  return rc;
}
