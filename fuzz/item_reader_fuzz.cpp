// The item reader of the small text files on any contents: plain items, option lists, the
// application state file and projector profiles, with the round trip of the two files the tool
// writes (what it saves, it reads back the same).

#include <cmath>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/controls.h"
#include "platform/item_reader.h"
#include "projector/profile.h"
#include "shell/option_lists.h"
#include "shell/state_file.h"

namespace {

// A list that only keeps its entries.
class ListStub : public qx::ComboBox {
 public:
  void setVisible(bool) override {}
  bool visible() const override { return true; }
  void setEnabled(bool) override {}
  bool enabled() const override { return true; }
  void addItem(const std::string& text) override { items.push_back(text); }
  void clear() override { items.clear(); }
  int count() const override { return static_cast<int>(items.size()); }
  std::string itemText(int i) const override {
    return i >= 0 && i < count() ? items[static_cast<std::size_t>(i)] : std::string();
  }
  int selectedIndex() const override { return -1; }
  void setSelectedIndex(int) override {}
  void onSelect(qx::Handler) override {}
  std::vector<std::string> items;
};

bool hasQuote(const std::string& s) { return s.find('"') != std::string::npos; }

std::vector<std::string> allItems(const std::string& contents) {
  qx::ItemReader r(contents);
  std::vector<std::string> items;
  for (;;) {
    const bool at_end = r.atEnd();
    auto item = r.next();
    QX_FUZZ_CHECK(at_end == !item.has_value());
    if (!item) break;
    // Every item is a piece of the contents, and each takes at least one character of them.
    QX_FUZZ_CHECK(contents.find(*item) != std::string::npos);
    items.push_back(*item);
    QX_FUZZ_CHECK(items.size() <= contents.size());
  }
  QX_FUZZ_CHECK(!r.next().has_value());
  return items;
}

void checkOptionList(const std::string& contents, const std::vector<std::string>& items) {
  ListStub list;
  const int added = qx::FillOptionList(list, contents);
  QX_FUZZ_CHECK(added == list.count() && added <= qx::kMaxOptionItems);
  // The items up to "END", which is not added.
  std::size_t expected = 0;
  while (expected < items.size() && items[expected] != "END") ++expected;
  QX_FUZZ_CHECK(static_cast<std::size_t>(added) == expected);
  for (std::size_t i = 0; i < expected; ++i) QX_FUZZ_CHECK(list.items[i] == items[i]);
}

void checkStateFile(const std::string& contents) {
  const qx::AppState s = qx::ParseAppState(contents);
  const qx::AppState clean = qx::SanitizeAppState(s);
  QX_FUZZ_CHECK(clean.com_port >= 1 && clean.com_port <= 9);
  QX_FUZZ_CHECK(clean.auto_clear == 0 || clean.auto_clear == 1);
  QX_FUZZ_CHECK(clean.cmd_fmt == 0 || clean.cmd_fmt == 1);
  // A path holding a double quote cannot be written as one quoted item.
  if (hasQuote(s.profile_path)) return;
  const qx::AppState r = qx::ParseAppState(qx::FormatAppState(s), qx::AppState{9, 9, 9, "x", 9});
  QX_FUZZ_CHECK(r.com_port == s.com_port && r.auto_clear == s.auto_clear &&
                r.cmd_fmt == s.cmd_fmt && r.profile_path == s.profile_path && r.page == s.page);
}

// A text as the profile file keeps it: the format has no way to carry a double quote or a line
// end inside a text, so saving leaves those out.
std::string asSaved(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '"' && c != '\r' && c != '\n') out += c;
  return out;
}

void checkProfile(const std::string& contents) {
  qx::ProfileValues v;
  const int n = qx::ParseProfile(contents, v);
  QX_FUZZ_CHECK(n >= 0 && n <= 6);
  const std::string saved = qx::FormatProfile(v);
  qx::ProfileValues r{1, 2, "p", 3.0f, "on", "off"};
  QX_FUZZ_CHECK(qx::ParseProfile(saved, r) == 6);
  QX_FUZZ_CHECK(r.baud == v.baud && r.databits == v.databits && r.stopbits == v.stopbits);
  QX_FUZZ_CHECK(r.parity == asSaved(v.parity) && r.on_hex == asSaved(v.on_hex) &&
                r.off_hex == asSaved(v.off_hex));
  QX_FUZZ_CHECK(qx::FormatProfile(r) == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string contents(reinterpret_cast<const char*>(data), size);
  const auto items = allItems(contents);
  checkOptionList(contents, items);
  checkStateFile(contents);
  checkProfile(contents);

  // The number readers on the first item.
  qx::ItemReader a(contents), b(contents), c(contents);
  (void)a.nextInt16();
  (void)b.nextInt32();
  if (const auto f = c.nextFloat()) QX_FUZZ_CHECK(std::isfinite(*f));
  return 0;
}
