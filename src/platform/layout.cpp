#include "platform/layout.h"

#include <algorithm>

namespace qx {

Rect LayoutTable::absoluteRect(const ControlSpec& desc) const {
  Rect r = desc.rect;
  for (const ControlSpec* p = find(desc.parent); p; p = find(p->parent)) {
    r.left += p->rect.left;
    r.top += p->rect.top;
  }
  return r;
}

std::vector<std::string> readingOrder(const LayoutTable& table) {
  struct Item {
    std::string key;
    Rect rect;
  };
  std::vector<Item> items;
  for (const auto& c : table.controls) {
    const bool faceless = c.kind == ControlKind::Timer || c.kind == ControlKind::Frame ||
                          c.kind == ControlKind::PictureBox;
    if (faceless || !c.tab_stop) continue;
    items.push_back({c.key(), table.absoluteRect(c)});
  }
  // Ties keep the table's order.
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return a.rect.top < b.rect.top; });
  std::vector<std::string> order;
  order.reserve(items.size());
  for (auto row = items.begin(); row != items.end();) {
    const int limit = row->rect.top + row->rect.height / 2;
    auto end =
        std::find_if(row, items.end(), [limit](const Item& i) { return i.rect.top > limit; });
    std::stable_sort(row, end,
                     [](const Item& a, const Item& b) { return a.rect.left < b.rect.left; });
    for (auto i = row; i != end; ++i) order.push_back(i->key);
    row = end;
  }
  return order;
}

}  // namespace qx
