// qx-bench: how light and how fast the tool is, measured in one run against qx-zenk-sim.
//
//   (a) CPU time / wall time while one waited transaction runs against a silent receiver
//   (b) CPU time / wall time during a full receiver Read
//   (c) the Read's wall time / 18 x 100 ms, the floor set by the 100 ms receive poll
//   (d) CPU time / wall time of the idle tool with the link open, over 10 s
//   (e) start-up to the window shown, and peak RSS, side by side with CuteCom
//
// (a) to (c) run the tool's own code on the Qt backend in this process (its window shown on
// Xvfb when there is one, else offscreen); CPU is this process's getrusage. (d) and (e) start
// the real executables under Xvfb and watch them from outside: the window counts as shown when
// the X server maps it, CPU comes from /proc/<pid>/task/*/schedstat, peak RSS from VmHWM.
//
// Usage: qx-bench [--runs N] [--idle-seconds S] [--cutecom PATH] [--no-x]
// Prints one line per figure with its goal; exit status 1 when a figure misses its goal.

#include <fcntl.h>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyleFactory>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "e2e/e2e_support.h"
#include "map_watcher.h"
#include "shell/state_file.h"

namespace {

using namespace qx;
using namespace qx::e2e;
using qxbench::MapWatcher;
using SteadyClock = std::chrono::steady_clock;

double seconds(SteadyClock::duration d) { return std::chrono::duration<double>(d).count(); }

double selfCpuSeconds() {
  rusage ru{};
  ::getrusage(RUSAGE_SELF, &ru);
  auto s = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return s(ru.ru_utime) + s(ru.ru_stime);
}

// CPU time of every thread of a process, in seconds, from the scheduler's nanosecond counts.
double processCpuSeconds(pid_t pid) {
  double total = 0;
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
    std::istringstream in(readFile(task.path() / "schedstat"));
    double ns = 0;
    if (in >> ns) total += ns / 1e9;
  }
  return total;
}

