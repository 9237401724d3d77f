#include "shell/main_form.h"

#include "codec/hex_codec.h"
#include "link/page_context.h"
#include "projector/display_commands.h"
#include "projector/port_settings.h"
#include "projector/profile.h"
#include "projector/projector_controls.h"
#include "receiver/panel_keys.h"
#include "receiver/picture_page.h"
#include "receiver/readback.h"
#include "receiver/receiver_page.h"
#include "shell/layout_table.h"
#include "shell/option_lists.h"
#include "shell/state_file.h"

namespace qx {

// The page handlers, each wiring its own controls when constructed.
class Pages {
 public:
  Pages(Form& form, Services& sv, Link& link, WindowState& state)
      : ctx{form, sv, link, state},
        receiver(ctx),
        readback(ctx),
        picture(ctx),
        keys(ctx),
        port(ctx),
        display(ctx, stores, port),
        profile(ctx, stores, port, display),
        proj_controls(ctx, readback) {}

  PageContext ctx;
  CtrlStores stores;
  ReceiverPage receiver;
  ReadBack readback;
  PicturePage picture;
  PanelKeys keys;
  PortSettings port;
  DisplayCommands display;
  Profile profile;
  ProjectorControls proj_controls;
};

namespace {

struct Selector {
  const char* ball;
  const char* title;
};
constexpr Selector kSelectors[3] = {{"img_ball_proj", "lab_title_proj"},
                                    {"img_ball_zenk", "lab_title_zenk"},
                                    {"img_ball_panel", "lab_title_panel"}};
constexpr int kCtrlOnly = 2;  // shift state of a key pressed with Ctrl alone
constexpr const char* kContainers[5] = {"fra_proj", "fra_proj_ctrl", "fra_wp_ctrl", "fra_picture",
                                        "pic_panel"};
// Which page each container belongs to.
constexpr int kContainerPage[5] = {0, 0, 1, 1, 2};

// Lists with fixed entries, in the order start-up fills them.
constexpr const char* kFixedLists[] = {
    "cbo_baudrate",    "cbo_com",          "cbo_proj_baudrate", "cbo_proj_databit",
    "cbo_proj_parity", "cbo_proj_stopbit", "cbo_input",         "cbo_display",
    "cbo_disp_mode",   "cbo_aspect",       "cbo_overscan_en",   "cbo_overscan_h",
    "cbo_overscan_v",  "cbo_audio_en",     "cbo_audio_hdmi",    "cbo_audio_lr",
    "cbo_hdcp_in",     "cbo_auto_on",      "cbo_auto_off",      "cbo_projsw",
    "cbo_pic_bri",     "cbo_pic_con",      "cbo_pic_sat",       "cbo_pic_hue",
    "cbo_pic_sha"};

constexpr const char* kCommandBoxes[4] = {"txt_proj_disp_off_hex", "txt_proj_disp_off_text",
                                          "txt_proj_disp_on_hex", "txt_proj_disp_on_text"};

}  // namespace

MainForm::MainForm(Form& form, Services& services)
    : form_(form),
      sv_(services),
      link_(form, services),
      pages_(std::make_unique<Pages>(form, services, link_, state_)) {
  for (std::int16_t p = 0; p < 3; ++p) {
    form.image(kSelectors[p].ball).onClick([this, p] { selectPage(p); });
    form.label(kSelectors[p].title).onClick([this, p] { selectPage(p); });
    // Ctrl+1, Ctrl+2 and Ctrl+3 choose a page from the keyboard as a click on its selector
    // does, and put the focus on its title, so that a screen reader names the page. As a
    // shortcut the key press reaches neither the focused control (a list would pick an entry
    // starting with that digit and send it) nor the key-down handler.
    form.window().addShortcut('1' + p, kCtrlOnly, [this, p] {
      selectPage(p);
      form_.window().focusControl(kSelectors[p].title);
    });
  }
  form.window().onKeyDown([this](int key, int shift) { pages_->keys.KeyDown(key, shift); });
}

MainForm::~MainForm() = default;

void MainForm::selectPage(std::int16_t p) {
  if (state_.page == p) return;
  state_.page = p;
  ShowPage();
}

void MainForm::ShowPage() {
  const int page = state_.page;
  if (page < 0 || page > 2) return;
  const std::string dir = sv_.files.programDir();
  for (int p = 0; p < 3; ++p) {
    // Pictures are read anew from the program directory at every switch.
    const char* file = p == page ? "ball_red.gif" : "ball_gray.bmp";
    form_.image(kSelectors[p].ball).loadPicture(dir + sv_.files.separator() + file);
    form_.label(kSelectors[p].title).setSelected(p == page);
  }
  for (int i = 0; i < 5; ++i) form_.container(kContainers[i]).setVisible(kContainerPage[i] == page);
}

void MainForm::Load() {
  // 1. Link and window values.
  state_.loaded = false;
  link_.link_open = false;
  link_.delay_active = false;
  link_.await_reply = false;
  state_.reading = false;
  link_.rx_text.clear();
  link_.rx_count = 0;
  state_.single_hdmi = 1;
  // 2. The projector command boxes use a fixed-pitch font.
  for (const char* box : kCommandBoxes) form_.text(box).setFont(FontSpec{"DotumChe", 12, false});
  // 3. Empty control byte stores.
  pages_->stores.on_ctrl.len = 0;
  pages_->stores.off_ctrl.len = 0;
  // 4. The command word tables are constant tables of the receiver vocabulary.
  // 5. Fixed lists; filling selects nothing.
  for (const char* name : kFixedLists) {
    ComboBox& list = form_.combo(name);
    for (const auto& entry : form_.table().find(name)->entries) list.addItem(entry);
  }
  // 6. Empty projector command boxes.
  for (const char* box : kCommandBoxes) form_.text(box).setText({});
  // 7. Option list files.
  FillOptionLists(form_, sv_.files);
  // 8. Application state file; the tool never creates it at start-up. An installed tool reads
  // the user's own file, or else the program directory's one (a default an administrator may
  // place there).
  {
    AppState saved;
    auto contents = sv_.files.readFile(stateFilePath());
    if (!contents && sv_.files.stateDir() != sv_.files.programDir())
      contents =
          sv_.files.readFile(sv_.files.programDir() + sv_.files.separator() + kStateFileName);
    if (contents) saved = ParseAppState(*contents);
    saved = SanitizeAppState(saved);
    link_.com_port = saved.com_port;
    link_.auto_clear = saved.auto_clear;
    state_.cmd_fmt = saved.cmd_fmt;
    state_.profile_path = saved.profile_path;
    state_.page = saved.page;
  }
  // 9. Edit format option.
  form_.option(state_.cmd_fmt == 1 ? "opt_cmd_fmt_1" : "opt_cmd_fmt_0").setChecked(true);
  // 10. Current projector profile and the caption.
  form_.window().setCaption(kAppTitle);
  pages_->profile.LoadProfile();
  // 11. Log auto-clear switch.
  form_.check("chk_auto").setValue(link_.auto_clear);
  // 12.-13. Firmware labels and log pane.
  form_.label("lab_fw_ver_rx").setText({});
  form_.label("lab_fw_ver_tx").setText({});
  form_.text("txt_rx").setText({});
  // 14. The remembered COM port; its selection opens the link.
  form_.combo("cbo_com").setSelectedIndex(link_.com_port - 1);
  // 15.-17.
  form_.window().setBackColor(colors::kLightGrey);
  ShowPage();
  state_.loaded = true;
}

void MainForm::Unload() {
  // Every step below that fails is skipped; the window always closes.
  form_.timer("tim_fail").stop();
  link_.ClosePort();
  ExitCheck();
  // The state file is replaced whole or not at all.
  AppState s{link_.com_port, link_.auto_clear, state_.cmd_fmt, state_.profile_path, state_.page};
  sv_.files.writeFileAtomic(stateFilePath(), FormatAppState(s));
}

namespace {

std::string trimSpaces(const std::string& t) {
  const auto b = t.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return t.substr(b, t.find_last_not_of(' ') - b + 1);
}

}  // namespace

void MainForm::ExitCheck() {
  bool changed = false;
  const std::string& path = state_.profile_path;
  if (path.empty() || !sv_.files.findFile(path)) {
    changed = true;
  } else {
    // A value that cannot be read keeps 0 or the empty text, and so counts as changed.
    ProfileValues file;
    if (auto contents = sv_.files.readFile(path)) ParseProfile(*contents, file);
    pages_->display.TakeCommands();
    state_.disp_on_hex = trimSpaces(state_.disp_on_hex);
    state_.disp_off_hex = trimSpaces(state_.disp_off_hex);
    changed = file.baud != state_.proj_baud || file.databits != state_.proj_databits ||
              file.parity != state_.proj_parity || file.stopbits != state_.proj_stopbits ||
              trimSpaces(file.on_hex) != state_.disp_on_hex ||
              trimSpaces(file.off_hex) != state_.disp_off_hex;
  }
  if (!changed) return;
  if (sv_.msgbox.show(kExitPrompt, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes)
    pages_->profile.cmd_save_Click();
}

std::string MainForm::stateFilePath() const {
  return sv_.files.stateDir() + sv_.files.separator() + kStateFileName;
}

}  // namespace qx
