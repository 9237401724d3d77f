#include <gtest/gtest.h>

#include "fake/fake_app.h"
#include "projector/profile.h"
#include "shell/state_file.h"

namespace qx {
namespace {

using fake::FakeApp;

const std::string kProfile =
    "9600\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"50 57 52 20 4F 46 46 0D \"\r\n";

// A tool started with the profile P.ini as its current profile, in the given edit format.
struct ExitFixture {
  explicit ExitFixture(int fmt, const std::string& profile = kProfile) {
    app.files.write("P.ini", profile);
    app.files.write(kStateFileName, "1\r\n0\r\n" + std::to_string(fmt) + "\r\n\"" +
                                        app.files.path("P.ini") + "\"\r\n0\r\n");
    app.start();
  }
  bool prompted() const {
    for (const auto& s : app.msgbox.shown)
      if (s.text == kExitPrompt) return true;
    return false;
  }
  FakeApp app;
};

TEST(ExitCheckTest, UnchangedPageAfterLoadingBringsNoPrompt) {
  for (int fmt : {0, 1}) {
    ExitFixture f(fmt);
    f.app.close();
    EXPECT_FALSE(f.prompted()) << "format " << fmt;
  }
}

TEST(ExitCheckTest, SpacesAroundTheFileCommandsDoNotCountButLetterCaseDoes) {
  std::string spaced = kProfile;
  spaced.replace(spaced.find("\"50 57 52 20 4F 4E"), 1, "\"  ");
  ExitFixture same(1, spaced);
  same.app.close();
  EXPECT_FALSE(same.prompted());

  std::string lower = kProfile;
  lower.replace(lower.find("4F 4E"), 5, "4f 4e");
  ExitFixture differs(1, lower);
  // The page shows the normalised command, the file holds lower case.
  differs.app.close();
  EXPECT_TRUE(differs.prompted());
}

TEST(ExitCheckTest, ChangedDisplayOffTextPromptsAndNoLeavesTheProfile) {
  ExitFixture f(0);
  f.app.text("txt_proj_disp_off_text").type("X");
  f.app.msgbox.answers = {MsgAnswer::No};
  f.app.close();
  ASSERT_TRUE(f.prompted());
  EXPECT_EQ(f.app.msgbox.shown.back().buttons, MsgButtons::YesNo);
  EXPECT_EQ(f.app.msgbox.shown.back().icon, MsgIcon::Question);
  EXPECT_EQ(f.app.files.read("P.ini"), kProfile);
  EXPECT_TRUE(f.app.files.read(kStateFileName).has_value());
}

TEST(ExitCheckTest, ChangedPortValuePrompts) {
  ExitFixture f(1);
  f.app.combo("cbo_proj_stopbit").choose("2");
  f.app.close();
  EXPECT_TRUE(f.prompted());
}

TEST(ExitCheckTest, MissingProfilePrompts) {
  ExitFixture deleted(1);
  std::filesystem::remove(deleted.app.files.path("P.ini"));
  deleted.app.close();
  EXPECT_TRUE(deleted.prompted());

  FakeApp none;  // no profile ever saved
  none.start();
  none.close();
  EXPECT_EQ(none.msgbox.texts(), std::vector<std::string>{kExitPrompt});
}

TEST(ExitCheckTest, YesThenCancelKeepsTheOldProfilePath) {
  ExitFixture f(0);
  f.app.text("txt_proj_disp_on_text").type("!");
  f.app.msgbox.answers = {MsgAnswer::Yes};
  f.app.close();  // the save dialog is cancelled (no scripted result)
  ASSERT_EQ(f.app.dialog.requests.size(), 1u);
  EXPECT_EQ(f.app.dialog.requests[0].title, "Save File");
  EXPECT_EQ(f.app.files.read("P.ini"), kProfile);
  EXPECT_EQ(f.app.files.read(kStateFileName),
            "1\r\n0\r\n0\r\n\"" + f.app.files.path("P.ini") + "\"\r\n0\r\n");
}

TEST(ExitCheckTest, YesAndSaveUnderANewNameIsRememberedForTheNextStart) {
  ExitFixture f(1);
  f.app.combo("cbo_proj_baudrate").choose("19200");
  f.app.msgbox.answers = {MsgAnswer::Yes};
  f.app.dialog.results.push_back(f.app.files.path("new.ini"));
  f.app.close();
  EXPECT_EQ(f.app.files.read("new.ini"),
            "19200\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n"
            "\"50 57 52 20 4F 46 46 0D \"\r\n");
  EXPECT_EQ(f.app.files.read(kStateFileName),
            "1\r\n0\r\n1\r\n\"" + f.app.files.path("new.ini") + "\"\r\n0\r\n");
}

TEST(ExitCheckTest, FailedProfileSaveIsReportedAndTheWindowStillCloses) {
  ExitFixture f(1);
  f.app.combo("cbo_proj_baudrate").choose("19200");
  f.app.msgbox.answers = {MsgAnswer::Yes, MsgAnswer::Yes};  // prompt, then overwrite
  f.app.dialog.results.push_back(f.app.files.path("P.ini"));
  f.app.files.fail_writes = true;
  f.app.close();
  EXPECT_EQ(f.app.msgbox.shown.back().text, f.app.files.path("P.ini") + kSaveFailedSuffix);
  EXPECT_EQ(f.app.files.read("P.ini"), kProfile);
}

}  // namespace
}  // namespace qx
