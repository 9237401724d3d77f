#pragma once
// Watches an X server for a top-level window being mapped (shown). Kept apart from the rest of
// the benchmark because the X headers define names (Window, None, Status) that clash with it.

#include <chrono>
#include <optional>
#include <string>

namespace qxbench {

class MapWatcher {
 public:
  // Starts watching at once: only windows mapped from now on count.
  explicit MapWatcher(const std::string& display);
  ~MapWatcher();
  MapWatcher(const MapWatcher&) = delete;
  MapWatcher& operator=(const MapWatcher&) = delete;
  bool ok() const { return dpy_ != nullptr; }
  // When a window whose name contains name_part was mapped; nothing within bound_s.
  std::optional<std::chrono::steady_clock::time_point> waitForMapped(const std::string& name_part,
                                                                     double bound_s);

 private:
  void* dpy_;
};

}  // namespace qxbench
