#include "shell/option_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake/fake_app.h"
#include "receiver/vocabulary.h"

namespace qx {
namespace {

using fake::FakeApp;
using V = std::vector<std::string>;

TEST(OptionLists, ItemsUpToEndBecomeTheEntries) {
  struct Case {
    const char* name;
    std::string contents;
    V entries;
  };
  const Case cases[] = {
      {"END first gives an empty list", "END\r\n60\r\n", V{}},
      {"lines after END are ignored", "Off\r\n60\r\nEND\r\n120\r\nEND\r\n", V{"Off", "60"}},
      {"two values on one line", "Off\r\n60,120\r\nEND\r\n", V{"Off", "60", "120"}},
      {"a quoted line is one entry", "Off\r\n\"60,120\"\r\nEND\r\n", V{"Off", "60,120"}},
      {"an empty line is an empty entry", "Off\r\n\r\n60\r\nEND\r\n", V{"Off", "", "60"}},
      {"END in other case is an entry", "end\r\nEnd\r\nEND\r\n", V{"end", "End"}},
      {"quoted END ends too", "Off\r\n\"END\"\r\n60\r\n", V{"Off"}},
      {"END with blanks around it ends too", "Off\r\n  END  \r\n60\r\n", V{"Off"}},
      {"ENDS is an entry", "ENDS\r\nEND\r\n", V{"ENDS"}},
      {"no END: everything read", "Off\r\n60", V{"Off", "60"}},
      {"empty file", "", V{}},
      {"cut inside a quoted entry", "Off\r\n\"60,1", V{"Off", "60,1"}},
      {"bytes of any value pass through", std::string("Off\r\n\x00\xff\r\nEND", 12),
       V{"Off", std::string("\x00\xff", 2)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeApp app;
    app.files.write("auto_off.txt", c.contents);
    app.start();
    EXPECT_EQ(app.combo("cbo_standby").items(), c.entries);
    EXPECT_EQ(app.combo("cbo_standby").selectedIndex(), -1) << "nothing selected";
  }
}

TEST(OptionLists, EachFileFillsItsListAndMissingFilesLeaveListsEmpty) {
  FakeApp app;
  app.files.write("input_prefer.txt", "720p\r\n1080p\r\nEND\r\n");
  app.start();
  EXPECT_TRUE(app.state().loaded) << "start-up goes on";
  EXPECT_EQ(app.combo("cbo_in_prefer").items(), (V{"720p", "1080p"}));
  EXPECT_TRUE(app.combo("cbo_standby").items().empty());
  EXPECT_TRUE(app.combo("cbo_output").items().empty());
  EXPECT_TRUE(app.msgbox.shown.empty());
}

TEST(OptionLists, UnreadableFileLeavesItsListEmpty) {
  FakeApp app;
  // A folder where the file should be cannot be read as a file.
  std::filesystem::create_directory(app.files.path("output_reso.txt"));
  app.files.write("auto_off.txt", "Off\r\nEND\r\n");
  app.start();
  EXPECT_TRUE(app.state().loaded);
  EXPECT_TRUE(app.combo("cbo_output").items().empty());
  EXPECT_EQ(app.combo("cbo_standby").items(), V{"Off"});
}

TEST(OptionLists, AtMost32766EntriesAreTaken) {
  std::string contents;
  for (int i = 0; i < 32770; ++i) contents += std::to_string(i) + "\r\n";
  contents += "END\r\n";
  FakeApp app;
  app.files.write("output_reso.txt", contents);
  app.start();
  const auto& items = app.combo("cbo_output").items();
  ASSERT_EQ(items.size(), 32766u);
  EXPECT_EQ(items.back(), "32765");
}

std::string shipped(const std::string& name) {
  // The default files in the source tree's data folder.
  const auto dir = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "data";
  std::ifstream in(dir / name, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(OptionLists, ShippedFilesAreUsableAsTheyAre) {
  for (const char* name : {"auto_off.txt", "input_prefer.txt", "output_reso.txt"}) {
    SCOPED_TRACE(name);
    const std::string contents = shipped(name);
    ASSERT_FALSE(contents.empty());
    EXPECT_EQ(contents.substr(contents.size() - 5), "END\r\n");
    // Every line ends in CR LF: no lone LF or CR.
    for (std::size_t i = 0; i < contents.size(); ++i) {
      if (contents[i] == '\n') {
        EXPECT_TRUE(i > 0 && contents[i - 1] == '\r') << i;
      }
      if (contents[i] == '\r') {
        EXPECT_TRUE(i + 1 < contents.size() && contents[i + 1] == '\n') << i;
      }
    }
  }
  FakeApp app;
  for (const char* name : {"auto_off.txt", "input_prefer.txt", "output_reso.txt"})
    app.files.write(name, shipped(name));
  app.start();
  EXPECT_GE(app.combo("cbo_in_prefer").count(), 6);
  EXPECT_GE(app.combo("cbo_output").count(), 6);
  const auto& off = app.combo("cbo_standby").items();
  ASSERT_GE(off.size(), 3u);
  // Entry 0 stands for 0; every other entry is sent as it stands, so it must be a plain number
  // of seconds.
  for (std::size_t i = 1; i < off.size(); ++i) {
    EXPECT_EQ(std::to_string(LenientNumber(off[i])), off[i]);
    EXPECT_GT(LenientNumber(off[i]), 0);
  }
}

}  // namespace
}  // namespace qx
