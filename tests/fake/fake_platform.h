#pragma once
// The fake platform of the unit tests: in-memory controls, a virtual clock that jumps to the
// next due event, scripted message boxes and file dialogs, real files in a temporary
// directory, and a serial port wired to the receiver model.

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/services.h"
#include "platform/toolkit.h"
#include "receiver_model.h"

namespace qx::fake {

// Virtual time. Events are callbacks due at a virtual millisecond; waiting jumps from one due
// event to the next.
class Scheduler : public Clock, public EventPump {
 public:
  explicit Scheduler(std::uint64_t start_ms = 1000) : now_(start_ms) {}
  std::uint32_t nowMs() override { return static_cast<std::uint32_t>(now_); }
  std::uint64_t now64() const { return now_; }
  void doEvents() override;
  void waitFor(std::uint32_t ms) override;
  // Runs events until the virtual clock reaches now + ms.
  void advance(std::uint64_t ms);

  using Id = std::uint64_t;
  Id at(std::uint64_t due, std::function<void()> fn);
  void cancel(Id id);
  std::uint64_t waits() const { return waits_; }

 private:
  bool runOneDue(std::uint64_t limit);
  std::uint64_t now_;
  Id next_id_ = 1;
  std::map<std::pair<std::uint64_t, Id>, std::function<void()>> events_;
  std::uint64_t waits_ = 0;
};

class FakeControl;

class FakeControl : public virtual Control {
 public:
  explicit FakeControl(const ControlSpec& desc, FakeControl* parent)
      : desc_(desc), parent_(parent), visible_(desc.visible), enabled_(desc.enabled) {}
  void setVisible(bool on) override { visible_ = on; }
  bool visible() const override { return visible_; }
  void setEnabled(bool on) override { enabled_ = on; }
  bool enabled() const override { return enabled_; }
  // Visible on screen: itself and every container above it.
  bool shown() const { return visible_ && (!parent_ || parent_->shown()); }
  // What a user can reach with a click.
  bool reachable() const { return shown() && enabled_ && (!parent_ || parent_->enabled()); }
  const ControlSpec& desc() const { return desc_; }

 protected:
  const ControlSpec& desc_;
  FakeControl* parent_;
  bool visible_;
  bool enabled_;
};

class FakeContainer : public FakeControl, public Container {
 public:
  using FakeControl::FakeControl;
  void setCaption(const std::string& t) override { caption_ = t; }
  std::string caption() const override { return caption_; }

 private:
  std::string caption_ = desc_.caption;
};

class FakeLabel : public FakeControl, public Label {
 public:
  using FakeControl::FakeControl;
  void setText(const std::string& t) override { text_ = t; }
  std::string text() const override { return text_; }
  void setForeColor(Rgb c) override { fore_ = c; }
  Rgb foreColor() const override { return fore_; }
  void setBackColor(Rgb c) override { back_ = c; }
  Rgb backColor() const override { return back_; }
  void onClick(Handler h) override { click_ = std::move(h); }
  void setSelected(bool on) override { selected_ = on; }
  bool selected() const override { return selected_; }
  void click() {
    if (reachable() && click_) click_();
  }

 private:
  std::string text_ = desc_.caption;
  Rgb fore_ = desc_.fore, back_ = desc_.back;
  Handler click_;
  bool selected_ = false;
};

class FakeButton : public FakeControl, public Button {
 public:
  using FakeControl::FakeControl;
  void setCaption(const std::string& t) override { caption_ = t; }
  std::string caption() const override { return caption_; }
  void setBackColor(Rgb c) override { back_ = c; }
  Rgb backColor() const override { return back_; }
  void onClick(Handler h) override { click_ = std::move(h); }
  void click() {
    if (reachable() && click_) click_();
  }

