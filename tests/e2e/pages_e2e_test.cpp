#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "e2e/e2e_support.h"
#include "projector/profile.h"
#include "shell/state_file.h"

namespace qx::e2e {
namespace {

bool idle(E2EApp& app, const char* button) {
  return app.widget<QPushButton>(button)->isEnabled() && !app.main->state().reading &&
         !app.link().await_reply;
}

TEST(ReceiverE2E, ReadFillsThePageAndSendsNothingBack) {
  ProgramDir dir;
  SimProcess sim(dir.path(), {"--identify", "TX", "--set", "Input=Hdmi2", "--set", "Aspect=16:10",
                              "--set", "OverscanH=7", "--set", "AutoOff=60", "--set", "Output=3",
                              "--set", "InputPrefer=2"});
  E2EApp app(dir.str());
  app.start();
  app.widget<QPushButton>("cmd_ctrl_read")->click();
  ASSERT_TRUE(pumpUntil([&] { return sim.lines().size() >= 18 && idle(app, "cmd_ctrl_read"); }));
  pumpFor(300);  // anything sent back would arrive now

  const auto lines = sim.lines();
  ASSERT_EQ(lines.size(), 18u) << "only the queries, nothing sent back";
  for (const auto& l : lines) EXPECT_NE(l.find("[?]$\r"), std::string::npos) << l;

  Form& f = *app.form;
  EXPECT_EQ(f.combo("cbo_input").count(), 3);
  EXPECT_EQ(f.combo("cbo_input").itemText(f.combo("cbo_input").selectedIndex()), "Hdmi2");
  EXPECT_EQ(f.combo("cbo_aspect").selectedIndex(), 2);
  EXPECT_EQ(f.combo("cbo_overscan_h").selectedIndex(), 7);
  EXPECT_EQ(f.combo("cbo_output").selectedIndex(), 3);
  EXPECT_EQ(f.combo("cbo_in_prefer").selectedIndex(), 2);
  EXPECT_EQ(f.combo("cbo_standby").itemText(f.combo("cbo_standby").selectedIndex()), "60");
  for (const char* list :
       {"cbo_overscan_en", "cbo_overscan_v", "cbo_audio_en", "cbo_audio_hdmi", "cbo_audio_lr",
        "cbo_disp_mode", "cbo_display", "cbo_hdcp_in", "cbo_baudrate"})
    EXPECT_GE(f.combo(list).selectedIndex(), 0) << list;
  EXPECT_FALSE(f.label("lab_fw_ver_rx").text().empty());
  EXPECT_FALSE(f.label("lab_fw_ver_tx").text().empty());
  EXPECT_FALSE(f.label("lab_ctrl_reply").visible());
}

TEST(ReceiverE2E, GetFillsTheFirmwareLabelsAndSendsTheBaudRateBack) {
  ProgramDir dir;
  SimProcess sim(dir.path(), {"--set", "BaudrateTx=9600"});
  E2EApp app(dir.str());
  app.start();
  app.widget<QPushButton>("cmd_info")->click();
  ASSERT_TRUE(pumpUntil([&] { return sim.lines().size() >= 4 && idle(app, "cmd_info"); }));
  EXPECT_EQ(sim.lines(),
            (std::vector<std::string>{"WP_Info[?]$\r", "WP_InfoTx[?]$\r", "WP_BaudrateTx[?]$\r",
                                      "WP_BaudrateTx[9600]$\r"}));
  EXPECT_FALSE(app.form->label("lab_fw_ver_rx").text().empty());
  EXPECT_EQ(app.form->combo("cbo_baudrate").selectedIndex(), 0);
}

TEST(ProjectorE2E, CommandsTravelBinarySafeAndAProfileRoundTrips) {
  ProgramDir dir;
  SimProcess sim(dir.path());
  E2EApp app(dir.str());
  app.start();
  Form& f = *app.form;
  // Display-on typed as text with a carriage return; display-off as hex with 00 and FF.
  f.text("txt_proj_disp_on_text").setText("PWR ON");
  app.widget<QPushButton>("cmd_cr_disp_on")->click();
  app.widget<QRadioButton>("opt_cmd_fmt_1")->click();
  f.text("txt_proj_disp_off_hex").setText("0 ff 5d 24 d");
  app.widget<QPushButton>("cmd_proj_send")->click();
  ASSERT_TRUE(pumpUntil([&] { return sim.lines().size() >= 3 && idle(app, "cmd_proj_send"); }));
  const auto sent = sim.lines();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], "WP_DisplaySet[115200,8,N,1.5]$\r");
  EXPECT_EQ(sent[1], std::string("WP_DisplayOn[7,PWR ON\r]$\r"));
  EXPECT_EQ(sent[2], std::string("WP_DisplayOff[5,\x00\xff]$\r]$\r", 24));
  EXPECT_EQ(f.text("txt_proj_disp_off_hex").text(), "00 FF 5D 24 0D ");

