#include "projector/profile.h"

#include <gtest/gtest.h>

#include "fake/fake_app.h"

namespace qx {
namespace {

using fake::FakeApp;

TEST(SplitPath, Cases) {
  struct Case {
    std::string path;
    char sep;
    std::string dir, display, name;
  };
  const Case cases[] = {
      {"C:\\Proj\\a.ini", '\\', "C:\\Proj", "C:\\Proj\\a.ini", "a.ini"},
      {"C:\\a.ini", '\\', "C:", "C:\\a.ini", "a.ini"},
      {"C:\\Users\\me\\Proj\\a.ini", '\\', "C:\\Users\\me\\Proj", "C:\\...\\Proj\\a.ini", "a.ini"},
      {"D:\\a\\b\\c\\d.ini", '\\', "D:\\a\\b\\c", "D:\\...\\c\\d.ini", "d.ini"},
      {"/Proj/a.ini", '/', "/Proj", "/Proj/a.ini", "a.ini"},
      {"/a.ini", '/', "/", "/a.ini", "a.ini"},
      {"/home/me/Proj/a.ini", '/', "/home/me/Proj", "/.../Proj/a.ini", "a.ini"},
      {"/a/b/c/d.ini", '/', "/a/b/c", "/.../c/d.ini", "d.ini"},
      // Paths the tool never passes still give an answer.
      {"a.ini", '/', "", "a.ini", "a.ini"},
      {"dir/sub/a.ini", '/', "dir/sub", ".../sub/a.ini", "a.ini"},
      {"", '/', "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SplitPath(c.path, 0, c.sep), c.dir);
    EXPECT_EQ(SplitPath(c.path, 1, c.sep), c.display);
    EXPECT_EQ(SplitPath(c.path, 2, c.sep), c.name);
    EXPECT_EQ(SplitPath(c.path, 3, c.sep), "");
  }
}

TEST(ParseProfile, ReadsUntilAValueIsMissingOrOutOfRange) {
  const ProfileValues start{1, 2, "P", 3.0f, "ON", "OFF"};
  struct Case {
    const char* name;
    std::string contents;
    int read;
    ProfileValues v;
  };
  const Case cases[] = {
      {"whole file",
       "9600\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"50 57 52 20 4F 46 46 0D "
       "\"\r\n",
       6,
       {9600, 8, "NONE", 1.0f, "50 57 52 20 4F 4E 0D ", "50 57 52 20 4F 46 46 0D "}},
      {"blanks, an unquoted text, a comma in quotes, an empty line",
       " 2400 \r\n 8\r\n  Odd\r\n 1.5\r\n\"a, b\"\r\n\r\n",
       6,
       {2400, 8, "Odd", 1.5f, "a, b", ""}},
      {"line feeds only", "9600\n7\n", 2, {9600, 7, "P", 3.0f, "ON", "OFF"}},
      {"ends early", "9600\r\n7\r\n\"EVEN\"\r\n", 3, {9600, 7, "EVEN", 3.0f, "ON", "OFF"}},
      {"empty file", "", 0, start},
      // A non-number reads leniently, as in every small text file of the tool.
      {"garbage first", "abc\r\n8\r\n", 2, {0, 8, "P", 3.0f, "ON", "OFF"}},
      {"garbage stop bits",
       "9600\r\n8\r\n\"ODD\"\r\nx\r\n\"41\"\r\n",
       5,
       {9600, 8, "ODD", 0.0f, "41", "OFF"}},
      {"number with a tail", "9600baud\r\n", 1, {9600, 2, "P", 3.0f, "ON", "OFF"}},
      {"baud beyond 32 bits", "99999999999\r\n8\r\n", 0, start},
      {"data bits beyond 16 bits", "9600\r\n70000\r\n", 1, {9600, 2, "P", 3.0f, "ON", "OFF"}},
      {"halves round to even", "9600.5\r\n7.5\r\n", 2, {9600, 8, "P", 3.0f, "ON", "OFF"}},
      {"stop bits beyond a float",
       "1\r\n8\r\n\"N\"\r\n1e39\r\n",
       3,
       {1, 8, "N", 3.0f, "ON", "OFF"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileValues v = start;
    EXPECT_EQ(ParseProfile(c.contents, v), c.read);
    EXPECT_EQ(v.baud, c.v.baud);
    EXPECT_EQ(v.databits, c.v.databits);
    EXPECT_EQ(v.parity, c.v.parity);
    EXPECT_EQ(v.stopbits, c.v.stopbits);
    EXPECT_EQ(v.on_hex, c.v.on_hex);
    EXPECT_EQ(v.off_hex, c.v.off_hex);
  }
}

const std::string kExampleFile =
    "9600\r\n8\r\n\"NONE\"\r\n1\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"50 57 52 20 4F 46 46 0D \"\r\n";

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.start();
    std::filesystem::create_directory(app.files.path("Proj"));
  }
  std::string path(const std::string& name) { return app.files.path(name); }
  void choosePort(const char* baud, const char* bits, const char* parity, const char* stop) {
    app.combo("cbo_proj_baudrate").choose(baud);
    app.combo("cbo_proj_databit").choose(bits);
    app.combo("cbo_proj_parity").choose(parity);
    app.combo("cbo_proj_stopbit").choose(stop);
  }
  // The example page: 9600, 8, None, 1, "PWR ON" and "PWR OFF", each with a carriage return.
  void fillExample(int fmt) {
    choosePort("9600", "8", "None", "1");
    if (fmt == 0) {
      app.text("txt_proj_disp_on_text").type("PWR ON");
      app.button("cmd_cr_disp_on").click();
      app.text("txt_proj_disp_off_text").type("PWR OFF");
      app.button("cmd_cr_disp_off").click();
    } else {
      app.option("opt_cmd_fmt_1").click();
      app.text("txt_proj_disp_on_hex").type("50 57 52 20 4f 4e d");
      app.text("txt_proj_disp_off_hex").type("50 57 52 20 4F 46 46 0D");
    }
  }
  void save(const std::string& p) {
    app.dialog.results.push_back(p);
    app.button("cmd_save").click();
  }
  void load(const std::string& p) {
    app.dialog.results.push_back(p);
    app.button("cmd_load").click();
  }
  std::vector<std::string> boxes() {
    return {app.text("txt_proj_disp_on_text").text(), app.text("txt_proj_disp_on_hex").text(),
            app.text("txt_proj_disp_off_text").text(), app.text("txt_proj_disp_off_hex").text()};
  }
  std::vector<std::string> lists() {
    return {
        app.combo("cbo_proj_baudrate").selectedText(), app.combo("cbo_proj_databit").selectedText(),
        app.combo("cbo_proj_parity").selectedText(), app.combo("cbo_proj_stopbit").selectedText()};
  }
  FakeApp app;
};

// Both edit formats save the same bytes and load back the same page.
class ProfileRoundTrip : public ProfileTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProfileRoundTrip, SaveWritesTheSixLinesByteExactAndLoadRestoresThem) {
  const int fmt = GetParam();
  fillExample(fmt);
  const std::string p = path("Proj/model1.ini");
  save(p);
  ASSERT_EQ(app.dialog.requests.size(), 1u);
  EXPECT_EQ(app.files.read("Proj/model1.ini"), kExampleFile);
  EXPECT_EQ(app.state().profile_path, p);
  EXPECT_EQ(app.window().caption(), "QX-ZENK-RX v2.2.8 /.../Proj/model1.ini");

