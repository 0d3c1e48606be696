#include "gui/platform/x11/x11_platform.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gui/platform/raster/edit_line.h"
#include "gui/platform/raster/raster_surface.h"
#include "gui/platform/x11/xft_dpi.h"

namespace x11 {
namespace {

Display* dpy(void* d) { return static_cast<Display*>(d); }

// X errors on our connection (a host's window gone before ours, focus on a window not
// yet mapped) must not reach the default handler, which ends the process. The handler is
// process-wide, so it is ours only while our code runs, and errors of other connections
// go on to whatever handler was there.
XErrorHandler gPrevious = nullptr;
Display* gTrapped = nullptr;
int gTrapDepth = 0;
int gErrors = 0;

int onXError(Display* d, XErrorEvent* e) {
  if (d == gTrapped) {
    ++gErrors;
    return 0;
  }
  return gPrevious ? gPrevious(d, e) : 0;
}

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* d) {
    if (gTrapDepth++ == 0) {
      gPrevious = XSetErrorHandler(onXError);
      gTrapped = d;
    }
  }
  ~ErrorTrap() {
    if (--gTrapDepth == 0) {
      XSetErrorHandler(gPrevious);
      gTrapped = nullptr;
    }
  }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
};

bool inside(const platform::Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

platform::Rect unite(const platform::Rect& a, const platform::Rect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

uint32_t buttonBit(unsigned int button) {
  switch (button) {
    case Button1: return 2;
    case Button2: return 4;
    case Button3: return 8;
    default: return 0;
  }
}

uint32_t heldButtons(unsigned int state) {
  uint32_t b = 0;
  if (state & Button1Mask) b |= 2;
  if (state & Button2Mask) b |= 4;
  if (state & Button3Mask) b |= 8;
  return b;
}

}  // namespace

uint8_t virtualKey(unsigned long keysym) {
  switch (keysym) {
    case XK_BackSpace: return 1;
    case XK_Tab: case XK_ISO_Left_Tab: case XK_KP_Tab: return 2;
    case XK_Clear: return 3;
    case XK_Return: case XK_KP_Enter: return 4;
    case XK_Pause: return 5;
    case XK_Escape: return 6;
    case XK_space: case XK_KP_Space: return 7;
    case XK_Page_Down: case XK_KP_Page_Down: return 8;
    case XK_End: case XK_KP_End: return 9;
    case XK_Home: case XK_KP_Home: return 10;
    case XK_Left: case XK_KP_Left: return 11;
    case XK_Up: case XK_KP_Up: return 12;
    case XK_Right: case XK_KP_Right: return 13;
    case XK_Down: case XK_KP_Down: return 14;
    default: return 0;
  }
}

uint8_t keyModifiers(unsigned int state) {
  uint8_t m = 0;
  if (state & ShiftMask) m |= 1;
  if (state & Mod1Mask) m |= 2;
  if (state & ControlMask) m |= 8;
  return m;
}

uint32_t buttonModifiers(unsigned int state) {
  uint32_t m = 0;
  if (state & ShiftMask) m |= 0x10;
  if (state & ControlMask) m |= 0x20;
  if (state & Mod1Mask) m |= 0x40;
  return m;
}

// ---- Text entry ----

class X11TextEntry : public platform::TextEntry {
 public:
  X11TextEntry(X11Window* w, const platform::TextEntryParams& p, platform::TextEntryListener* l);
  ~X11TextEntry() override;
  size_t text(char* out, size_t cap) const override {
    if (!out || cap == 0) return 0;
    const std::string& t = line_.text();
    const size_t n = std::min(cap - 1, t.size());
    t.copy(out, n);
    out[n] = 0;
    return n;
  }
  const platform::Rect& rect() const { return look_.rect; }
  void draw(platform::Surface& s) const { raster::drawEditLine(s, line_, look_); }
  // Answers whether the entry is still there (the listener may delete it).
  void key(KeySym sym, const char* typed, int length, unsigned int state);
  void click(int32_t x, bool extend, bool selectAll);
  void drag(int32_t x) { line_.moveTo(raster::editLinePosition(line_, look_, x), true); }
  void loseFocus() {
    if (listener_) listener_->textEntryFocusLost();
  }

 private:
  X11Window* window_;
  std::string fontName_;
  raster::EditLineLook look_;
  raster::EditLine line_;
  platform::TextEntryListener* listener_;
};

// ---- Window ----

class X11Window : public platform::Window {
 public:
  X11Window(X11Platform& p, ::Window parent, int32_t width, int32_t height,
            platform::WindowListener* l);
  ~X11Window() override;
  bool ok() const { return win_ != 0; }
  ::Window id() const { return win_; }

  void* nativeHandle() const override {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(win_));
  }
  void invalidate(const platform::Rect& r) override;
  void setCapture(bool on) override;
  platform::Point screenOrigin() const override;
  void setCursor(int32_t type) override;
  void takeKeyboardFocus() override;
  void resize(int32_t width, int32_t height) override;
  std::unique_ptr<platform::Surface> drawSurface() override;
  std::unique_ptr<platform::TextEntry> createTextEntry(const platform::TextEntryParams& p,
                                                       platform::TextEntryListener* l) override;
  bool setDropTarget(platform::DropListener*) override { return false; }
  bool hostRect(platform::Rect& out) const override;

  void handle(XEvent& ev);
  void paintPending();
  void putArea(const platform::Rect& r);
  void entryCreated(X11TextEntry* e);
  void entryDestroyed(X11TextEntry* e);
  void focusWindow();

 private:
  void makeImage();
  void dropImage();
  void buttonPress(const XButtonEvent& e);
  void buttonRelease(const XButtonEvent& e);
  void keyPress(XKeyEvent& e);
  void loseCapture();
  void gone();

  X11Platform& platform_;
  Display* display_;
  ::Window parent_;
  ::Window win_ = 0;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;  // wraps back_'s pixels when the visual takes them as they are
  bool direct_ = false;
  std::vector<uint32_t> converted_;  // for other visuals: the image's own buffer
  platform::WindowListener* listener_;
  raster::RasterSurface back_;
  std::vector<platform::Rect> dirty_;
  bool painted_ = false;  // the back buffer holds the whole picture
  bool captured_ = false;
  int32_t cursorType_ = 0;
  X11TextEntry* entry_ = nullptr;  // the focused entry (at most one exists)
  bool entryDrag_ = false;
  // The last press, for double clicks.
  Time lastClickTime_ = 0;
  uint32_t lastClickButton_ = 0;
  int32_t lastClickX_ = 0, lastClickY_ = 0;
};