 private:
  std::string caption_ = desc_.caption;
  Rgb back_ = desc_.back;
  Handler click_;
};

class FakeComboBox : public FakeControl, public ComboBox {
 public:
  using FakeControl::FakeControl;
  void addItem(const std::string& t) override { items_.push_back(t); }
  void clear() override {
    items_.clear();
    index_ = -1;
  }
  int count() const override { return static_cast<int>(items_.size()); }
  std::string itemText(int i) const override {
    return i >= 0 && i < count() ? items_[static_cast<std::size_t>(i)] : std::string();
  }
  int selectedIndex() const override { return index_; }
  void setSelectedIndex(int i) override {
    if (i < -1 || i >= count() || i == index_) return;
    index_ = i;
    if (select_) select_();
  }
  void onSelect(Handler h) override { select_ = std::move(h); }
  // A user's choice: raises the event even for the entry already shown.
  void choose(int i) {
    if (!reachable() || i < 0 || i >= count()) return;
    index_ = i;
    if (select_) select_();
  }
  void choose(const std::string& text) {
    for (int i = 0; i < count(); ++i)
      if (items_[static_cast<std::size_t>(i)] == text) return choose(i);
  }
  std::string selectedText() const { return itemText(index_); }
  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
  int index_ = -1;
  Handler select_;
};

class FakeTextBox : public FakeControl, public TextBox {
 public:
  using FakeControl::FakeControl;
  void setText(const std::string& t) override { text_ = t; }
  std::string text() const override { return text_; }
  void setMaxLength(int n) override { max_ = n; }
  int maxLength() const override { return max_; }
  void setFont(const FontSpec& f) override { font_ = f; }
  FontSpec font() const override { return font_; }
  // A user typing at the end of the text; the maximum length holds.
  void type(const std::string& t) {
    if (!reachable()) return;
    for (char ch : t) {
      if (max_ > 0 && static_cast<int>(text_.size()) >= max_) break;
      text_.push_back(ch);
    }
  }

 private:
  std::string text_ = desc_.caption;
  int max_ = desc_.max_length;
  FontSpec font_ = desc_.font;
};

class FakeOptionButton : public FakeControl, public OptionButton {
 public:
  FakeOptionButton(const ControlSpec& desc, FakeControl* parent,
                   std::vector<FakeOptionButton*>& group)
      : FakeControl(desc, parent), group_(group) {
    group_.push_back(this);
  }
  bool checked() const override { return checked_; }
  void setChecked(bool on) override;
  void onClick(Handler h) override { click_ = std::move(h); }
  void click() {
    if (reachable()) setChecked(true);
  }

 private:
  std::vector<FakeOptionButton*>& group_;
  bool checked_ = false;
  Handler click_;
};

class FakeCheckBox : public FakeControl, public CheckBox {
 public:
  using FakeControl::FakeControl;
  int value() const override { return value_; }
  void setValue(int v) override {
    if (v == value_) return;
    value_ = v;
    if (click_) click_();
  }
  void onClick(Handler h) override { click_ = std::move(h); }
  void click() {
    if (reachable()) setValue(value_ ? 0 : 1);
  }

 private:
  int value_ = 0;
  Handler click_;
};

class FakeImageBox : public FakeControl, public ImageBox {
 public:
  using FakeControl::FakeControl;
  bool loadPicture(const std::string& path) override;
  void onClick(Handler h) override { click_ = std::move(h); }
  void click() {
    if (reachable() && click_) click_();
  }
  std::string picture() const { return picture_; }
  int loads() const { return loads_; }

 private:
  std::string picture_ = desc_.picture;
  int loads_ = 0;
  Handler click_;
};

class FakeTimer : public FakeControl, public Timer {
 public:
  FakeTimer(const ControlSpec& desc, FakeControl* parent, Scheduler& sched)
      : FakeControl(desc, parent), sched_(sched), interval_(desc.interval) {}
  ~FakeTimer() override { stop(); }
  void setInterval(int ms) override { interval_ = ms; }
  int interval() const override { return interval_; }
  void start() override;
  void stop() override;
  bool running() const override { return id_ != 0; }
  void onTick(Handler h) override { tick_ = std::move(h); }

 private:
  void arm();
  Scheduler& sched_;
  int interval_;
  Scheduler::Id id_ = 0;
  Handler tick_;
};

class FakeWindow : public Window {
 public:
  void setCaption(const std::string& t) override { caption_ = t; }
  std::string caption() const override { return caption_; }
  void setBackColor(Rgb c) override { back_ = c; }
  Rgb backColor() const override { return back_; }
  void onKeyDown(KeyHandler h) override { key_ = std::move(h); }
  // A key press: a shortcut takes it whole, any other key goes to the key-down handler.
  void pressKey(int code, int shift = 0) {
    if (auto s = shortcuts_.find({code, shift}); s != shortcuts_.end()) {
      if (auto h = s->second) h();
      return;
    }
    if (key_) key_(code, shift);
  }
  void addShortcut(int code, int shift, Handler h) override {
    shortcuts_[{code, shift}] = std::move(h);
  }
  void focusControl(const std::string& key) override { focused = key; }
  WindowSpec desc;
  std::string focused;  // the control last given the focus

