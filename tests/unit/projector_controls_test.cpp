#include <gtest/gtest.h>

#include <memory>

#include "fake/fake_app.h"
#include "scripted_receiver.h"

namespace qx {
namespace {

using fake::FakeApp;
using test_support::ScriptedReceiver;
using test_support::written;

class ProjectorControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.start();
    rx = std::make_unique<ScriptedReceiver>(app);
  }
  FakeApp app;
  std::unique_ptr<ScriptedReceiver> rx;
};

TEST_F(ProjectorControlsTest, AutoDisplayChoicesAreSentAndWaitedFor) {
  struct Case {
    const char* list;
    const char* entry;
    std::string line;
  };
  const Case cases[] = {
      {"cbo_auto_off", "Off", "WP_AutoDispOff[Off]$\r"},
      {"cbo_auto_off", "On", "WP_AutoDispOff[On]$\r"},
      {"cbo_auto_on", "On", "WP_AutoDispOn[On]$\r"},
      {"cbo_auto_on", "Off", "WP_AutoDispOn[Off]$\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    app.port.written.clear();
    bool enabled_while_waiting = true;
    app.sched.at(app.sched.now64() + 50,
                 [&] { enabled_while_waiting = app.combo(c.list).enabled(); });
    app.combo(c.list).choose(c.entry);  // unanswered: the whole wait runs
    EXPECT_EQ(written(app), c.line);
    EXPECT_FALSE(enabled_while_waiting);
    EXPECT_TRUE(app.combo(c.list).enabled());
    EXPECT_TRUE(app.msgbox.shown.empty());
    EXPECT_FALSE(app.label("lab_proj_reply").visible()) << "no failure notice";
  }
}

TEST_F(ProjectorControlsTest, ProjSwIsSentWithoutWaiting) {
  const auto t0 = app.sched.now64();
  app.combo("cbo_projsw").choose("300");
  EXPECT_EQ(written(app), "WP_ProjSW[300]$\r");
  EXPECT_EQ(app.sched.now64(), t0);
  app.combo("cbo_projsw").choose(3);
  EXPECT_EQ(written(app), "WP_ProjSW[300]$\rWP_ProjSW[15]$\r");
}

TEST_F(ProjectorControlsTest, ReadQueriesTheThreeWordsUntilOneFails) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> replies;
    std::string sent;
    std::vector<std::string> shown;  // cbo_projsw, cbo_auto_on, cbo_auto_off afterwards
  };
  const std::string q21 = "WP_ProjSW[?]$\r", q22 = "WP_AutoDispOn[?]$\r",
                    q23 = "WP_AutoDispOff[?]$\r";
  const Case cases[] = {
      {"all answered",
       {{"WP_ProjSW[", "WP_ProjSW[12]$\r"},
        {"WP_AutoDispOn[", "WP_AutoDispOn[On]$\r"},
        {"WP_AutoDispOff[", "WP_AutoDispOff[Off]$\r"}},
       q21 + q22 + q23,
       {"10", "On", "Off"}},
      {"an unknown value does not end the read",
       {{"WP_ProjSW[", "WP_ProjSW[12]$\r"},
        {"WP_AutoDispOn[", "WP_AutoDispOn[on]$\r"},
        {"WP_AutoDispOff[", "WP_AutoDispOff[On]$\r"}},
       q21 + q22 + q23,
       {"10", "Off", "On"}},
      {"first unanswered", {}, q21, {"5", "Off", "Off"}},
      {"reply for another word",
       {{"WP_ProjSW[", "WP_ProjSW[300]$\r"}, {"WP_AutoDispOn[", "WP_AutoDispOff[On]$\r"}},
       q21 + q22,
       {"300", "Off", "Off"}},
  };
  // Each case starts from 5, Off, Off; setting them sends nothing that matters here.
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app.state().reading = true;
    app.combo("cbo_projsw").choose("5");
    app.combo("cbo_auto_on").choose("Off");
    app.combo("cbo_auto_off").choose("Off");
    app.state().reading = false;
    ScriptedReceiver script(app);
    for (const auto& [word, reply] : c.replies) script.answer(word, reply);
    app.port.written.clear();
    bool reading_inside = false;
    app.sched.at(app.sched.now64() + 50, [&] { reading_inside = app.state().reading; });
    app.button("cmd_read_proj").click();
    EXPECT_EQ(written(app), c.sent) << "the lists set by the read send nothing back";
    EXPECT_TRUE(reading_inside);
    EXPECT_FALSE(app.state().reading);
    EXPECT_TRUE(app.button("cmd_read_proj").enabled());
    EXPECT_FALSE(app.label("lab_proj_reply").visible());
    EXPECT_EQ((std::vector<std::string>{app.combo("cbo_projsw").selectedText(),
                                        app.combo("cbo_auto_on").selectedText(),
                                        app.combo("cbo_auto_off").selectedText()}),
              c.shown);
  }
}

TEST_F(ProjectorControlsTest, NothingIsSentWhileAReadBackRuns) {
  app.state().reading = true;
  app.combo("cbo_auto_on").choose("On");
  app.combo("cbo_projsw").choose("5");
  app.button("cmd_read_proj").click();
  EXPECT_TRUE(app.port.written.empty());
  EXPECT_TRUE(app.state().reading) << "left to the read-back that raised it";
}

}  // namespace
}  // namespace qx
