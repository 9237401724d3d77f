#include <gtest/gtest.h>

#include "receiver_test_support.h"

namespace qx {
namespace {

using fake::FakeApp;
using testing_support::answering;
using testing_support::ScriptedReceiver;
using testing_support::wordOf;
using V = std::vector<std::string>;

const char* const kLists[5] = {"cbo_pic_bri", "cbo_pic_con", "cbo_pic_sat", "cbo_pic_hue",
                               "cbo_pic_sha"};
const V kQueries = {"WP_PictureBri[?]$\r", "WP_PictureCon[?]$\r", "WP_PictureSat[?]$\r",
                    "WP_PictureHue[?]$\r", "WP_PictureSha[?]$\r"};

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.start();
    app.label("lab_title_zenk").click();
  }
  std::vector<int> selections() {
    std::vector<int> v;
    for (const char* l : kLists) v.push_back(app.combo(l).selectedIndex());
    return v;
  }
  fake::FakeLabel& notice() { return app.label("lab_pic_reply"); }
  FakeApp app;
};

TEST_F(PictureTest, ListsSendWithoutWaitingAndReportNothing) {
  const V lines = {"WP_PictureBri[50]$\r", "WP_PictureCon[100]$\r", "WP_PictureSat[1]$\r",
                   "WP_PictureHue[0]$\r", "WP_PictureSha[37]$\r"};
  const int entries[5] = {50, 100, 1, 0, 37};
  app.model.faults().silent = true;
  const auto t0 = app.sched.now64();
  for (int k = 0; k < 5; ++k) app.combo(kLists[k]).choose(entries[k]);
  EXPECT_EQ(app.sched.now64(), t0) << "no wait";
  EXPECT_EQ(app.takeLines(), lines);
  app.sched.advance(2000);
  EXPECT_FALSE(notice().visible());
  EXPECT_FALSE(app.label("lab_ctrl_reply").visible());
  // While a read-back runs nothing is sent.
  app.state().reading = true;
  for (const char* l : kLists) app.combo(l).choose(3);
  EXPECT_TRUE(app.takeLines().empty());
}

TEST_F(PictureTest, ReadSelectsTheValuesAndSendsNothingBack) {
  app.model.setValue("WP_PictureBri[", "40");
  app.model.setValue("WP_PictureCon[", "55");
  app.model.setValue("WP_PictureSat[", "abc");
  app.model.setValue("WP_PictureHue[", "50.5");
  app.model.setValue("WP_PictureSha[", "101");
  app.combo("cbo_pic_sha").choose(9);
  app.sched.advance(200);  // its answer arrives and is dropped
  app.takeLines();
  const auto t0 = app.sched.now64();
  app.button("cmd_pic_read").click();
  EXPECT_EQ(app.takeLines(), kQueries);
  // "abc" reads as 0, 50.5 rounds to the even 50, 101 lies beyond the list: unchanged.
  EXPECT_EQ(selections(), (std::vector<int>{40, 55, 0, 50, 9}));
  EXPECT_GE(app.sched.now64() - t0, 5u * 101u) << "each query is followed by its pause";
  EXPECT_FALSE(app.state().reading);
  EXPECT_TRUE(app.button("cmd_pic_read").enabled());
  EXPECT_FALSE(notice().visible());
}

TEST(PictureScripted, ReadStopsAtTheFirstFailure) {
  struct Case {
    const char* name;
    std::optional<std::string> contrast_reply;
  };
  for (const Case& c : {Case{"no answer", std::nullopt},
                        Case{"another word", std::string("WP_PictureBri[55]$\r")}}) {
    SCOPED_TRACE(c.name);
    FakeApp app;
    app.start();
    app.label("lab_title_zenk").click();
    ScriptedReceiver rx(app, [&](const std::string& line) -> std::optional<std::string> {
      if (wordOf(line) == "WP_PictureCon[") return c.contrast_reply;
      return answering({{"WP_PictureBri[", "40"}, {"WP_PictureSat[", "7"}})(line);
    });
    app.button("cmd_pic_read").click();
    EXPECT_EQ(rx.lines(), V(kQueries.begin(), kQueries.begin() + 2));
    EXPECT_EQ(app.combo("cbo_pic_bri").selectedIndex(), 40);
    EXPECT_EQ(app.combo("cbo_pic_sat").selectedIndex(), -1);
    auto& notice = app.label("lab_pic_reply");
    EXPECT_EQ(notice.text(), "Read fail !");
    EXPECT_TRUE(notice.visible());
    EXPECT_FALSE(app.label("lab_ctrl_reply").visible());
    EXPECT_FALSE(app.state().reading);
    EXPECT_TRUE(app.button("cmd_pic_read").enabled());
    app.sched.advance(1000);
    EXPECT_FALSE(notice.visible());
  }
}

TEST_F(PictureTest, Reset) {
  app.state().reading = true;
  app.combo("cbo_pic_bri").setSelectedIndex(70);
  app.state().reading = false;
  app.button("cmd_pic_rst").click();
  EXPECT_EQ(app.takeLines(), V{"WP_PictureRst[Go]$\r"}) << "no confirmation, nothing re-read";
  EXPECT_FALSE(notice().visible());
  EXPECT_EQ(app.combo("cbo_pic_bri").selectedIndex(), 70);

  app.model.faults().silent = true;
  bool enabled_in_wait = true;
  app.sched.at(app.sched.now64() + 100,
               [&] { enabled_in_wait = app.button("cmd_pic_rst").enabled(); });
  app.button("cmd_pic_rst").click();
  EXPECT_FALSE(enabled_in_wait);
  EXPECT_TRUE(app.button("cmd_pic_rst").enabled());
  EXPECT_EQ(notice().text(), "Send fail !");
  EXPECT_TRUE(notice().visible());
  app.sched.advance(1000);
  EXPECT_FALSE(notice().visible());
}

}  // namespace
}  // namespace qx
