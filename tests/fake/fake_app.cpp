#include "fake/fake_app.h"

namespace qx::fake {

FakeApp::FakeApp(std::uint64_t start_ms) : sched(start_ms) {
  // The program directory holds the page selector pictures, as in the build tree.
  files.write("ball_red.gif", "GIF89a");
  files.write("ball_gray.bmp", "BM");
}

FakeApp::~FakeApp() {
  main.reset();
  form.reset();
}

void FakeApp::start() {
  form = std::make_unique<Form>(toolkit, mainLayout(), files.programDir());
  main = std::make_unique<MainForm>(*form, services);
  main->Load();
}

void FakeApp::close() { main->Unload(); }

std::vector<std::string> FakeApp::takeLines() {
  auto lines = model.lines();
  model.clearLines();
  return lines;
}

}  // namespace qx::fake