// A /proc/<pid>/status field in KiB (VmHWM: peak resident set).
long statusKiB(pid_t pid, const std::string& field) {
  std::istringstream in(readFile("/proc/" + std::to_string(pid) + "/status"));
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  return -1;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
double worst(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

bool g_missed = false;

// One figure: the median of the runs (the worst in brackets) against an upper goal.
void report(const char* label, const std::vector<double>& runs, double goal, const char* unit,
            int decimals) {
  const bool met = median(runs) <= goal;
  if (!met) g_missed = true;
  std::printf("%-58s %9.*f%s (worst %.*f)  goal <= %.*f  %s\n", label, decimals, median(runs), unit,
              decimals, worst(runs), decimals, goal, met ? "met" : "MISSED");
}

// ---- Xvfb and the window watcher

class Xvfb {
 public:
  bool start() {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string n;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') n.push_back(c);
    ::close(fds[0]);
    if (n.empty()) return false;
    display_ = ":" + n;
    return true;
  }
  ~Xvfb() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program started under the X server with its own empty home, ended by SIGTERM.
class Program {
 public:
  Program(const std::string& exe, const std::string& display, const fs::path& home) {
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("DISPLAY", display.c_str(), 1);
      ::setenv("HOME", home.c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
      ::unsetenv("QT_QPA_PLATFORM");
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~Program() { stop(); }
  pid_t pid() const { return pid_; }
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 300; ++i) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = 0;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = -1;
};

struct StartFigures {
  std::vector<double> startup_ms;
  std::vector<double> peak_mib;
};

// Starts exe `runs` times; each run: time to the window mapped, then peak RSS after settle_s.
StartFigures measureStart(const std::string& exe, const std::string& window_name,
                          const std::string& display, int runs, double settle_s) {
  StartFigures f;
  for (int r = 0; r < runs; ++r) {
    ProgramDir home;
    MapWatcher watch(display);
    if (!watch.ok()) break;
    const auto t0 = SteadyClock::now();
    Program p(exe, display, home.path());
    const auto shown = watch.waitForMapped(window_name, 20);
    if (!shown) {
      std::fprintf(stderr, "qx-bench: %s showed no window \"%s\"\n", exe.c_str(),
                   window_name.c_str());
      break;
    }
    f.startup_ms.push_back(seconds(*shown - t0) * 1000);
    std::this_thread::sleep_for(std::chrono::duration<double>(settle_s));
    f.peak_mib.push_back(static_cast<double>(statusKiB(p.pid(), "VmHWM")) / 1024);
  }
  return f;
}

// CPU / wall of a started program over idle_s, after it has shown its window and settled.
std::optional<double> measureIdle(const std::string& exe, const std::string& window_name,
                                  const std::string& display, double idle_s) {
  ProgramDir home;
  MapWatcher watch(display);
  Program p(exe, display, home.path());
  if (!watch.ok() || !watch.waitForMapped(window_name, 20)) return std::nullopt;
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const double c0 = processCpuSeconds(p.pid());
  const auto t0 = SteadyClock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(idle_s));
  const double cpu = processCpuSeconds(p.pid()) - c0;
  return cpu / seconds(SteadyClock::now() - t0);
}

std::string findInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream in(path ? path : "");
  std::string dir;
  while (std::getline(in, dir, ':'))
    if (::access((fs::path(dir) / name).c_str(), X_OK) == 0) return (fs::path(dir) / name);
  return {};
}

// ---- in-process figures

// A program directory with the data files and a state file that opens the receiver page.
void receiverPageState(const ProgramDir& dir) {
  writeFile(dir.path() / kStateFileName, "1\r\n0\r\n0\r\n\"\"\r\n1\r\n");
}

// (a) CPU / wall over waited transactions that run to the end of their wait.
std::vector<double> silentTransactions(int runs, std::vector<double>& wait_ms) {
  ProgramDir dir;
  receiverPageState(dir);
  SimProcess sim(dir.path(), {"--silent"});
  E2EApp app(dir.str());
  app.start();
  app.toolkit.window()->centreAndShow();
  pumpFor(300);
  std::vector<double> ratios;
  for (int r = 0; r < runs; ++r) {
    const double c0 = selfCpuSeconds();
    const auto t0 = SteadyClock::now();
    app.link().SendCommand("WP_Aspect[16:9]$\r");
    const double wall = seconds(SteadyClock::now() - t0);
    const double cpu = selfCpuSeconds() - c0;
    if (app.link().reply_done) {
      std::fprintf(stderr, "qx-bench: the silent receiver answered\n");
      g_missed = true;
    }
    ratios.push_back(cpu / wall);
    wait_ms.push_back(wall * 1000);
  }
  return ratios;
}

// (b) and (c): full receiver Reads, clicked as a user would.
void fullReads(int runs, std::vector<double>& cpu_ratio, std::vector<double>& floor_ratio) {
  ProgramDir dir;
  receiverPageState(dir);
  SimProcess sim(dir.path());
  E2EApp app(dir.str());
  app.start();
  app.toolkit.window()->centreAndShow();
  pumpFor(300);
  auto* read = app.widget<QPushButton>("cmd_ctrl_read");
  for (int r = 0; r < runs; ++r) {
    const double c0 = selfCpuSeconds();
    const auto t0 = SteadyClock::now();
    read->click();
    const double wall = seconds(SteadyClock::now() - t0);
    const double cpu = selfCpuSeconds() - c0;
    if (app.form->label("lab_ctrl_reply").visible()) {
      std::fprintf(stderr, "qx-bench: the Read failed\n");
      g_missed = true;
    }
    cpu_ratio.push_back(cpu / wall);
    floor_ratio.push_back(wall / 1.8);
    // A pause between Reads, as a user's would be; its length varies, so that the Reads start
    // at different points of the 100 ms receive poll (the first reply waits for the next tick).
    pumpFor(150 + 37 * r);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  double idle_s = 10;
  bool use_x = true;
  std::string cutecom;
  std::string only = "abde";  // which figures; (c) comes with (b)
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--idle-seconds" && i + 1 < argc) {
      idle_s = std::atof(argv[++i]);
    } else if (a == "--cutecom" && i + 1 < argc) {
      cutecom = argv[++i];
    } else if (a == "--no-x") {
      use_x = false;
    } else if (a == "--only" && i + 1 < argc) {
      only = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: qx-bench [--runs N] [--idle-seconds S] [--cutecom PATH] [--no-x] "
                   "[--only abde]\n");
      return 2;
    }
  }
  auto want = [&only](char figure) { return only.find(figure) != std::string::npos; };
  if (cutecom.empty()) cutecom = findInPath("cutecom");

  Xvfb xvfb;
  const bool have_x = use_x && !findInPath("Xvfb").empty() && xvfb.start();
  if (have_x) {
    ::setenv("DISPLAY", xvfb.display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  } else {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication qapp(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("QX-ZENK-RX"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setQuitOnLastWindowClosed(false);

  std::printf("qx-bench: %d runs per figure, window on %s\n\n", runs,
              have_x ? ("Xvfb " + xvfb.display()).c_str() : "offscreen");

  if (want('a')) {
    std::vector<double> wait_ms;
    const auto silent = silentTransactions(runs, wait_ms);
    report("(a) CPU / wall, waited transaction, silent receiver", silent, 0.05, "", 4);
    std::printf("    (length of that wait: %.0f ms)\n", median(wait_ms));
  }
  if (want('b')) {
    std::vector<double> read_cpu, read_floor;
    fullReads(runs, read_cpu, read_floor);
    report("(b) CPU / wall, full receiver Read", read_cpu, 0.02, "", 4);
    report("(c) Read wall time / (18 x 100 ms)", read_floor, 1.05, "", 3);
  }
  if (!want('d') && !want('e')) return g_missed ? 1 : 0;
  if (!have_x) {
    std::printf("\n(d), (e): not measured (no Xvfb)\n");
    return g_missed ? 1 : 0;
  }

  // The tool as installed next to this program, in a program directory of its own whose COM1
  // is a simulator.
  const fs::path bin_dir = fs::canonical("/proc/self/exe").parent_path();
  ProgramDir prog;
  const fs::path tool = prog.path() / "qx-zenk-rx";
  fs::copy_file(bin_dir / "qx-zenk-rx", tool);
  SimProcess sim(prog.path());
  const std::string title = "QX-ZENK-RX v2.2.8";

  if (want('d')) {
    const auto idle = measureIdle(tool, title, xvfb.display(), idle_s);
    if (idle) {
      report("(d) CPU / wall, idle with the link open", {*idle * 100}, 0.2, " %", 3);
    } else {
      std::printf("(d) not measured: the tool showed no window\n");
      g_missed = true;
    }
  }
  if (!want('e')) return g_missed ? 1 : 0;

  const StartFigures ours = measureStart(tool, title, xvfb.display(), runs, 1.0);
  StartFigures theirs;
  if (!cutecom.empty()) theirs = measureStart(cutecom, "CuteCom", xvfb.display(), runs, 1.0);
  auto cell = [](const std::vector<double>& v, const char* unit) {
    char buf[64];
    if (v.empty()) return std::string("-");
    std::snprintf(buf, sizeof buf, "%.0f %s (worst %.0f)", median(v), unit, worst(v));
    return std::string(buf);
  };
  std::printf("\n(e) started under Xvfb, median of %d    %-26s %s\n", runs, "qx-zenk-rx",
              cutecom.empty() ? "CuteCom (not installed)" : "CuteCom");
  std::printf("    start-up to window shown              %-26s %s\n",
              cell(ours.startup_ms, "ms").c_str(), cell(theirs.startup_ms, "ms").c_str());
  std::printf("    peak RSS (VmHWM, 1 s after shown)     %-26s %s\n",
              cell(ours.peak_mib, "MiB").c_str(), cell(theirs.peak_mib, "MiB").c_str());
  if (ours.startup_ms.empty()) g_missed = true;
  return g_missed ? 1 : 0;
}
