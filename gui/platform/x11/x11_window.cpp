#include "gui/platform/x11/x11_window.h"

#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_platform.h"
#include "gui/platform/x11/x11_text_entry.h"

namespace x11 {

X11Window::X11Window(X11Platform& p, ::Window parent, int32_t width, int32_t height,
                     platform::WindowListener* l)
    : platform_(p), display_(static_cast<Display*>(p.display())), parent_(parent), listener_(l),
      back_(width, height) {
  platform_.windowCreated(this);
  ErrorTrap trap(display_);
  XWindowAttributes pa;
  resetTrappedErrors();
  if (!XGetWindowAttributes(display_, parent, &pa) || trappedErrors()) return;
  // The screen's default visual, whatever the parent's: our pixels are 24-bit RGB.
  const int screen = XScreenNumberOfScreen(pa.screen);
  XSetWindowAttributes a{};
  a.colormap = DefaultColormap(display_, screen);
  a.border_pixel = 0;
  a.background_pixmap = None;
  a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                 KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask |
                 LeaveWindowMask;
  win_ = XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(width),
                       static_cast<unsigned>(height), 0, DefaultDepth(display_, screen),
                       InputOutput, DefaultVisual(display_, screen),
                       CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &a);
  XSync(display_, False);
  if (trappedErrors() || !win_) {
    if (win_) XDestroyWindow(display_, win_);
    win_ = 0;
    return;
  }
  gc_ = XCreateGC(display_, win_, 0, nullptr);
  image_.make(display_, back_);
  XMapWindow(display_, win_);
  XFlush(display_);
  invalidate({0, 0, width, height});
}

X11Window::~X11Window() {
  // The frame hears of nothing here: it is taking the window down itself.
  listener_ = nullptr;
  if (win_) {
    ErrorTrap trap(display_);
    if (captured_) XUngrabPointer(display_, CurrentTime);
    image_.drop();
    if (gc_) XFreeGC(display_, gc_);
    XDestroyWindow(display_, win_);
    XSync(display_, False);
  } else {
    image_.drop();
  }
  platform_.windowDestroyed(this);
}

void X11Window::invalidate(const platform::Rect& r) {
  const platform::Rect a = platform::intersect(r, {0, 0, back_.width(), back_.height()});
  if (!a.empty()) dirty_.add(a);
}

void X11Window::paintPending() {
  if (!win_ || dirty_.empty()) return;
  const std::vector<platform::Rect> areas = dirty_.take();
  const platform::Rect whole{0, 0, back_.width(), back_.height()};
  for (const platform::Rect& r : areas) {
    back_.setClip(r);
    if (listener_) listener_->onPaint(back_, r);
    back_.setClip(r);
    if (entry_) entry_->draw(back_);
    back_.setClip(whole);
    if (!win_) return;  // a paint that took the window down
    putArea(r);
    if (r.left == 0 && r.top == 0 && r.right == whole.right && r.bottom == whole.bottom)
      painted_ = true;
  }
}

void X11Window::putArea(const platform::Rect& area) {
  if (win_) image_.put(display_, win_, gc_, back_, area);
}

void X11Window::setCapture(bool on) {
  if (!win_) return;
  if (on && !captured_) {
    captured_ = XGrabPointer(display_, win_, False,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                             GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
  } else if (!on && captured_) {
    captured_ = false;
    XUngrabPointer(display_, CurrentTime);
  }
}

void X11Window::loseCapture() {
  if (!captured_) return;
  setCapture(false);
  if (listener_) listener_->onCaptureLost();
}

platform::Point X11Window::screenOrigin() const {
  if (!win_) return {};
  ErrorTrap trap(display_);
  int x = 0, y = 0;
  ::Window child;
  XTranslateCoordinates(display_, win_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y};
}

bool X11Window::hostRect(platform::Rect& out) const {
  out = {};
  if (!win_) return false;
  ErrorTrap trap(display_);
  XWindowAttributes a;
  if (!XGetWindowAttributes(display_, parent_, &a)) return false;
  out = {a.x, a.y, a.x + a.width, a.y + a.height};
  return true;
}

void X11Window::setCursor(int32_t type) {
  if (!win_ || type == cursorType_) return;
  cursorType_ = type;
  const Cursor c = platform_.cursor(type);
  if (c) XDefineCursor(display_, win_, c);
  else XUndefineCursor(display_, win_);
}

void X11Window::focusWindow() {
  if (!win_) return;
  ErrorTrap trap(display_);
  XSetInputFocus(display_, win_, RevertToParent, CurrentTime);
}

void X11Window::takeKeyboardFocus() {
  // The window takes the focus from a text entry, which hears of its loss.
  if (X11TextEntry* e = entry_) {
    entry_ = nullptr;
    e->loseFocus();
  }
  focusWindow();
}

void X11Window::resize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || !platform::fitsSurface(width, height)) return;
  image_.drop();
  back_ = raster::RasterSurface(width, height);
  painted_ = false;
  dirty_.clear();
  if (win_) {
    XResizeWindow(display_, win_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    image_.make(display_, back_);
  }
  invalidate({0, 0, width, height});
}

namespace {
// Drawing straight onto the window: into the back buffer, put on screen when done.
class WindowDrawSurface : public raster::RasterSurface {
 public:
  WindowDrawSurface(X11Window* w, raster::RasterSurface& back)
      : RasterSurface(back.pixels(), back.width(), back.height(), back.stride()), window_(w) {}
  ~WindowDrawSurface() override {
    if (!flushed_) window_->putArea(clip());
  }
  void flush() override {
    window_->putArea(clip());
    flushed_ = true;
  }

 private:
  X11Window* window_;
  bool flushed_ = false;
};
}  // namespace

std::unique_ptr<platform::Surface> X11Window::drawSurface() {
  return std::make_unique<WindowDrawSurface>(this, back_);
}

std::unique_ptr<platform::TextEntry> X11Window::createTextEntry(const platform::TextEntryParams& p,
                                                                platform::TextEntryListener* l) {
  if (!win_) return nullptr;
  // The new entry takes the keyboard focus; a previous one loses it first.
  if (X11TextEntry* old = entry_) {
    entry_ = nullptr;
    old->loseFocus();
  }
  auto e = std::make_unique<X11TextEntry>(this, p, l);
  entry_ = e.get();
  focusWindow();
  return e;
}

void X11Window::entryCreated(X11TextEntry* e) { invalidate(e->rect()); }

void X11Window::entryDestroyed(X11TextEntry* e) {
  if (entry_ == e) entry_ = nullptr;
  entryDrag_ = false;
  invalidate(e->rect());
}

void X11Window::gone() {
  // The host destroyed its window, and ours with it; the GC is not a window's and stays.
  win_ = 0;
  captured_ = false;
  image_.drop();
  if (gc_) XFreeGC(display_, gc_);
  gc_ = nullptr;
  if (listener_) listener_->onDestroyed();
}

}  // namespace x11