X11Window::X11Window(X11Platform& p, ::Window parent, int32_t width, int32_t height,
                     platform::WindowListener* l)
    : platform_(p), display_(dpy(p.display())), parent_(parent), listener_(l),
      back_(width, height) {
  platform_.windowCreated(this);
  ErrorTrap trap(display_);
  XWindowAttributes pa;
  gErrors = 0;
  if (!XGetWindowAttributes(display_, parent, &pa) || gErrors) return;
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
  if (gErrors || !win_) {
    if (win_) XDestroyWindow(display_, win_);
    win_ = 0;
    return;
  }
  gc_ = XCreateGC(display_, win_, 0, nullptr);
  makeImage();
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
    dropImage();
    if (gc_) XFreeGC(display_, gc_);
    XDestroyWindow(display_, win_);
    XSync(display_, False);
  } else {
    dropImage();
  }
  platform_.windowDestroyed(this);
}

void X11Window::makeImage() {
  const int screen = DefaultScreen(display_);
  Visual* v = DefaultVisual(display_, screen);
  const int depth = DefaultDepth(display_, screen);
  const int w = back_.width(), h = back_.height();
  if (w <= 0 || h <= 0) return;
  direct_ = (depth == 24 || depth == 32) && v->red_mask == 0xff0000 && v->green_mask == 0xff00 &&
            v->blue_mask == 0xff;
  char* data;
  if (direct_) {
    data = reinterpret_cast<char*>(back_.pixels());
  } else {
    converted_.assign(static_cast<size_t>(w) * h, 0);
    data = reinterpret_cast<char*>(converted_.data());
  }
  image_ = XCreateImage(display_, v, static_cast<unsigned>(depth), ZPixmap, 0, data,
                        static_cast<unsigned>(w), static_cast<unsigned>(h), 32,
                        back_.stride() * 4);
  if (!image_) return;
  if (direct_ && image_->bits_per_pixel != 32) {
    // Same masks but packed differently: go through the converting path.
    image_->data = nullptr;
    XDestroyImage(image_);
    direct_ = false;
    converted_.assign(static_cast<size_t>(w) * h, 0);
    image_ = XCreateImage(display_, v, static_cast<unsigned>(depth), ZPixmap, 0,
                          reinterpret_cast<char*>(converted_.data()), static_cast<unsigned>(w),
                          static_cast<unsigned>(h), 32, w * 4);
    if (!image_) return;
  }
  // Our words are little-endian in memory; Xlib swaps for a server that wants otherwise.
  image_->byte_order = LSBFirst;
}

