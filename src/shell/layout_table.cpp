#include "shell/layout_table.h"

#include <initializer_list>

namespace qx {
namespace {

using K = ControlKind;

const FontSpec kV975{"Verdana", 9.75, false};
const FontSpec kV975B{"Verdana", 9.75, true};
const FontSpec kV825{"Verdana", 8.25, false};
const FontSpec kV825B{"Verdana", 8.25, true};
const FontSpec kV12{"Verdana", 12, false};
const FontSpec kV12B{"Verdana", 12, true};
const FontSpec kV1125B{"Verdana", 11.25, true};
const FontSpec kArial975{"Arial", 9.75, false};
const FontSpec kFixedsys12{"Fixedsys", 12, false};

ControlSpec make(K kind, std::string name, std::string parent, Rect r, std::string caption = {},
                 FontSpec font = kV975) {
  ControlSpec s;
  s.kind = kind;
  s.name = std::move(name);
  s.parent = std::move(parent);
  s.rect = r;
  s.caption = std::move(caption);
  s.font = std::move(font);
  return s;
}

ControlSpec label(std::string name, std::string parent, Rect r, std::string text,
                  FontSpec font = kV975) {
  return make(K::Label, std::move(name), std::move(parent), r, std::move(text), std::move(font));
}

ControlSpec list(std::string name, std::string parent, Rect r, std::string accessible,
                 std::vector<std::string> entries = {}, FontSpec font = kV975) {
  auto s = make(K::ComboBox, std::move(name), std::move(parent), r, {}, std::move(font));
  s.accessible_name = std::move(accessible);
  s.entries = std::move(entries);
  s.back = colors::kWhite;
  return s;
}

ControlSpec button(std::string name, std::string parent, Rect r, std::string caption,
                   FontSpec font = kV975) {
  return make(K::Button, std::move(name), std::move(parent), r, std::move(caption),
              std::move(font));
}

ControlSpec hiddenButton(std::string name, std::string parent, Rect r, std::string caption) {
  auto s = button(std::move(name), std::move(parent), r, std::move(caption));
  s.visible = false;
  s.enabled = false;
  return s;
}

ControlSpec notice(std::string name, std::string parent, Rect r) {
  auto s = label(std::move(name), std::move(parent), r, {}, kV975B);
  s.fore = colors::kNoticeRed;
  s.visible = false;
  s.status = StatusKind::Notice;  // announced by its text when it appears
  return s;
}

ControlSpec frame(std::string name, Rect r, std::string caption) {
  auto s = make(K::Frame, std::move(name), {}, r, std::move(caption), kV975B);
  s.visible = false;
  return s;
}

ControlSpec withName(ControlSpec s, std::string accessible) {
  s.accessible_name = std::move(accessible);
  return s;
}

// A label that names one control: screen readers find it as that control's label.
ControlSpec labelFor(ControlSpec s, std::string buddy) {
  s.buddy = std::move(buddy);
  return s;
}

ControlSpec withShortcut(ControlSpec s, std::string keys) {
  s.description = "Keyboard shortcut: " + std::move(keys);
  return s;
}

ControlSpec indexed(ControlSpec s, int index) {
  s.index = index;
  return s;
}

std::vector<std::string> numbers(int from, int to, int step = 1) {
  std::vector<std::string> v;
  for (int n = from; n <= to; n += step) v.push_back(std::to_string(n));
  return v;
}

const std::vector<std::string> kOnOff{"On", "Off"};

LayoutTable build() {
  LayoutTable t;
  t.window = WindowSpec{kAppTitle, 528, 466, colors::kLightGrey, "app_icon.png"};
  auto& c = t.controls;
  auto add = [&c](std::initializer_list<ControlSpec> specs) {
    for (const auto& s : specs) c.push_back(s);
  };

  // Top band: logo and the PC serial link.
  {
    auto logo = make(K::ImageBox, "Image1", {}, {4, 6, 139, 47});
    logo.picture = "logo.png";
    logo.accessible_name = "QX-ZENK-RX logo";
    c.push_back(logo);
  }
  add({
      make(K::Frame, "fra_rs232_port", {}, {150, 0, 371, 53}, "QX-ZENK-RX RS232 Port", kV975B),
      withName(label("lab_wprx_rs232", "fra_rs232_port", {274, 24, 89, 23}, "115200,8,N,1"),
               "Line settings"),
      indexed(button("cmd_conn", "fra_rs232_port", {8, 20, 89, 25}, "Connect"), 0),
      indexed(button("cmd_conn", "fra_rs232_port", {100, 20, 89, 25}, "Disconnect", kArial975), 1),
      list("cbo_com", "fra_rs232_port", {192, 20, 77, 24}, "COM port",
           {"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "COM9:"},
           kArial975),
  });

  // Page selector: the ball images carry their built-in pictures until the first switch.
  auto ball = [](std::string name, int left, std::string picture, std::string accessible) {
    auto s = make(K::ImageBox, std::move(name), {}, {left, 62, 27, 25});
    s.picture = std::move(picture);
    s.accessible_name = std::move(accessible);
    return s;
  };
  add({
      ball("img_ball_proj", 6, ":/ball_red.gif", "Projector page"),
      withShortcut(withName(label("lab_title_proj", {}, {34, 66, 83, 25}, "Projector", kV1125B),
                            "Projector page"),
                   "Ctrl+1"),
      ball("img_ball_zenk", 124, ":/ball_gray.bmp", "ZENK Receiver page"),
      withShortcut(
          withName(label("lab_title_zenk", {}, {152, 66, 133, 27}, "ZENK Receiver", kV1125B),
                   "ZENK Receiver page"),
          "Ctrl+2"),
      ball("img_ball_panel", 288, ":/ball_gray.bmp", "Control Panel page"),
      withShortcut(
          withName(label("lab_title_panel", {}, {316, 66, 133, 27}, "Control Panel", kV1125B),
                   "Control Panel page"),
          "Ctrl+3"),
  });

  // Page 0: projector command settings.
  const std::string P = "fra_proj";
  c.push_back(frame(P, {6, 96, 517, 201}, "Projector Command Settings"));
  add({
      label("lab_proj_port", P, {10, 56, 433, 19},
            "RS232 Port     Baud Rate     Data Bit        Parity       Stop Bit"),
      label("lab_proj_disp_on", P, {10, 130, 81, 19}, "Display On"),
      label("lab_proj_disp_off", P, {6, 164, 81, 19}, "Display Off"),
      notice("lab_proj_reply", P, {284, 24, 75, 23}),
      withName(button("cmd_load", P, {8, 24, 69, 25}, "Load"), "Load profile"),
      withName(button("cmd_save", P, {78, 24, 69, 25}, "Save"), "Save profile"),
      withName(button("cmd_proj_send", P, {362, 18, 73, 25}, "Send", kV12B),
               "Send projector commands"),
      withName(button("cmd_proj_read", P, {436, 18, 73, 25}, "Read", kV12B),
               "Read projector commands"),
      list("cbo_proj_baudrate", P, {98, 74, 85, 24}, "Projector Baud Rate",
           {"2400", "9600", "19200", "38400", "56000", "57600", "115200"}),
      list("cbo_proj_databit", P, {186, 74, 85, 24}, "Projector Data Bit", {"5", "6", "7", "8"}),
      list("cbo_proj_parity", P, {274, 74, 85, 24}, "Projector Parity",
           {"None", "Odd", "Even", "Mark", "Space"}),
      list("cbo_proj_stopbit", P, {362, 74, 85, 24}, "Projector Stop Bit", {"1", "1.5", "2"}),
      withName(hiddenButton("cmd_read_port", P, {454, 60, 53, 25}, "Read"),
               "Read projector port settings"),
      withName(hiddenButton("cmd_send_port", P, {454, 86, 53, 25}, "Send"),
               "Send projector port settings"),
      withName(indexed(make(K::OptionButton, "opt_cmd_fmt", P, {84, 110, 59, 17}, "Text"), 0),
               "Text format"),
      withName(indexed(make(K::OptionButton, "opt_cmd_fmt", P, {142, 110, 63, 17}, "Hex"), 1),
               "Hex format"),
  });
  auto cmdBox = [&](std::string name, Rect r, int max, bool glyphs, std::string accessible) {
    auto s = make(K::TextBox, std::move(name), P, r, {}, kFixedsys12);
    s.max_length = max;
    s.control_glyphs = glyphs;
    s.back = colors::kWhite;
    s.accessible_name = std::move(accessible);
    s.visible = glyphs;  // the text pair shows until the format option chooses
    return s;
  };
  auto crButton = [&](std::string name, Rect r, std::string accessible) {
    auto s = button(std::move(name), P, r, {});
    s.picture = "cr.png";
    s.accessible_name = std::move(accessible);
    return s;
  };
  add({
      cmdBox("txt_proj_disp_on_text", {84, 130, 405, 29}, 50, true, "Display On text"),
      crButton("cmd_cr_disp_on", {490, 130, 23, 29}, "Append carriage return to Display On"),
      cmdBox("txt_proj_disp_off_text", {84, 164, 405, 29}, 50, true, "Display Off text"),
      crButton("cmd_cr_disp_off", {490, 164, 23, 29}, "Append carriage return to Display Off"),
      cmdBox("txt_proj_disp_on_hex", {84, 130, 429, 29}, 150, false, "Display On hex"),
      cmdBox("txt_proj_disp_off_hex", {84, 164, 429, 29}, 150, false, "Display Off hex"),
      withName(hiddenButton("cmd_send_disp_on", P, {0, 0, 53, 25}, "Send"), "Send Display On"),
      withName(hiddenButton("cmd_send_disp_off", P, {0, 0, 53, 25}, "Send"), "Send Display Off"),
      withName(hiddenButton("cmd_read_disp_on", P, {0, 0, 53, 25}, "Read"), "Read Display On"),
      withName(hiddenButton("cmd_read_disp_off", P, {0, 0, 53, 25}, "Read"), "Read Display Off"),
  });

  // Page 0: projector controls.
  const std::string PC = "fra_proj_ctrl";
  c.push_back(frame(PC, {6, 306, 517, 91}, "Projector Controls"));
  add({
      labelFor(label("lab_auto_on", PC, {8, 24, 111, 19}, "Auto Display On"), "cbo_auto_on"),
      labelFor(label("lab_auto_off", PC, {4, 60, 111, 19}, "Auto Display Off"), "cbo_auto_off"),
      labelFor(label("lab_projsw", PC, {258, 60, 97, 19}, "ProjSW Mode"), "cbo_projsw"),
      label("lab_second", PC, {348, 62, 39, 19}, "(sec.)", kV825),
      list("cbo_auto_on", PC, {116, 22, 125, 24}, "Auto Display On", kOnOff),
      list("cbo_auto_off", PC, {116, 58, 125, 24}, "Auto Display Off", kOnOff),
      list("cbo_projsw", PC, {386, 58, 125, 24}, "ProjSW Mode (sec.)", numbers(0, 300, 5)),
      withName(button("cmd_read_proj", PC, {436, 20, 73, 25}, "Read", kV12B),
               "Read projector controls"),
  });

  // Page 1: receiver controls.
  const std::string W = "fra_wp_ctrl";
  c.push_back(frame(W, {6, 96, 517, 275}, "ZENK Receiver Controls"));
  auto fw = [&](std::string name, Rect r, std::string accessible) {
    auto s = label(std::move(name), W, r, {});
    s.fore = colors::kWhite;
    s.back = colors::kGrey;
    s.status = StatusKind::Value;
    s.accessible_name = std::move(accessible);
    return s;
  };
  add({
      labelFor(label("lab_input", W, {40, 28, 95, 19}, "Input Source"), "cbo_input"),
      labelFor(label("lab_in_prefer", W, {20, 60, 109, 19}, "Input Resolution"), "cbo_in_prefer"),
      labelFor(label("lab_output", W, {8, 94, 121, 19}, "Output Resolution"), "cbo_output"),
      labelFor(label("lab_aspect", W, {78, 128, 59, 19}, "Aspect"), "cbo_aspect"),
      labelFor(label("lab_vga_auto", W, {16, 162, 117, 19}, "VGA Auto Adjust"), "cmd_vga_auto"),
      label("lab_overscan", W, {6, 192, 239, 19}, "Overscan  Enable      H%        V%"),
      labelFor(label("lab_baudrate", W, {6, 246, 131, 19}, "ZENK TX Baudrate"), "cbo_baudrate"),
      labelFor(label("lab_disp_mode", W, {292, 60, 97, 19}, "Display Mode"), "cbo_disp_mode"),
      labelFor(label("lab_display", W, {284, 94, 103, 19}, "Display On/Off"), "cbo_display"),
      labelFor(label("lab_hdcp_in", W, {294, 128, 91, 19}, "Display HDCP"), "cbo_hdcp_in"),
      labelFor(label("lab_standby", W, {290, 162, 67, 19}, "Auto Off"), "cbo_standby"),
      label("lab_minute", W, {348, 164, 39, 19}, "(sec.)", kV825),
      label("lab_audio", W, {280, 192, 227, 19}, "Audio  On/Off     HDMI       L/R"),
      label("lab_info", W, {276, 246, 213, 19}, "FW          TX             RX"),
      fw("lab_fw_ver_tx", {368, 244, 59, 21}, "TX firmware version"),
      fw("lab_fw_ver_rx", {450, 244, 59, 21}, "RX firmware version"),
      notice("lab_ctrl_reply", W, {356, 10, 75, 23}),
      list("cbo_input", W, {130, 24, 125, 24}, "Input Source", {"Hdmi", "Vga"}),
      list("cbo_in_prefer", W, {130, 58, 125, 24}, "Input Resolution"),
      list("cbo_output", W, {130, 92, 125, 24}, "Output Resolution"),
      list("cbo_aspect", W, {130, 126, 125, 24}, "Aspect",
           {"Full", "16:9 TV", "16:10 TV", "4:3 TV", "Keep Ratio"}),
      withName(button("cmd_vga_auto", W, {130, 160, 125, 25}, "Start"), "VGA Auto Adjust Start"),
      list("cbo_overscan_en", W, {72, 210, 59, 24}, "Overscan Enable", {"Yes", "No"}),
      list("cbo_overscan_h", W, {134, 210, 59, 24}, "Overscan H%", numbers(0, 50)),
      list("cbo_overscan_v", W, {196, 210, 59, 24}, "Overscan V%", numbers(0, 50)),
      list("cbo_baudrate", W, {130, 242, 125, 24}, "ZENK TX Baudrate", {"9600", "115200"}),
      button("cmd_sys_rst", W, {318, 24, 115, 25}, "System Reset"),
      withName(button("cmd_ctrl_read", W, {436, 24, 73, 25}, "Read", kV12B),
               "Read receiver settings"),
      list("cbo_disp_mode", W, {384, 58, 125, 24}, "Display Mode",
           {"DispSW AVon", "DispSW AVSW", "AV SW", "Always ON"}),
      list("cbo_display", W, {384, 92, 125, 24}, "Display On/Off", kOnOff),
      list("cbo_hdcp_in", W, {384, 126, 125, 24}, "Display HDCP",
           {"Compliant", "Noncompliant", "Auto"}),
      list("cbo_standby", W, {384, 160, 125, 24}, "Auto Off (sec.)"),
      list("cbo_audio_en", W, {326, 210, 59, 24}, "Audio On/Off", kOnOff),
      list("cbo_audio_hdmi", W, {388, 210, 59, 24}, "Audio HDMI", kOnOff),
      list("cbo_audio_lr", W, {450, 210, 59, 24}, "Audio L/R", kOnOff),
      withName(button("cmd_info", W, {302, 242, 41, 25}, "Get"), "Get firmware versions"),
  });

  // Page 1: picture adjustments.
  const std::string A = "fra_picture";
  c.push_back(frame(A, {6, 378, 517, 83}, "Picture Adjustments"));
  add({
      label("lab_pic1", A, {10, 24, 415, 19},
            "Brightness               Contrast                Saturation"),
      label("lab_pic2", A, {10, 52, 379, 19}, "Sharpness                     Hue"),
      notice("lab_pic_reply", A, {440, 56, 75, 23}),
      list("cbo_pic_bri", A, {82, 22, 59, 24}, "Brightness", numbers(0, 100)),
      list("cbo_pic_con", A, {214, 22, 59, 24}, "Contrast", numbers(0, 100)),
      list("cbo_pic_sat", A, {364, 22, 59, 24}, "Saturation", numbers(0, 100)),
      withName(button("cmd_pic_read", A, {436, 22, 73, 25}, "Read", kV12B),
               "Read picture adjustments"),
      list("cbo_pic_sha", A, {82, 50, 59, 24}, "Sharpness", numbers(0, 100)),
      list("cbo_pic_hue", A, {214, 50, 59, 24}, "Hue", numbers(0, 100)),
      withName(button("cmd_pic_rst", A, {364, 50, 59, 25}, "Reset"), "Reset picture adjustments"),
  });

  // Page 2: control panel keys.
  const std::string K2 = "pic_panel";
  {
    auto panel = make(K::PictureBox, K2, {}, {77, 214, 375, 97});
    panel.visible = false;
    c.push_back(panel);
  }
  auto key = [&](std::string name, int left, std::string picture, std::string accessible,
                 std::string letter) {
    auto s = button(std::move(name), K2, {left, 18, 91, 41}, {});
    s.picture = std::move(picture);
    s.accessible_name = std::move(accessible);
    return withShortcut(s, std::move(letter));
  };
  add({
      label("lab_panel", K2, {48, 62, 275, 23}, "       J              K              L", kV12),
      key("cmd_btn_menu", 42, "key_menu.png", "Menu key", "J"),
      key("cmd_btn_minus", 138, "key_minus.png", "Minus key", "K"),
      key("cmd_btn_plus", 234, "key_plus.png", "Plus key", "L"),
  });

  // Log group: below the client area, never on screen.
  {
    auto rx = make(K::MultiLineText, "txt_rx", {}, {2, 536, 491, 131}, {}, kFixedsys12);
    rx.back = colors::kWhite;
    rx.accessible_name = "Receive log";
    rx.tab_stop = false;
    auto check = make(K::CheckBox, "chk_auto", {}, {504, 634, 19, 17});
    check.accessible_name = "Auto clear log";
    check.tab_stop = false;
    auto clear =
        withName(button("cmd_clear", {}, {496, 584, 29, 47}, "C", kFixedsys12), "Clear log");
    clear.tab_stop = false;
    add({rx, clear, check, label("Label1", {}, {496, 652, 29, 25}, "Auto", kV825B)});
  }

  // Timers, stopped when the window is created.
  auto timer = [](std::string name, int ms) {
    auto s = make(K::Timer, std::move(name), {}, {});
    s.interval = ms;
    return s;
  };
  add({timer("tim_rx", 100), timer("tim_fail", 1000)});
  return t;
}

}  // namespace

const LayoutTable& mainLayout() {
  static const LayoutTable table = build();
  return table;
}

}  // namespace qx