  // Read them back into empty boxes.
  f.text("txt_proj_disp_on_hex").setText({});
  f.text("txt_proj_disp_off_hex").setText({});
  app.widget<QPushButton>("cmd_proj_read")->click();
  ASSERT_TRUE(pumpUntil([&] { return sim.lines().size() >= 6 && idle(app, "cmd_proj_read"); }));
  EXPECT_EQ(f.text("txt_proj_disp_on_hex").text(), "50 57 52 20 4F 4E 0D ");
  EXPECT_EQ(f.text("txt_proj_disp_off_hex").text(), "00 FF 5D 24 0D ");
  EXPECT_EQ(f.text("txt_proj_disp_on_text").text(), std::string("PWR ON\x08"));

  // Save, change the page, load again.
  const std::string profile = (dir.path() / "model.ini").string();
  app.dialog.results = {profile};
  app.widget<QPushButton>("cmd_save")->click();
  const std::string bytes = readFile(profile);
  EXPECT_EQ(
      bytes,
      "115200\r\n8\r\n\"NONE\"\r\n1.5\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"00 FF 5D 24 0D \"\r\n");
  EXPECT_EQ(app.toolkit.window()->caption(), "QX-ZENK-RX v2.2.8 " + SplitPath(profile, 1, '/'));
  f.text("txt_proj_disp_off_hex").setText("11");
  f.combo("cbo_proj_baudrate").setSelectedIndex(1);
  app.dialog.results = {profile};
  app.widget<QPushButton>("cmd_load")->click();
  EXPECT_EQ(f.text("txt_proj_disp_off_hex").text(), "00 FF 5D 24 0D ");
  EXPECT_EQ(f.combo("cbo_proj_baudrate").itemText(f.combo("cbo_proj_baudrate").selectedIndex()),
            "115200");
}

TEST(StateE2E, RemembersAndOffersToSaveAChangedProfileAtExit) {
  ProgramDir dir;
  SimProcess sim(dir.path());
  const std::string profile = (dir.path() / "P.ini").string();
  const std::string original =
      "9600\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"50 57 52 20 4F 46 46 0D \"\r\n";
  writeFile(profile, original);
  writeFile(dir.path() / kStateFileName, "1\r\n0\r\n0\r\n\"" + profile + "\"\r\n2\r\n");
  {
    E2EApp app(dir.str());
    app.start();
    EXPECT_TRUE(app.link().link_open);
    EXPECT_TRUE(app.widget<QWidget>("pic_panel")->isVisibleTo(app.toolkit.window()));
    EXPECT_FALSE(app.widget<QWidget>("fra_proj")->isVisibleTo(app.toolkit.window()));
    // Change the display-off text: "PWR OFF" + CR becomes "PWR OF" + CR.
    app.form->text("txt_proj_disp_off_text").setText("PWR OF\x08");
    BoxAnswerer boxes;
    boxes.answer(QMessageBox::Yes);  // save?
    app.dialog.results = {profile};
    QTimer::singleShot(400, [&] { boxes.answer(QMessageBox::Yes); });  // overwrite?
    app.main->Unload();
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], "Projector settings are changed !\nSave settings before exit ?");
    EXPECT_EQ(boxes.texts[1], profile + " Overwrite file ?");
  }
  EXPECT_EQ(
      readFile(profile),
      "9600\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"50 57 52 20 4F 46 0D \"\r\n");
  EXPECT_EQ(readFile(dir.path() / kStateFileName), "1\r\n0\r\n0\r\n\"" + profile + "\"\r\n2\r\n");
}

}  // namespace
}  // namespace qx::e2e