void X11Window::dropImage() {
  if (!image_) return;
  image_->data = nullptr;  // the buffer is not Xlib's to free
  XDestroyImage(image_);
  image_ = nullptr;
}

void X11Window::invalidate(const platform::Rect& r) {
  platform::Rect a = platform::intersect(r, {0, 0, back_.width(), back_.height()});
  if (a.empty()) return;
  // Overlapping areas merge; past a handful the whole union is repainted instead.
  for (size_t i = 0; i < dirty_.size();) {
    const platform::Rect& d = dirty_[i];
    if (a.left <= d.right && d.left <= a.right && a.top <= d.bottom && d.top <= a.bottom) {
      a = unite(a, d);
      dirty_.erase(dirty_.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  dirty_.push_back(a);
  if (dirty_.size() > 8) {
    platform::Rect all = dirty_.front();
    for (const platform::Rect& d : dirty_) all = unite(all, d);
    dirty_.assign(1, all);
  }
}

void X11Window::paintPending() {
  if (!win_ || dirty_.empty()) return;
  std::vector<platform::Rect> areas;
  areas.swap(dirty_);
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
  const platform::Rect r = platform::intersect(area, {0, 0, back_.width(), back_.height()});
  if (!win_ || !image_ || r.empty()) return;
  if (!direct_) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) {
        const uint32_t p = back_.pixel(x, y);
        const unsigned long rr = (p >> 16) & 0xff, gg = (p >> 8) & 0xff, bb = p & 0xff;
        auto scale = [](unsigned long c, unsigned long mask) {
          if (!mask) return 0ul;
          int shift = 0;
          while (!((mask >> shift) & 1)) ++shift;
          const unsigned long max = mask >> shift;
          return ((c * max + 127) / 255) << shift;
        };
        XPutPixel(image_, x, y,
                  scale(rr, image_->red_mask) | scale(gg, image_->green_mask) |
                      scale(bb, image_->blue_mask));
      }
  }
  XPutImage(display_, win_, gc_, image_, r.left, r.top, r.left, r.top,
            static_cast<unsigned>(r.width()), static_cast<unsigned>(r.height()));
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
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return;
  dropImage();
  back_ = raster::RasterSurface(width, height);
  painted_ = false;
  dirty_.clear();
  if (win_) {
    XResizeWindow(display_, win_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    makeImage();
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
  dropImage();
  if (gc_) XFreeGC(display_, gc_);
  gc_ = nullptr;
  if (listener_) listener_->onDestroyed();
}

void X11Window::handle(XEvent& ev) {
  switch (ev.type) {
    case Expose: {
      const platform::Rect r{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                             ev.xexpose.y + ev.xexpose.height};
      if (painted_) putArea(r);
      else invalidate(r);
      break;
    }
    case ButtonPress: buttonPress(ev.xbutton); break;
    case ButtonRelease: buttonRelease(ev.xbutton); break;
    case MotionNotify: {
      // Only the latest position of a run of moves matters (a press or release in
      // between ends the run: its position and order count).
      XEvent next;
      while (XEventsQueued(display_, QueuedAlready) > 0) {
        XPeekEvent(display_, &next);
        if (next.type != MotionNotify || next.xmotion.window != win_) break;
        XNextEvent(display_, &ev);
      }
      const XMotionEvent& m = ev.xmotion;
      const uint32_t b = heldButtons(m.state) | buttonModifiers(m.state);
      platform_.noteInput(b, {m.x_root, m.y_root});
      if (entryDrag_ && entry_) {
        entry_->drag(m.x);
        invalidate(entry_->rect());
        break;
      }
      if (listener_) listener_->onMouseMoved({m.x, m.y}, b);
      break;
    }
    case KeyPress: keyPress(ev.xkey); break;
    case KeyRelease: {
      if (entry_) break;
      char text[8];
      KeySym sym = NoSymbol;
      const int n = XLookupString(&ev.xkey, text, sizeof text, &sym, nullptr);
      const int32_t character = n == 1 ? static_cast<unsigned char>(text[0]) : 0;
      if (listener_ &&
          listener_->onKeyUp(character, virtualKey(sym), keyModifiers(ev.xkey.state)) == -1) {
        XEvent copy = ev;
        copy.xkey.window = parent_;
        copy.xkey.subwindow = None;
        XSendEvent(display_, parent_, True, KeyReleaseMask, &copy);
      }
      break;
    }
    case FocusOut:
      // Moves inside our window, and the pointer's wanderings under a pointer-root focus,
      // are not a loss of the focus.
      if (ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer) break;
      loseCapture();
      if (X11TextEntry* e = entry_) {
        entry_ = nullptr;
        e->loseFocus();
      }
      break;
    case LeaveNotify:
      // Another client took the pointer while we held it.
      if (ev.xcrossing.mode == NotifyGrab) loseCapture();
      break;
    case UnmapNotify: loseCapture(); break;
    case DestroyNotify:
      if (ev.xdestroywindow.window == win_) gone();
      break;
    default: break;
  }
}

void X11Window::buttonPress(const XButtonEvent& e) {
  if (e.button >= 4 && e.button <= 7) {
    // Wheel notches: 4 up, 5 down, 6 left, 7 right.
    if (!listener_) return;
    const uint32_t mods = buttonModifiers(e.state);
    if (e.button <= 5)
      listener_->onWheel({e.x, e.y}, e.button == 4 ? 1.f : -1.f, mods);
    else
      listener_->onHorizontalWheel({e.x, e.y}, e.button == 7 ? 1.f : -1.f, mods);
    return;
  }
  const uint32_t bit = buttonBit(e.button);
  if (!bit) return;
  uint32_t b = heldButtons(e.state) | bit | buttonModifiers(e.state);
  platform_.noteInput(b & ~0x400u, {e.x_root, e.y_root});
  const bool twice = bit == lastClickButton_ && e.time - lastClickTime_ <= platform_.doubleClickTime() &&
                     std::abs(e.x - lastClickX_) <= 4 && std::abs(e.y - lastClickY_) <= 4;
  if (twice) {
    b |= 0x400;
    lastClickButton_ = 0;  // a third click starts a new pair
  } else {
    lastClickButton_ = bit;
    lastClickTime_ = e.time;
    lastClickX_ = e.x;
    lastClickY_ = e.y;
  }
  // A click inside the text entry stays with it.
  if (entry_ && inside(entry_->rect(), e.x, e.y)) {
    if (bit == 2) {
      entry_->click(e.x, (e.state & ShiftMask) != 0, twice);
      entryDrag_ = true;
      invalidate(entry_->rect());
    }
    return;
  }
  if (!listener_) return;
  if (listener_->onMouseDown({e.x, e.y}, b) == 1) setCapture(true);
}

void X11Window::buttonRelease(const XButtonEvent& e) {
  const uint32_t bit = buttonBit(e.button);
  if (!bit) return;
  const uint32_t b = (heldButtons(e.state) & ~bit) | buttonModifiers(e.state);
  platform_.noteInput(b, {e.x_root, e.y_root});
  if (entryDrag_) {
    entryDrag_ = (b & 0x0e) != 0;
    return;
  }
  if (listener_) listener_->onMouseUp({e.x, e.y}, b);
  if (!(b & 0x0e)) setCapture(false);
}

void X11Window::keyPress(XKeyEvent& e) {
  char text[32];
  KeySym sym = NoSymbol;
  const int n = XLookupString(&e, text, sizeof text - 1, &sym, nullptr);
  text[n > 0 ? n : 0] = 0;
  if (entry_) {
    entry_->key(sym, text, n, e.state);
    return;
  }
  const int32_t character = n == 1 ? static_cast<unsigned char>(text[0]) : 0;
  if (!listener_) return;
  if (listener_->onKeyDown(character, virtualKey(sym), keyModifiers(e.state)) == -1 && win_) {
    // Not ours: on to the host's window, so that its shortcuts (Space to play) work.
    XEvent copy;
    copy.xkey = e;
    copy.xkey.window = parent_;
    copy.xkey.subwindow = None;
    XSendEvent(display_, parent_, True, KeyPressMask, &copy);
  }
}

// ---- Text entry ----

X11TextEntry::X11TextEntry(X11Window* w, const platform::TextEntryParams& p,
                           platform::TextEntryListener* l)
    : window_(w), fontName_(p.font.name ? p.font.name : "Arial"),
      line_(p.text, platform::TextEntry::kMaxChars), listener_(l) {
  look_.rect = p.rect;
  look_.font = p.font;
  look_.font.name = fontName_.c_str();
  look_.font.native = nullptr;  // the frame's font object may go before this entry
  look_.align = p.align;
  look_.textColor = p.textColor;
  look_.backColor = p.backColor;
  window_->entryCreated(this);
}

X11TextEntry::~X11TextEntry() { window_->entryDestroyed(this); }

void X11TextEntry::key(KeySym sym, const char* typed, int length, unsigned int state) {
  const bool shift = (state & ShiftMask) != 0;
  switch (sym) {
    case XK_Return: case XK_KP_Enter:
      if (listener_) listener_->textEntryReturn();  // may delete this entry
      return;
    case XK_Escape:
      if (listener_) listener_->textEntryCancel();  // may delete this entry
      return;
    case XK_BackSpace: line_.backspace(); break;
    case XK_Delete: case XK_KP_Delete: line_.erase(); break;
    case XK_Home: case XK_KP_Home: line_.home(shift); break;
    case XK_End: case XK_KP_End: line_.end(shift); break;
    case XK_Left: case XK_KP_Left: line_.left(shift); break;
    case XK_Right: case XK_KP_Right: line_.right(shift); break;
    default:
      if ((state & ControlMask) && (sym == XK_a || sym == XK_A)) {
        line_.selectAll();
      } else if (length > 0 && !(state & ControlMask)) {
        line_.insert(typed);
      } else {
        return;
      }
      break;
  }
  window_->invalidate(look_.rect);
}

void X11TextEntry::click(int32_t x, bool extend, bool selectAll) {
  if (selectAll) line_.selectAll();
  else line_.moveTo(raster::editLinePosition(line_, look_, x), extend);
}

// ---- Platform ----

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
  if (!id || id > 0x1fffffffu || !l || width <= 0 || height <= 0 || width > 16384 ||
      height > 16384)
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
  if (width > 16384 || height > 16384) width = height = 0;
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
  if (!display_ || type <= 0 || type > 9) return 0;
  unsigned int shape;
  switch (type) {
    case 1: shape = XC_watch; break;
    case 2: shape = XC_sb_h_double_arrow; break;
    case 3: shape = XC_sb_v_double_arrow; break;
    case 4: shape = XC_fleur; break;
    case 5: shape = XC_bottom_left_corner; break;
    case 6: shape = XC_bottom_right_corner; break;
    case 8: shape = XC_X_cursor; break;
    case 9: shape = XC_hand2; break;
    default: return 0;  // the copy cursor (7) has no X counterpart: the default
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
