#include "map_watcher.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/select.h>

#include <vector>

namespace qxbench {
namespace {

Display* display(void* d) { return static_cast<Display*>(d); }

std::string nameOf(Display* dpy, Window w) {
  XTextProperty p{};
  std::string name;
  if (XGetWMName(dpy, w, &p) && p.value) {
    name.assign(reinterpret_cast<const char*>(p.value), p.nitems);
    XFree(p.value);
  }
  return name;
}

}  // namespace

MapWatcher::MapWatcher(const std::string& name) : dpy_(XOpenDisplay(name.c_str())) {
  if (dpy_) {
    XSelectInput(display(dpy_), DefaultRootWindow(display(dpy_)), SubstructureNotifyMask);
    XSync(display(dpy_), False);
  }
}

MapWatcher::~MapWatcher() {
  if (dpy_) XCloseDisplay(display(dpy_));
}

std::optional<std::chrono::steady_clock::time_point> MapWatcher::waitForMapped(
    const std::string& name_part, double bound_s) {
  using Clock = std::chrono::steady_clock;
  Display* dpy = display(dpy_);
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(bound_s));
  std::vector<Window> mapped;  // mapped before their name was set
  while (Clock::now() < end) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type != MapNotify) continue;
      const auto at = Clock::now();
      if (nameOf(dpy, ev.xmap.window).find(name_part) != std::string::npos) return at;
      mapped.push_back(ev.xmap.window);
    }
    for (Window w : mapped)
      if (nameOf(dpy, w).find(name_part) != std::string::npos) return Clock::now();
    // Sleeps until the server reports something, at most 2 ms (for names set after mapping).
    fd_set set;
    FD_ZERO(&set);
    FD_SET(ConnectionNumber(dpy), &set);
    timeval tv{0, 2000};
    ::select(ConnectionNumber(dpy) + 1, &set, nullptr, nullptr, &tv);
  }
  return std::nullopt;
}

}  // namespace qxbench
