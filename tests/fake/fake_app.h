#pragma once
// The whole tool on the fake platform: window, services, receiver model. Tests start it,
// act as the user would, and look at controls, the wire and files.

#include <memory>
#include <string>

#include "fake/fake_platform.h"
#include "platform/form.h"
#include "shell/layout_table.h"
#include "shell/main_form.h"

namespace qx::fake {

class FakeApp {
 public:
  explicit FakeApp(std::uint64_t start_ms = 1000);
  ~FakeApp();

  // Builds the window and runs its Load event.
  void start();
  // Runs the Unload event.
  void close();

  Scheduler sched;
  qxsim::ReceiverModel model;
  FakeSerialPort port{sched, model};
  FakeMessageBox msgbox;
  FakeFileDialog dialog;
  TempFileSystem files;
  FakeToolkit toolkit{sched};
  Services services{sched, sched, port, msgbox, dialog, files};
  std::unique_ptr<Form> form;
  std::unique_ptr<MainForm> main;

  FakeComboBox& combo(const std::string& key) { return form->get<FakeComboBox>(key); }
  FakeButton& button(const std::string& key) { return form->get<FakeButton>(key); }
  FakeLabel& label(const std::string& key) { return form->get<FakeLabel>(key); }
  FakeTextBox& text(const std::string& key) { return form->get<FakeTextBox>(key); }
  FakeImageBox& image(const std::string& key) { return form->get<FakeImageBox>(key); }
  FakeOptionButton& option(const std::string& key) { return form->get<FakeOptionButton>(key); }
  FakeCheckBox& check(const std::string& key) { return form->get<FakeCheckBox>(key); }
  FakeContainer& container(const std::string& key) { return form->get<FakeContainer>(key); }
  FakeTimer& timer(const std::string& key) { return form->get<FakeTimer>(key); }
  FakeWindow& window() { return toolkit.window(); }
  Link& link() { return main->link(); }
  WindowState& state() { return main->state(); }

  // Lines the receiver model received since the last call, as text.
  std::vector<std::string> takeLines();
};

}  // namespace qx::fake