 private:
  std::string caption_;
  Rgb back_;
  KeyHandler key_;
  std::map<std::pair<int, int>, Handler> shortcuts_;
};

class FakeToolkit : public Toolkit {
 public:
  explicit FakeToolkit(Scheduler& sched) : sched_(sched) {}
  Window& createWindow(const WindowSpec& desc) override;
  std::unique_ptr<Control> createControl(const ControlSpec& desc, Control* parent,
                                         const std::string& data_dir) override;
  FakeWindow& window() { return window_; }

 private:
  Scheduler& sched_;
  FakeWindow window_;
  std::map<std::string, std::vector<FakeOptionButton*>> groups_;
};

// Serial port wired to the receiver model; bytes travel on virtual time.
class FakeSerialPort : public SerialPort {
 public:
  FakeSerialPort(Scheduler& sched, qxsim::ReceiverModel& model) : sched_(sched), model_(model) {}
  PortOpenResult open(int port_number, const std::string& settings) override;
  void close() override;
  bool isOpen() const override { return open_; }
  std::size_t inBufferCount() override { return open_ ? in_.size() : 0; }
  void discardInput() override { in_.clear(); }
  Bytes input() override;
  void output(const Bytes& data) override;
  bool drain(std::uint32_t timeout_ms) override;
  void onLost(std::function<void()> h) override { lost_ = std::move(h); }

  // Test controls.
  std::set<int> present{1};  // port numbers that exist
  std::set<int> busy;        // port numbers held by another program
  std::set<int> denied;      // port numbers the user may not open
  bool stuck = false;        // output never drains
  int opened_port = 0;
  std::string settings;
  int opens = 0;
  Bytes written;  // everything sent, in order
  // Bytes arriving from the far end outside any reply (spontaneous output, floods).
  void inject(const Bytes& data, std::uint32_t delay_ms = 0);
  void hangUp();  // the far end goes away

 private:
  Scheduler& sched_;
  qxsim::ReceiverModel& model_;
  bool open_ = false;
  Bytes in_;
  std::function<void()> lost_;
  std::uint64_t generation_ = 0;  // emissions of an earlier opening are dropped
};

class FakeMessageBox : public MessageBox {
 public:
  struct Shown {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string detail;
  };
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                 const std::string& detail) override;
  std::deque<MsgAnswer> answers;  // scripted; when empty: Ok, No, Cancel by the buttons
  std::vector<Shown> shown;
  std::function<void()> while_shown;  // runs while the box is up (the window keeps pumping)
  std::vector<std::string> texts() const {
    std::vector<std::string> v;
    for (const auto& s : shown) v.push_back(s.text);
    return v;
  }
};

class FakeFileDialog : public FileDialog {
 public:
  std::optional<std::string> show(const FileDialogRequest& req) override;
  std::deque<std::optional<std::string>> results;  // scripted; when empty: cancelled
  std::vector<FileDialogRequest> requests;
};

// Real files under a temporary directory that stands for the program directory. With
// read_only_program_dir (an installed tool) nothing can be written there, and the per-user
// folder is a second temporary directory, created at the first stateDir() call.
class TempFileSystem : public FileSystem {
 public:
  TempFileSystem();
  ~TempFileSystem() override;
  std::string programDir() override { return dir_.string(); }
  std::string stateDir() override;
  std::optional<std::string> findFile(const std::string& path) override;
  std::optional<std::string> readFile(const std::string& path) override;
  bool writeFileAtomic(const std::string& path, const std::string& contents) override;
  char separator() const override { return '/'; }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& contents) const;
  std::optional<std::string> read(const std::string& name) const;
  bool fail_writes = false;  // every atomic write fails (full disk, read-only folder)
  bool read_only_program_dir = false;
  std::string userPath(const std::string& name) const { return (user_dir_ / name).string(); }
  bool userDirExists() const { return std::filesystem::is_directory(user_dir_); }

 private:
  std::filesystem::path dir_;
  std::filesystem::path user_dir_;
};

}  // namespace qx::fake
