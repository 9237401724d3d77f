#include "platform/item_reader.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

std::vector<std::string> allItems(const std::string& contents) {
  ItemReader r(contents);
  std::vector<std::string> items;
  while (auto item = r.next()) items.push_back(*item);
  EXPECT_TRUE(r.atEnd());
  EXPECT_FALSE(r.next()) << "the end stays the end";
  return items;
}

TEST(ItemReader, FreeFormat) {
  using V = std::vector<std::string>;
  struct Case {
    const char* name;
    std::string contents;
    V items;
  };
  const Case cases[] = {
      {"one item per CR LF line", "a\r\nb\r\n", V{"a", "b"}},
      {"no final line end", "a\r\nb", V{"a", "b"}},
      {"lone CR and lone LF end lines too", "a\rb\nc", V{"a", "b", "c"}},
      {"comma separates", "60,120\r\n", V{"60", "120"}},
      {"blanks before an item are skipped", "  \t x\r\n", V{"x"}},
      {"blanks after an unquoted item are dropped", "x  \t,y \r\n", V{"x", "y"}},
      {"blanks inside stay", "720p 50 Hz\r\n", V{"720p 50 Hz"}},
      {"quotes keep commas and blanks", "\" a, b \"\r\n", V{" a, b "}},
      {"text after the closing quote is ignored", "\"a\"b,c\r\n", V{"a", "c"}},
      {"quoted empty item", "\"\"\r\nx\r\n", V{"", "x"}},
      {"an open quote runs to the end", "\"a\r\nb", V{"a\r\nb"}},
      {"empty line is an empty item", "a\r\n\r\nb\r\n", V{"a", "", "b"}},
      {"blank line is an empty item", "a\r\n   \r\nb\r\n", V{"a", "", "b"}},
      {"nothing between commas", "a,,b", V{"a", "", "b"}},
      {"a comma before a line end leaves an empty item", "a,\r\nb", V{"a", "", "b"}},
      {"a final comma opens no item", "a,", V{"a"}},
      {"blanks after the last line open no item", "a\r\n  ", V{"a"}},
      {"leading empty line", "\r\na", V{"", "a"}},
      {"empty contents", "", V{}},
      {"8-bit bytes pass through", "caf\xe9\r\n", V{"caf\xe9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(allItems(c.contents), c.items) << c.name;
}

TEST(ItemReader, NumbersAreReadTheLenientWay) {
  ItemReader r("3\r\n-2\r\n2.5\r\n 7x\r\n\"12\"\r\n\r\n40000\r\n115200\r\n1.5\r\nabc\r\n");
  EXPECT_EQ(r.nextInt16(), 3);
  EXPECT_EQ(r.nextInt16(), -2);
  EXPECT_EQ(r.nextInt16(), 2) << "halves to even";
  EXPECT_EQ(r.nextInt16(), 7);
  EXPECT_EQ(r.nextInt16(), 12) << "a quoted number";
  EXPECT_EQ(r.nextInt16(), 0) << "an empty item";
  EXPECT_EQ(r.nextInt16(), std::nullopt) << "does not fit 16 bits";
  EXPECT_EQ(r.nextInt32(), 115200);
  EXPECT_EQ(r.nextFloat(), 1.5f);
  EXPECT_EQ(r.nextFloat(), 0.0f);
  EXPECT_EQ(r.nextInt16(), std::nullopt) << "end of input";
  EXPECT_EQ(r.nextFloat(), std::nullopt);
}

TEST(ItemReader, StateFileShape) {
  // Five values as the tool writes them: numbers, a quoted path with blanks and commas.
  ItemReader r("3\r\n1\r\n0\r\n\"/home/a b/p,1.ini\"\r\n2\r\n");
  EXPECT_EQ(r.nextInt16(), 3);
  EXPECT_EQ(r.nextInt16(), 1);
  EXPECT_EQ(r.nextInt16(), 0);
  EXPECT_EQ(r.next(), "/home/a b/p,1.ini");
  EXPECT_EQ(r.nextInt16(), 2);
  EXPECT_TRUE(r.atEnd());
}

}  // namespace
}  // namespace qx
