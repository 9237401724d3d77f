#include "fake/fake_platform.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

namespace qx::fake {

// ---- Scheduler

Scheduler::Id Scheduler::at(std::uint64_t due, std::function<void()> fn) {
  Id id = next_id_++;
  events_.emplace(std::make_pair(due, id), std::move(fn));
  return id;
}

void Scheduler::cancel(Id id) {
  for (auto it = events_.begin(); it != events_.end(); ++it)
    if (it->first.second == id) {
      events_.erase(it);
      return;
    }
}

bool Scheduler::runOneDue(std::uint64_t limit) {
  if (events_.empty()) return false;
  auto it = events_.begin();
  if (it->first.first > limit) return false;
  if (it->first.first > now_) now_ = it->first.first;
  auto fn = std::move(it->second);
  events_.erase(it);
  fn();
  return true;
}

void Scheduler::doEvents() {
  // Only what is due now; events created by the handlers for now run too.
  while (runOneDue(now_)) {
  }
}

void Scheduler::waitFor(std::uint32_t ms) {
  ++waits_;
  advance(ms);
}

void Scheduler::advance(std::uint64_t ms) {
  const std::uint64_t target = now_ + ms;
  while (runOneDue(target)) {
  }
  if (now_ < target) now_ = target;
}

// ---- Controls

void FakeOptionButton::setChecked(bool on) {
  if (!on) {
    checked_ = false;
    return;
  }
  for (auto* other : group_)
    if (other != this) other->checked_ = false;
  checked_ = true;
  if (click_) click_();
}

bool FakeImageBox::loadPicture(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) return false;
  picture_ = path;
  ++loads_;
  return true;
}

void FakeTimer::arm() {
  id_ =
      sched_.at(sched_.now64() + static_cast<std::uint64_t>(interval_ > 0 ? interval_ : 1), [this] {
        id_ = 0;
        arm();
        if (tick_) tick_();
      });
}

void FakeTimer::start() {
  if (id_ == 0) arm();
}

void FakeTimer::stop() {
  if (id_ != 0) sched_.cancel(id_);
  id_ = 0;
}

Window& FakeToolkit::createWindow(const WindowSpec& desc) {
  window_.desc = desc;
  window_.setCaption(desc.caption);
  window_.setBackColor(desc.back);
  return window_;
}

std::unique_ptr<Control> FakeToolkit::createControl(const ControlSpec& desc, Control* parent,
                                                    const std::string&) {
  auto* p = dynamic_cast<FakeControl*>(parent);
  switch (desc.kind) {
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      return std::make_unique<FakeContainer>(desc, p);
    case ControlKind::Label:
      return std::make_unique<FakeLabel>(desc, p);
    case ControlKind::Button:
      return std::make_unique<FakeButton>(desc, p);
    case ControlKind::ComboBox:
      return std::make_unique<FakeComboBox>(desc, p);
    case ControlKind::TextBox:
    case ControlKind::MultiLineText:
      return std::make_unique<FakeTextBox>(desc, p);
    case ControlKind::OptionButton:
      return std::make_unique<FakeOptionButton>(desc, p, groups_[desc.parent + "/" + desc.name]);
    case ControlKind::CheckBox:
      return std::make_unique<FakeCheckBox>(desc, p);
    case ControlKind::ImageBox:
      return std::make_unique<FakeImageBox>(desc, p);
    case ControlKind::Timer:
      return std::make_unique<FakeTimer>(desc, p, sched_);
  }
  return nullptr;
}

// ---- Serial port

PortOpenResult FakeSerialPort::open(int port_number, const std::string& s) {
  close();
  ++opens;
  PortOpenResult r;
  r.device = "/dev/ttyS" + std::to_string(port_number - 1);
  if (!present.count(port_number)) {
    r.cause = PortOpenResult::Cause::Missing;
    return r;
  }
  if (busy.count(port_number)) {
    r.cause = PortOpenResult::Cause::Busy;
    return r;
  }
  if (denied.count(port_number)) {
    r.cause = PortOpenResult::Cause::PermissionDenied;
    return r;
  }
  open_ = true;
  opened_port = port_number;
  settings = s;
  in_.clear();
  ++generation_;
  r.ok = true;
  return r;
}

void FakeSerialPort::close() {
  open_ = false;
  in_.clear();
  ++generation_;
}

Bytes FakeSerialPort::input() {
  Bytes out;
  if (open_) out.swap(in_);
  return out;
}

bool FakeSerialPort::drain(std::uint32_t timeout_ms) {
  if (!stuck) return true;
  sched_.advance(timeout_ms);  // the bounded wait passes without the bytes leaving
  return false;
}

void FakeSerialPort::output(const Bytes& data) {
  if (!open_) return;
  written.insert(written.end(), data.begin(), data.end());
  const std::uint64_t gen = generation_;
  for (auto& e : model_.feed(data)) {
    sched_.at(sched_.now64() + e.delay_ms, [this, gen, e] {
      if (gen != generation_ || !open_) return;
      in_.insert(in_.end(), e.bytes.begin(), e.bytes.end());
      if (e.hang_up) hangUp();
    });
  }
}

void FakeSerialPort::inject(const Bytes& data, std::uint32_t delay_ms) {
  const std::uint64_t gen = generation_;
  sched_.at(sched_.now64() + delay_ms, [this, gen, data] {
    if (gen == generation_ && open_) in_.insert(in_.end(), data.begin(), data.end());
  });
}

void FakeSerialPort::hangUp() {
  if (!open_) return;
  close();
  // Reported from the event loop, like the real port's queued notice.
  sched_.at(sched_.now64(), [this] {
    if (lost_) lost_();
  });
}

// ---- Dialogs

MsgAnswer FakeMessageBox::show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                               const std::string& detail) {
  shown.push_back({text, buttons, icon, detail});
  if (while_shown) while_shown();
  if (!answers.empty()) {
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::YesNo:
      return MsgAnswer::No;
    case MsgButtons::YesNoCancel:
      return MsgAnswer::Cancel;
  }
  return MsgAnswer::Ok;
}

std::optional<std::string> FakeFileDialog::show(const FileDialogRequest& req) {
  requests.push_back(req);
  if (results.empty()) return std::nullopt;
  auto r = results.front();
  results.pop_front();
  return r;
}

// ---- Files

TempFileSystem::TempFileSystem() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    dir_ = base / ("qx-unit-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    if (std::filesystem::create_directory(dir_)) break;
  }
  user_dir_ = dir_.string() + "-user";
}

TempFileSystem::~TempFileSystem() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  std::filesystem::remove_all(user_dir_, ec);
}

std::string TempFileSystem::stateDir() {
  if (!read_only_program_dir) return programDir();
  std::filesystem::create_directories(user_dir_);
  return user_dir_.string();
}

std::optional<std::string> TempFileSystem::findFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (path.empty() || !std::filesystem::is_regular_file(p, ec)) return std::nullopt;
  std::string name = p.filename().string();
  if (!name.empty() && name[0] == '.') return std::nullopt;
  return name;
}

std::optional<std::string> TempFileSystem::readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool TempFileSystem::writeFileAtomic(const std::string& path, const std::string& contents) {
  if (fail_writes) return false;
  if (read_only_program_dir && std::filesystem::path(path).parent_path() == dir_) return false;
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << contents;
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  return !ec;
}

void TempFileSystem::write(const std::string& name, const std::string& contents) const {
  std::ofstream(path(name), std::ios::binary | std::ios::trunc) << contents;
}

std::optional<std::string> TempFileSystem::read(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace qx::fake
