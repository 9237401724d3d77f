#include "projector/profile.h"

#include "platform/item_reader.h"

namespace qx {

namespace {

// A text line of the file: between double quotes; the format has no way to carry a quote or a
// line end inside a text, so those are left out.
std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s)
    if (c != '"' && c != '\r' && c != '\n') out += c;
  return out + "\"";
}

}  // namespace

int ParseProfile(const std::string& contents, ProfileValues& v) {
  ItemReader items(contents);
  const auto baud = items.nextInt32();
  if (!baud) return 0;
  v.baud = *baud;
  const auto databits = items.nextInt16();
  if (!databits) return 1;
  v.databits = *databits;
  auto text = items.next();
  if (!text) return 2;
  v.parity = *text;
  const auto stopbits = items.nextFloat();
  if (!stopbits) return 3;
  v.stopbits = *stopbits;
  if (!(text = items.next())) return 4;
  v.on_hex = *text;
  if (!(text = items.next())) return 5;
  v.off_hex = *text;
  return 6;
}

std::string FormatProfile(const ProfileValues& v) {
  const char* crlf = "\r\n";
  return std::to_string(v.baud) + crlf + std::to_string(v.databits) + crlf + quoted(v.parity) +
         crlf + StopBitsText(v.stopbits) + crlf + quoted(v.on_hex) + crlf + quoted(v.off_hex) +
         crlf;
}

std::string SplitPath(const std::string& path, std::int16_t mode, char sep) {
  if (path.empty()) return {};
  constexpr auto npos = std::string::npos;
  const std::size_t last = path.rfind(sep);
  const std::size_t prev = last == npos || last == 0 ? npos : path.rfind(sep, last - 1);
  // Index of the root's separator: "C:\" or a leading "/"; none for a relative path.
  std::size_t root = npos;
  if (path.size() >= 3 && path[1] == ':' && path[2] == sep)
    root = 2;
  else if (path[0] == sep)
    root = 0;
  switch (mode) {
    case 0:
      if (last == npos) return {};
      if (last == 0) return std::string(1, sep);  // a file right under "/"
      return path.substr(0, last);
    case 1:
      // Short enough already: no folder between the root (if any) and the last folder.
      if (last == npos || prev == npos || last == root || prev == root) return path;
      return (root == npos ? std::string() : path.substr(0, root + 1)) + "..." + path.substr(prev);
    case 2:
      return last == npos ? path : path.substr(last + 1);
    default:
      return {};
  }
}

Profile::Profile(PageContext& ctx, CtrlStores&, PortSettings& port, DisplayCommands& display)
    : ctx_(ctx), port_(port), display_(display) {
  ctx.form.button("cmd_load").onClick([this] { cmd_load_Click(); });
  ctx.form.button("cmd_save").onClick([this] { cmd_save_Click(); });
}

void Profile::setCaption(bool with_profile) {
  std::string caption = ctx_.form.table().window.caption;
  if (with_profile)
    caption += " " + SplitPath(ctx_.state.profile_path, 1, ctx_.sv.files.separator());
  ctx_.form.window().setCaption(caption);
}

std::string Profile::startPath() {
  const std::string& p = ctx_.state.profile_path;
  return !p.empty() && ctx_.sv.files.findFile(p) ? p : std::string();
}

FileDialogRequest Profile::dialogRequest(bool save, const std::string& start) {
  FileSystem& fs = ctx_.sv.files;
  FileDialogRequest r;
  r.save = save;
  r.title = save ? "Save File" : "Load File";
  r.filter = kProfileFilter;
  r.filter_index = 1;
  r.file_name = save ? start : std::string();
  r.init_dir = start.empty() ? fs.programDir() : SplitPath(start, 0, fs.separator());
  return r;
}

void Profile::cmd_load_Click() {
  const std::string start = startPath();
  const auto chosen = ctx_.sv.dialog.show(dialogRequest(false, start));
  if (!chosen || chosen->empty()) return;
  if (!ctx_.sv.files.findFile(*chosen)) {
    ctx_.sv.msgbox.show(*chosen + " Not Exist !", MsgButtons::Ok, MsgIcon::Error);
    return;
  }
  ctx_.state.profile_path = *chosen;
  LoadProfile();
}

void Profile::cmd_save_Click() {
  const std::string start = startPath();
  for (;;) {
    const auto chosen = ctx_.sv.dialog.show(dialogRequest(true, start));
    if (!chosen) return;
    if (!chosen->empty() && ctx_.sv.files.findFile(*chosen)) {
      const MsgAnswer a = ctx_.sv.msgbox.show(*chosen + " Overwrite file ?",
                                              MsgButtons::YesNoCancel, MsgIcon::None);
      if (a == MsgAnswer::No) continue;  // ask again, from the current profile
      if (a != MsgAnswer::Yes) return;
    }
    if (!chosen->empty()) {
      ctx_.state.profile_path = *chosen;
      SaveProfile();
    }
    return;
  }
}

void Profile::LoadProfile() {
  WindowState& s = ctx_.state;
  FileSystem& fs = ctx_.sv.files;
  const auto found = s.profile_path.empty() ? std::nullopt : fs.findFile(s.profile_path);
  // The name found must be the name asked for, letter case included.
  if (!found || *found != SplitPath(s.profile_path, 2, fs.separator())) {
    port_.SelectDefaults();
    setCaption(false);
    return;
  }
  setCaption(true);
  // A file that ends early leaves the rest as the page shows it.
  display_.TakeCommands();
  ProfileValues v{s.proj_baud,     s.proj_databits, s.proj_parity,
                  s.proj_stopbits, s.disp_on_hex,   s.disp_off_hex};
  if (const auto contents = fs.readFile(s.profile_path)) ParseProfile(*contents, v);
  s.proj_baud = v.baud;
  s.proj_databits = v.databits;
  s.proj_parity = v.parity;
  s.proj_stopbits = v.stopbits;
  s.disp_on_hex = v.on_hex;
  s.disp_off_hex = v.off_hex;
  port_.ShowPortSettings();
  display_.ShowCommands();
}

void Profile::SaveProfile() {
  WindowState& s = ctx_.state;
  setCaption(true);
  display_.TakeCommands();
  const ProfileValues v{s.proj_baud,     s.proj_databits, s.proj_parity,
                        s.proj_stopbits, s.disp_on_hex,   s.disp_off_hex};
  // Written to a temporary file and renamed: a failed save leaves the old file whole, and the
  // user is told rather than left believing the profile was saved.
  if (!ctx_.sv.files.writeFileAtomic(s.profile_path, FormatProfile(v)))
    ctx_.sv.msgbox.show(s.profile_path + kSaveFailedSuffix, MsgButtons::Ok, MsgIcon::Error);
}

}  // namespace qx
