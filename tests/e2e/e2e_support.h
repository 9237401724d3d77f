#pragma once
// End-to-end harness: the real Qt backend and a real serial port (QSerialPort on a
// pseudo-terminal) against a qx-zenk-sim process, with real files in a temporary program
// directory. Message boxes and the file dialog are Qt's own; a test answers them the way a
// user would, by pressing their buttons.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/qt_toolkit.h"
#include "qt/qt_test_support.h"
#include "shell/layout_table.h"
#include "shell/main_form.h"

namespace qx::e2e {

namespace fs = std::filesystem;

// Pumps events, sleeping between them, until done() holds or a generous bound passes.
inline bool pumpUntil(const std::function<bool()>& done, int bound_ms = 10000) {
  return test::pumpUntil(done, bound_ms);
}

inline void pumpFor(int ms) {
  QtEventPump pump;
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) pump.waitFor(static_cast<std::uint32_t>(ms - t.elapsed()));
}

inline std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void writeFile(const fs::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << s;
}

// A temporary program directory holding the data files the tool reads.
class ProgramDir {
 public:
  ProgramDir() {
    char tmpl[] = "/tmp/qx-e2e-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    for (const char* f :
         {"auto_off.txt", "input_prefer.txt", "output_reso.txt", "ball_red.gif", "ball_gray.bmp",
          "logo.png", "cr.png", "key_menu.png", "key_minus.png", "key_plus.png", "app_icon.png"})
      fs::copy_file(fs::path(QX_DATA_DIR) / f, dir_ / f, fs::copy_options::overwrite_existing);
  }
  ~ProgramDir() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  const fs::path& path() const { return dir_; }
  std::string str() const { return dir_.string(); }

 private:
  fs::path dir_;
};

// qx-zenk-sim serving on a pseudo-terminal linked as <dir>/COM1, recording what it receives.
class SimProcess {
 public:
  SimProcess(const fs::path& dir, std::vector<std::string> args = {}) : record_(dir / "rx.hex") {
    args.insert(args.begin(), {QX_SIM_PATH, "--quiet", "--link", (dir / "COM1").string(),
                               "--record", record_.string()});
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::close(out[0]);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') device_.push_back(c);
    ::close(out[0]);
  }
  ~SimProcess() { stop(); }
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int st;
    ::waitpid(pid_, &st, 0);
    pid_ = 0;
  }
  bool running() {
    if (pid_ <= 0) return false;
    int st;
    if (::waitpid(pid_, &st, WNOHANG) == pid_) {
      pid_ = 0;
      return false;
    }
    return true;
  }
  const std::string& device() const { return device_; }
  // Every complete line the simulator received so far, in order.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    std::istringstream in(readFile(record_));
    std::string hex;
    while (std::getline(in, hex)) {
      std::string line;
      for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        line.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
      out.push_back(line);
    }
    return out;
  }

 private:
  fs::path record_;
  pid_t pid_ = -1;
  std::string device_;
};

// The program directory stands in for the executable's directory.
class DirFileSystem : public QtFileSystem {
 public:
  explicit DirFileSystem(std::string dir) : dir_(std::move(dir)) {}
  std::string programDir() override { return dir_; }

 private:
  std::string dir_;
};

// The dialog answers with scripted paths (a user typing a name); empty means Cancel.
class ScriptedDialog : public FileDialog {
 public:
  std::optional<std::string> show(const FileDialogRequest& req) override {
    requests.push_back(req);
    if (results.empty()) return std::nullopt;
    auto r = results.front();
    results.erase(results.begin());
    return r;
  }
  std::vector<std::optional<std::string>> results;
  std::vector<FileDialogRequest> requests;
};

// Presses a button of the next message box that comes up, and remembers its text. With
// answerEvery, it presses that button on every box that comes up while it lives.
class BoxAnswerer {
 public:
  BoxAnswerer() = default;
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  void answer(QMessageBox::StandardButton button) {
    QTimer::singleShot(50, &ctx_, [this, button] { press(button); });
  }
  void answerEvery(QMessageBox::StandardButton button) {
    answerEvery([button](const std::string&) { return button; });
  }
  // choose: the button to press for a box's text.
  void answerEvery(std::function<QMessageBox::StandardButton(const std::string&)> choose) {
    every_ = std::make_unique<QTimer>();
    QObject::connect(every_.get(), &QTimer::timeout, &ctx_, [this, choose] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        if (auto* b = box->button(choose(texts.back()))) b->click();
      }
    });
    every_->start(30);
  }
  std::vector<std::string> texts;

 private:
  void press(QMessageBox::StandardButton button) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(50, &ctx_, [this, button] { press(button); });
      return;
    }
    texts.push_back(box->text().toStdString());
    if (auto* b = box->button(button)) b->click();
  }
  std::unique_ptr<QTimer> every_;
  QObject ctx_;  // last: pending presses end with the answerer
};

// The real serial port, counting the bytes the tool has taken from it.
class CountingSerialPort : public QtSerialPort {
 public:
  using QtSerialPort::QtSerialPort;
  Bytes input() override {
    Bytes b = QtSerialPort::input();
    received += b.size();
    return b;
  }
  std::uint64_t received = 0;
};

// The tool built on the Qt backend in a program directory.
class E2EApp {
 public:
  explicit E2EApp(const std::string& dir)
      : files(dir), port(dir), toolkit(dir), services{clock, pump, port, msgbox, dialog, files} {}
  ~E2EApp() {
    main.reset();
    form.reset();
  }
  void start() {
    form = std::make_unique<Form>(toolkit, mainLayout(), files.programDir());
    main = std::make_unique<MainForm>(*form, services);
    main->Load();
  }
  template <class W>
  W* widget(const std::string& key) {
    return toolkit.window()->findChild<W*>(QString::fromStdString(key));
  }
  Link& link() { return main->link(); }

  DirFileSystem files;
  QtClock clock;
  QtEventPump pump;
  CountingSerialPort port;
  QtMessageBox msgbox;
  ScriptedDialog dialog;
  QtToolkit toolkit;
  Services services;
  std::unique_ptr<Form> form;
  std::unique_ptr<MainForm> main;
};

}  // namespace qx::e2e
