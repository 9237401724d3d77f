#pragma once
// The main window's behaviour: page selector, start-up and shut-down, and the pages.

#include <memory>

#include "link/link.h"
#include "link/window_state.h"
#include "platform/form.h"
#include "platform/services.h"

namespace qx {

inline constexpr const char* kExitPrompt =
    "Projector settings are changed !\r\nSave settings before exit ?";

class Pages;  // the page handlers, wired in main_form.cpp

class MainForm {
 public:
  // form must have been built from mainLayout().
  MainForm(Form& form, Services& services);
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // The window's Load event: the start-up sequence, run before the window is shown.
  void Load();
  // The window's Unload event: the shut-down sequence; never cancels the close.
  void Unload();
  // Shows the page that state().page names and hides the others.
  void ShowPage();

  WindowState& state() { return state_; }
  Link& link() { return link_; }
  Form& form() { return form_; }

 private:
  void selectPage(std::int16_t p);
  // The application state file in the per-user folder (the program directory of a portable
  // build).
  std::string stateFilePath() const;
  // Offers to save projector settings that differ from the current profile file.
  void ExitCheck();

  Form& form_;
  Services& sv_;
  WindowState state_;
  Link link_;
  std::unique_ptr<Pages> pages_;
};

}  // namespace qx
