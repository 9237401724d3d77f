#include <gtest/gtest.h>

#include "fake/fake_app.h"

namespace qx {
namespace {

using fake::FakeApp;

struct PageView {
  std::string red_ball;
  std::string selected_title;  // the title marked chosen for assistive technology
  std::vector<std::string> shown;
};

PageView view(FakeApp& app) {
  PageView v;
  for (const char* ball : {"img_ball_proj", "img_ball_zenk", "img_ball_panel"})
    if (app.image(ball).picture().find("ball_red") != std::string::npos) v.red_ball += ball;
  for (const char* title : {"lab_title_proj", "lab_title_zenk", "lab_title_panel"})
    if (app.label(title).selected()) v.selected_title += title;
  for (const char* c : {"fra_proj", "fra_proj_ctrl", "fra_wp_ctrl", "fra_picture", "pic_panel"})
    if (app.container(c).visible()) v.shown.push_back(c);
  return v;
}

TEST(ShellTest, StartsOnTheProjectorPageWithTheFixedListsFilled) {
  FakeApp app;
  app.start();
  auto v = view(app);
  EXPECT_EQ(v.red_ball, "img_ball_proj");
  EXPECT_EQ(v.selected_title, "lab_title_proj");
  EXPECT_EQ(v.shown, (std::vector<std::string>{"fra_proj", "fra_proj_ctrl"}));
  EXPECT_EQ(app.window().caption(), "QX-ZENK-RX v2.2.8");
  EXPECT_TRUE(app.state().loaded);
  EXPECT_EQ(app.combo("cbo_com").count(), 9);
  EXPECT_EQ(app.combo("cbo_com").selectedText(), "COM1:");
  EXPECT_EQ(app.combo("cbo_projsw").count(), 61);
  EXPECT_EQ(app.combo("cbo_projsw").itemText(60), "300");
  EXPECT_EQ(app.combo("cbo_pic_hue").count(), 101);
  EXPECT_EQ(app.combo("cbo_overscan_v").itemText(50), "50");
  EXPECT_EQ(app.combo("cbo_aspect").selectedIndex(), -1) << "filling selects nothing";
  EXPECT_EQ(app.text("txt_proj_disp_on_text").font().family, "DotumChe");
}

TEST(ShellTest, PageSelectorShowsEachPageAndReadsPicturesOnlyOnAChange) {
  FakeApp app;
  app.start();
  struct Step {
    const char* click;
    std::string red, title;
    std::vector<std::string> shown;
  };
  const Step steps[] = {
      {"lab_title_zenk", "img_ball_zenk", "lab_title_zenk", {"fra_wp_ctrl", "fra_picture"}},
      {"img_ball_panel", "img_ball_panel", "lab_title_panel", {"pic_panel"}},
      {"img_ball_proj", "img_ball_proj", "lab_title_proj", {"fra_proj", "fra_proj_ctrl"}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.click);
    if (std::string(s.click).rfind("img", 0) == 0)
      app.image(s.click).click();
    else
      app.label(s.click).click();
    auto v = view(app);
    EXPECT_EQ(v.red_ball, s.red);
    EXPECT_EQ(v.selected_title, s.title);
    EXPECT_EQ(v.shown, s.shown);
  }
  const int loads = app.image("img_ball_proj").loads();
  app.label("lab_title_proj").click();
  app.image("img_ball_proj").click();
  EXPECT_EQ(app.image("img_ball_proj").loads(), loads) << "the current page reads nothing";
}

// Ctrl+1, Ctrl+2 and Ctrl+3 work the page selector from the keyboard and hand the focus to the
// page's title; J, K and L keep sending on the control panel page whatever the shift state.
TEST(ShellTest, CtrlDigitsChooseThePageAndLeaveTheLetterKeysToThePanel) {
  FakeApp app;
  app.start();
  constexpr int kShift = 1, kCtrl = 2, kAlt = 4;
  struct Step {
    int key, shift;
    std::string red;      // the ball shown red afterwards
    std::string focused;  // the control given the focus, "" for none
    std::vector<std::string> lines;
  };
  const Step steps[] = {
      {'3', kCtrl, "img_ball_panel", "lab_title_panel", {}},
      {'J', kCtrl, "img_ball_panel", "", {"WP_KeyMenu[]$\r"}},
      {'K', 0, "img_ball_panel", "", {"WP_KeyMinus[]$\r"}},
      {'L', kCtrl | kShift, "img_ball_panel", "", {"WP_KeyPlus[]$\r"}},
      {'2', 0, "img_ball_panel", "", {}},  // a digit alone is an ordinary key
      {'2', kCtrl | kShift, "img_ball_panel", "", {}},
      {'2', kAlt, "img_ball_panel", "", {}},
      {'4', kCtrl, "img_ball_panel", "", {}},  // there is no fourth page
      {'2', kCtrl, "img_ball_zenk", "lab_title_zenk", {}},
      {'J', kCtrl, "img_ball_zenk", "", {}},  // off the panel page the letters send nothing
      {'1', kCtrl, "img_ball_proj", "lab_title_proj", {}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(1, static_cast<char>(s.key)) + "/" + std::to_string(s.shift));
    app.window().focused.clear();
    app.window().pressKey(s.key, s.shift);
    app.sched.advance(200);
    EXPECT_EQ(view(app).red_ball, s.red);
    EXPECT_EQ(app.window().focused, s.focused);
    EXPECT_EQ(app.takeLines(), s.lines);
  }
  // Like a click on its selector, the key of the page already shown reads no picture.
  const int loads = app.image("img_ball_proj").loads();
  app.window().pressKey('1', kCtrl);
  EXPECT_EQ(app.image("img_ball_proj").loads(), loads);
  EXPECT_EQ(app.state().page, 0);
}

TEST(ShellTest, HiddenPagesKeepTheirSelections) {
  FakeApp app;
  app.start();
  app.label("lab_title_zenk").click();
  app.state().reading = true;  // set selections without sending
  app.combo("cbo_aspect").setSelectedIndex(2);
  app.state().reading = false;
  app.label("lab_title_proj").click();
  app.label("lab_title_zenk").click();
  EXPECT_EQ(app.combo("cbo_aspect").selectedIndex(), 2);
}

TEST(ShellTest, PageOutsideTheThreeShowsNothingUntilASelectorIsClicked) {
  FakeApp app;
  app.start();
  for (const char* c : {"fra_proj", "fra_proj_ctrl"}) app.container(c).setVisible(false);
  app.state().page = 7;
  app.main->ShowPage();
  EXPECT_TRUE(view(app).shown.empty());
  app.label("lab_title_panel").click();
  auto v = view(app);
  EXPECT_EQ(v.red_ball, "img_ball_panel");
  EXPECT_EQ(v.shown, std::vector<std::string>{"pic_panel"});
}

TEST(ShellTest, ClicksOnHiddenOrDisabledControlsDoNothing) {
  FakeApp app;
  app.start();
  app.label("lab_title_zenk").click();
  app.port.written.clear();
  app.button("cmd_load").click();       // on the hidden projector page
  app.button("cmd_read_port").click();  // hidden and disabled for ever
  EXPECT_TRUE(app.port.written.empty());
  EXPECT_TRUE(app.dialog.requests.empty());
}

TEST(ShellTest, ShutDownStopsTheNoticeTimerAndClosesThePort) {
  FakeApp app;
  app.start();
  app.link().ShowNotice(app.label("lab_ctrl_reply"), "Send fail !");
  app.close();
  EXPECT_FALSE(app.timer("tim_fail").running());
  EXPECT_FALSE(app.port.isOpen());
}

}  // namespace
}  // namespace qx
