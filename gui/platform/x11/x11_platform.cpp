#include "gui/platform/x11/x11_platform.h"

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include <time.h>

#include <algorithm>

#include "gui/platform/raster/raster_surface.h"
#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_input.h"
#include "gui/platform/x11/x11_window.h"
#include "gui/platform/x11/xft_dpi.h"

namespace x11 {
namespace {
Display* dpy(void* d) { return static_cast<Display*>(d); }
}  // namespace

X11Platform& X11Platform::instance() {
  static X11Platform p;
  return p;
}

X11Platform::~X11Platform() {
  // Windows still open at exit belong to editors nobody closed; the connection goes
  // with the process.
}

std::unique_ptr<platform::Window> X11Platform::createWindow(void* parent, int32_t width,
                                                            int32_t height,
                                                            platform::WindowListener* l) {
  const auto id = static_cast<::Window>(reinterpret_cast<uintptr_t>(parent));
  // Window ids are 29-bit numbers; anything else is not a window.
  if (!id || id > 0x1fffffffu || !l || width <= 0 || height <= 0 ||
      !platform::fitsSurface(width, height))
    return nullptr;
  if (!display_) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return nullptr;
  }
  auto w = std::make_unique<X11Window>(*this, id, width, height, l);
  if (!w->ok()) {
    w.reset();  // closes the connection again when nothing else uses it
    return nullptr;
  }
  return w;
}

double X11Platform::screenScale(void*) {
  Display* d = display_ ? dpy(display_) : XOpenDisplay(nullptr);
  if (!d) return 1.0;
  const double scale = xftDpiScale(XResourceManagerString(d));
  if (d != display_) XCloseDisplay(d);
  return scale > 0.0 ? scale : 1.0;
}

std::unique_ptr<platform::Surface> X11Platform::createOffscreen(int32_t width, int32_t height) {
  if (!platform::fitsSurface(width, height)) width = height = 0;
  return std::make_unique<raster::RasterSurface>(width, height);
}

uint32_t X11Platform::ticks() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u +
                               static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

void X11Platform::sleep(uint32_t ms) {
  timespec t{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0) {
  }
}

uint32_t X11Platform::buttonState() {
  if (!display_) return buttons_;
  Display* d = dpy(display_);
  ErrorTrap trap(d);
  ::Window root, child;
  int rx, ry, wx, wy;
  unsigned int mask = 0;
  if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask))
    return buttons_;
  return heldButtons(mask) | buttonModifiers(mask);
}

platform::Point X11Platform::cursorPosition() {
  if (!display_) return cursor_;
  Display* d = dpy(display_);
  ErrorTrap trap(d);
  ::Window root, child;
  int rx = 0, ry = 0, wx, wy;
  unsigned int mask;
  if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask))
    return cursor_;
  return {rx, ry};
}

uint32_t X11Platform::startTimer(uint32_t periodMs, platform::TimerCallback cb) {
  return timers_.start(periodMs, cb, ticks());
}

void X11Platform::stopTimer(uint32_t id) { timers_.stop(id); }

// A late idle fires a timer once, not once per missed period.
void X11Platform::fireDueTimers() { timers_.fireDue(ticks()); }

void X11Platform::processEvents() {
  if (display_) {
    Display* d = dpy(display_);
    ErrorTrap trap(d);
    // Never blocks: only events already read or waiting on the socket.
    while (display_ && XPending(d) > 0) {
      XEvent ev;
      XNextEvent(d, &ev);
      for (X11Window* w : windows_)
        if (w->id() && w->id() == ev.xany.window) {
          w->handle(ev);  // may destroy windows, even the connection: look again next time
          break;
        }
    }
  }
  fireDueTimers();
  dispatchOnePaint();
}

int X11Platform::eventFileDescriptor() { return display_ ? ConnectionNumber(dpy(display_)) : -1; }

void X11Platform::dispatchOnePaint() {
  if (!display_) return;
  Display* d = dpy(display_);
  ErrorTrap trap(d);
  // Painting may close windows: walk a copy and check each is still there.
  const std::vector<X11Window*> list = windows_;
  for (X11Window* w : list)
    if (std::find(windows_.begin(), windows_.end(), w) != windows_.end()) w->paintPending();
  if (display_) XFlush(d);
}

unsigned long X11Platform::cursor(int32_t type) {
  if (!display_ || type <= kCursorDefault || type > kCursorHand) return 0;
  unsigned int shape;
  switch (type) {
    case kCursorWait: shape = XC_watch; break;
    case kCursorHSize: shape = XC_sb_h_double_arrow; break;
    case kCursorVSize: shape = XC_sb_v_double_arrow; break;
    case kCursorSizeAll: shape = XC_fleur; break;
    case kCursorNESWSize: shape = XC_bottom_left_corner; break;
    case kCursorNWSESize: shape = XC_bottom_right_corner; break;
    case kCursorNotAllowed: shape = XC_X_cursor; break;
    case kCursorHand: shape = XC_hand2; break;
    default: return 0;  // kCursorCopy has no X counterpart: the default
  }
  if (!cursors_[type]) cursors_[type] = XCreateFontCursor(dpy(display_), shape);
  return cursors_[type];
}

void X11Platform::windowDestroyed(X11Window* w) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
  closeDisplayIfUnused();
}

void X11Platform::closeDisplayIfUnused() {
  if (!display_ || !windows_.empty()) return;
  Display* d = dpy(display_);
  {
    ErrorTrap trap(d);
    for (unsigned long& c : cursors_)
      if (c) {
        XFreeCursor(d, c);
        c = 0;
      }
    XSync(d, False);
  }
  display_ = nullptr;
  XCloseDisplay(d);
}

}  // namespace x11