  // Change everything, then load the file again.
  choosePort("2400", "5", "Odd", "2");
  for (const char* b : {"txt_proj_disp_on_text", "txt_proj_disp_on_hex", "txt_proj_disp_off_text",
                        "txt_proj_disp_off_hex"})
    app.text(b).setText("41");
  load(p);
  EXPECT_EQ(lists(), (std::vector<std::string>{"9600", "8", "None", "1"}));
  EXPECT_EQ(boxes(), (std::vector<std::string>{"PWR ON\10", "50 57 52 20 4F 4E 0D ", "PWR OFF\10",
                                               "50 57 52 20 4F 46 46 0D "}));
  EXPECT_EQ(app.state().cmd_fmt, fmt) << "loading does not change the format";

  // Saved again unchanged, from the other format too: the same bytes.
  app.option(fmt ? "opt_cmd_fmt_0" : "opt_cmd_fmt_1").click();
  app.msgbox.answers.push_back(MsgAnswer::Yes);
  save(p);
  EXPECT_EQ(app.files.read("Proj/model1.ini"), kExampleFile);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, ProfileRoundTrip, ::testing::Values(0, 1));

TEST_F(ProfileTest, HandWrittenProfileIsNormalisedAndSelectsItsEntries) {
  app.files.write("Proj/hand.ini",
                  "57600\r\n7\r\n\"Odd\"\r\n2\r\n\"50 57 52 20 4f 4e d\"\r\n\"1 2  3\"\r\n");
  load(path("Proj/hand.ini"));
  EXPECT_EQ(lists(), (std::vector<std::string>{"57600", "7", "Odd", "2"}));
  EXPECT_EQ(app.state().proj_parity, "ODD");
  EXPECT_EQ(boxes(), (std::vector<std::string>{"PWR ON\10", "50 57 52 20 4F 4E 0D ", "\7\7\7",
                                               "01 02 03 "}));
  app.msgbox.answers.push_back(MsgAnswer::Yes);
  save(path("Proj/hand.ini"));
  EXPECT_EQ(app.files.read("Proj/hand.ini"),
            "57600\r\n7\r\n\"ODD\"\r\n2\r\n\"50 57 52 20 4F 4E 0D \"\r\n\"01 02 03 \"\r\n");
}

TEST_F(ProfileTest, ValuesNoEntryStandsForStayInTheFormValues) {
  app.files.write("Proj/odd.ini", "4800\r\n9\r\n\"parity?\"\r\n0.5\r\n\"zz\"\r\n\"41\"\r\n");
  load(path("Proj/odd.ini"));
  EXPECT_EQ(lists(), (std::vector<std::string>{"115200", "8", "None", "1.5"}));
  EXPECT_EQ(app.state().proj_baud, 4800);
  EXPECT_EQ(app.state().proj_parity, "parity?");
  EXPECT_EQ(app.text("txt_proj_disp_on_hex").text(), "") << "invalid hex loads as empty";
  app.msgbox.answers.push_back(MsgAnswer::Yes);
  save(path("Proj/odd.ini"));
  EXPECT_EQ(app.files.read("Proj/odd.ini"),
            "4800\r\n9\r\n\"parity?\"\r\n0.5\r\n\"\"\r\n\"41 \"\r\n");
}

TEST_F(ProfileTest, ShortOrGarbledProfileLoadsWhatItHolds) {
  app.text("txt_proj_disp_on_text").type("ON");
  app.files.write("Proj/short.ini", "9600\r\n7\r\n");
  load(path("Proj/short.ini"));
  EXPECT_EQ(lists(), (std::vector<std::string>{"9600", "7", "None", "1.5"}));
  EXPECT_EQ(app.text("txt_proj_disp_on_text").text(), "ON") << "the rest stays as shown";
  EXPECT_EQ(app.text("txt_proj_disp_on_hex").text(), "4F 4E ");
  EXPECT_EQ(app.window().caption(), "QX-ZENK-RX v2.2.8 /.../Proj/short.ini");

  app.files.write("Proj/bin.ini", std::string("\x00\xff\"\r\n,,\n", 8));
  load(path("Proj/bin.ini"));
  EXPECT_EQ(lists(), (std::vector<std::string>{"9600", "7", "None", "1.5"}));
  EXPECT_EQ(app.state().profile_path, path("Proj/bin.ini"));
}

TEST_F(ProfileTest, LoadDialogAndItsRefusals) {
  // Cancel: nothing changes.
  app.button("cmd_load").click();
  ASSERT_EQ(app.dialog.requests.size(), 1u);
  const FileDialogRequest& r = app.dialog.requests[0];
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.title, "Load File");
  EXPECT_EQ(r.filter, "Projector INI|*.ini|*.*|*.*");
  EXPECT_EQ(r.filter_index, 1);
  EXPECT_EQ(r.file_name, "");
  EXPECT_EQ(r.init_dir, app.files.programDir());
  // A name that does not exist.
  load(path("Proj/x.ini"));
  ASSERT_EQ(app.msgbox.texts(), std::vector<std::string>{path("Proj/x.ini") + " Not Exist !"});
  EXPECT_EQ(app.msgbox.shown[0].icon, MsgIcon::Error);
  EXPECT_EQ(app.state().profile_path, "");
  EXPECT_EQ(app.window().caption(), "QX-ZENK-RX v2.2.8");
  // With a current profile the dialog starts in its folder.
  app.files.write("Proj/a.ini", kExampleFile);
  load(path("Proj/a.ini"));
  app.button("cmd_load").click();
  EXPECT_EQ(app.dialog.requests.back().init_dir, path("Proj"));
  EXPECT_EQ(app.dialog.requests.back().file_name, "");
}

TEST_F(ProfileTest, SaveDialogOverwriteQuestion) {
  app.files.write("Proj/a.ini", kExampleFile);
  app.files.write("Proj/b.ini", "old b");
  load(path("Proj/a.ini"));
  // No: the dialog opens again from the current profile; Cancel: nothing is saved.
  app.dialog.results = {path("Proj/b.ini"), path("Proj/b.ini")};
  app.msgbox.answers = {MsgAnswer::No, MsgAnswer::Cancel};
  app.button("cmd_save").click();
  ASSERT_EQ(app.dialog.requests.size(), 3u);  // one load, two saves
  for (std::size_t i : {1u, 2u}) {
    const FileDialogRequest& r = app.dialog.requests[i];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, "Save File");
    EXPECT_EQ(r.filter, "Projector INI|*.ini|*.*|*.*");
    EXPECT_EQ(r.file_name, path("Proj/a.ini"));
    EXPECT_EQ(r.init_dir, path("Proj"));
  }
  EXPECT_EQ(app.msgbox.texts().back(), path("Proj/b.ini") + " Overwrite file ?");
  EXPECT_EQ(app.msgbox.shown.back().buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(app.msgbox.shown.back().icon, MsgIcon::None);
  EXPECT_EQ(app.files.read("Proj/b.ini"), "old b");
  EXPECT_EQ(app.state().profile_path, path("Proj/a.ini"));
  // A new name is saved without a question, as typed.
  save(path("Proj/c"));
  EXPECT_EQ(app.files.read("Proj/c"), kExampleFile);
  EXPECT_EQ(app.state().profile_path, path("Proj/c"));
}

TEST_F(ProfileTest, FailedSaveLeavesTheOldFileWhole) {
  app.files.write("Proj/a.ini", "old contents");
  app.files.fail_writes = true;
  app.msgbox.answers.push_back(MsgAnswer::Yes);
  save(path("Proj/a.ini"));
  EXPECT_EQ(app.files.read("Proj/a.ini"), "old contents");
  EXPECT_EQ(app.window().caption(), "QX-ZENK-RX v2.2.8 /.../Proj/a.ini");
}

}  // namespace
}  // namespace qx
