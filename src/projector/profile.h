#pragma once
// Projector profile files: the Load and Save buttons, LoadProfile, SaveProfile and the window
// caption that names the current profile. A profile holds six lines, each ended by CR LF:
// baud, data bits, "parity", stop bits, "display-on hex", "display-off hex".

#include <cstdint>
#include <string>

#include "codec/hex_codec.h"
#include "link/page_context.h"
#include "projector/display_commands.h"
#include "projector/port_settings.h"

namespace qx {

inline constexpr const char* kProfileFilter = "Projector INI|*.ini|*.*|*.*";
// Shown after the path when a profile cannot be written.
inline constexpr const char* kSaveFailedSuffix = " could not be saved !";

class Profile {
 public:
  // Wires cmd_load and cmd_save.
  Profile(PageContext& ctx, CtrlStores& stores, PortSettings& port, DisplayCommands& display);

  // Loads the file named by profile_path into the page, or selects the default port settings
  // when there is no such file; sets the caption.
  void LoadProfile();
  // Writes the page to the file named by profile_path; sets the caption.
  void SaveProfile();
  // Asks for a profile file and loads it.
  void cmd_load_Click();
  // Asks for a file name and saves the profile; the exit check runs this too.
  void cmd_save_Click();

 private:
  std::string startPath();
  FileDialogRequest dialogRequest(bool save, const std::string& start);
  void setCaption(bool with_profile);

  PageContext& ctx_;
  PortSettings& port_;
  DisplayCommands& display_;
};

// The six values of a profile file.
struct ProfileValues {
  std::int32_t baud = 0;
  std::int16_t databits = 0;
  std::string parity;
  float stopbits = 0;
  std::string on_hex;
  std::string off_hex;
};

// Reads the values of a profile file's contents, in order, into v, with the item reader of the
// small text files (numbers read leniently: a non-number reads as 0). Reading stops at the
// first value that is missing or does not fit its type: the values read before it are set, the
// others keep what v held. Returns how many values were read (6 for a whole profile).
int ParseProfile(const std::string& contents, ProfileValues& v);

// The contents of a profile file for v, byte for byte.
std::string FormatProfile(const ProfileValues& v);

// Parts of a full path, with sep as the separator ('\' or '/'). Mode 0: the directory ("C:\Proj"
// of "C:\Proj\a.ini"; "/" for a file right under "/"). Mode 1: the display form, keeping the
// root, the last folder and the file name ("C:\...\Proj\a.ini", "/.../Proj/a.ini"). Mode 2: the
// file name. "" for an empty path or another mode.
std::string SplitPath(const std::string& path, std::int16_t mode, char sep);

}  // namespace qx
