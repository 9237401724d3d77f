#include "shell/state_file.h"

#include <gtest/gtest.h>

#include "fake/fake_app.h"

namespace qx {
namespace {

using fake::FakeApp;

TEST(StateFileTest, ParsesFiveItemsAndKeepsDefaultsForWhatIsMissingOrUnfit) {
  struct Case {
    const char* name;
    std::string contents;
    AppState expect;  // after sanitising
  };
  const Case cases[] = {
      {"whole file", "3\r\n1\r\n1\r\n\"/home/me/p.ini\"\r\n2\r\n", {3, 1, 1, "/home/me/p.ini", 2}},
      {"path with a comma stays whole",
       "2\r\n0\r\n0\r\n\"/a,b.ini\"\r\n1\r\n",
       {2, 0, 0, "/a,b.ini", 1}},
      {"empty file", "", {}},
      {"short file keeps what it has", "4\r\n1\r\n", {4, 1, 0, "", 0}},
      {"page outside 0..2 is kept", "1\r\n0\r\n0\r\n\"\"\r\n7\r\n", {1, 0, 0, "", 7}},
      {"ports outside 1..9 fall back to COM1", "12\r\n0\r\n0\r\n\"\"\r\n0\r\n", {1, 0, 0, "", 0}},
      {"a non-number reads as 0", "x\r\nx\r\n5\r\n\"\"\r\nx\r\n", {1, 0, 0, "", 0}},
      {"beyond 16 bits keeps the default", "99999\r\n1\r\n1\r\n\"\"\r\n2\r\n", {1, 1, 1, "", 2}},
      {"cut inside the quoted path", "2\r\n1\r\n0\r\n\"/home/me/pro", {2, 1, 0, "/home/me/pro", 0}},
      {"binary garbage", std::string("\x00\xff\x80\r\n\x01\"\x00", 8), {1, 0, 0, "", 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppState s = SanitizeAppState(ParseAppState(c.contents));
    EXPECT_EQ(s.com_port, c.expect.com_port);
    EXPECT_EQ(s.auto_clear, c.expect.auto_clear);
    EXPECT_EQ(s.cmd_fmt, c.expect.cmd_fmt);
    EXPECT_EQ(s.profile_path, c.expect.profile_path);
    EXPECT_EQ(s.page, c.expect.page);
  }
}

TEST(StateFileTest, StartUpAppliesTheFileAndExitWritesItByteExact) {
  FakeApp app;
  app.port.present = {1, 3};
  app.files.write(kStateFileName, "3\r\n1\r\n1\r\n\"\"\r\n2\r\n");
  app.start();
  EXPECT_EQ(app.port.opened_port, 3);
  EXPECT_EQ(app.combo("cbo_com").selectedText(), "COM3:");
  EXPECT_EQ(app.check("chk_auto").value(), 1);
  EXPECT_TRUE(app.option("opt_cmd_fmt_1").checked());
  EXPECT_TRUE(app.container("pic_panel").visible());
  EXPECT_FALSE(app.container("fra_proj").visible());
  app.state().profile_path = "/srv/proj/P.ini";
  app.close();
  EXPECT_EQ(app.files.read(kStateFileName), "3\r\n1\r\n1\r\n\"/srv/proj/P.ini\"\r\n2\r\n");
}

TEST(StateFileTest, MissingFileStartsOnComOneAndTheProjectorPageAndIsNotCreated) {
  FakeApp app;
  app.start();
  EXPECT_EQ(app.port.opened_port, 1);
  EXPECT_TRUE(app.container("fra_proj").visible());
  EXPECT_FALSE(app.files.read(kStateFileName).has_value());
  app.close();
  EXPECT_EQ(app.files.read(kStateFileName), "1\r\n0\r\n0\r\n\"\"\r\n0\r\n");
}

// An installed tool cannot write its program directory: it keeps the state per user, and the
// program directory's file serves only as a default for a user without one.
TEST(StateFileTest, InstalledToolReadsAndWritesTheUsersOwnFile) {
  struct Case {
    const char* name;
    const char* program_file;  // nullptr: none
    const char* user_file;     // nullptr: none
    int port;                  // port and page shown after start-up
    int page;
  };
  const Case cases[] = {
      {"the user's file wins", "2\r\n0\r\n0\r\n\"\"\r\n1\r\n", "3\r\n0\r\n0\r\n\"\"\r\n2\r\n", 3,
       2},
      {"program directory's file as default", "2\r\n0\r\n0\r\n\"\"\r\n1\r\n", nullptr, 2, 1},
      {"no file at all", nullptr, nullptr, 1, 0},
  };
  const char* pages[3] = {"fra_proj", "fra_wp_ctrl", "pic_panel"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeApp app;
    app.files.read_only_program_dir = true;
    app.port.present = {1, 2, 3, 4};
    if (c.program_file) app.files.write(kStateFileName, c.program_file);
    if (c.user_file) {
      ASSERT_TRUE(
          app.files.writeFileAtomic(app.files.stateDir() + "/" + kStateFileName, c.user_file));
    }
    app.start();
    EXPECT_EQ(app.port.opened_port, c.port);
    EXPECT_TRUE(app.container(pages[c.page]).visible());
    EXPECT_EQ(app.files.readFile(app.files.userPath(kStateFileName)).has_value(),
              c.user_file != nullptr)
        << "start-up creates no state file";

    app.combo("cbo_com").choose("COM4:");
    app.label("lab_title_zenk").click();
    app.close();
    EXPECT_EQ(app.files.readFile(app.files.userPath(kStateFileName)),
              "4\r\n0\r\n0\r\n\"\"\r\n1\r\n");
    EXPECT_EQ(app.files.read(kStateFileName),
              c.program_file ? std::optional<std::string>(c.program_file) : std::nullopt)
        << "the program directory is left alone";
  }
}

TEST(StateFileTest, PageSevenShowsNoPageAndKeepsTheProjectorBallRed) {
  FakeApp app;
  app.files.write(kStateFileName, "1\r\n0\r\n0\r\n\"\"\r\n7\r\n");
  app.start();
  for (const char* c : {"fra_proj", "fra_proj_ctrl", "fra_wp_ctrl", "fra_picture", "pic_panel"})
    EXPECT_FALSE(app.container(c).visible()) << c;
  EXPECT_EQ(app.image("img_ball_proj").picture(), ":/ball_red.gif");
  app.label("lab_title_panel").click();
  EXPECT_TRUE(app.container("pic_panel").visible());
}

TEST(StateFileTest, FailedWriteKeepsTheOldFileWhole) {
  FakeApp app;
  app.files.write(kStateFileName, "2\r\n0\r\n0\r\n\"\"\r\n1\r\n");
  app.port.present = {1, 2};
  app.start();
  app.label("lab_title_proj").click();
  app.files.fail_writes = true;
  app.close();
  EXPECT_EQ(app.files.read(kStateFileName), "2\r\n0\r\n0\r\n\"\"\r\n1\r\n");
}

TEST(StateFileTest, UnopenablePortStillStartsTheWindowAndSendsNothing) {
  FakeApp app;
  app.files.write(kStateFileName, "5\r\n0\r\n0\r\n\"\"\r\n1\r\n");
  app.start();
  EXPECT_EQ(app.msgbox.texts(), std::vector<std::string>{"RS-232 port error on COM 5: !"});
  EXPECT_FALSE(app.link().link_open);
  EXPECT_TRUE(app.container("fra_wp_ctrl").visible());
  EXPECT_TRUE(app.port.written.empty());
  EXPECT_TRUE(app.state().loaded);
}

}  // namespace
}  // namespace qx
