#pragma once
// The editor's X11 window: a child of the host's window, painted from a raster back
// buffer of which only the repainted areas are put on screen. Its events arrive through
// the platform's processEvents (x11_events.cpp).
#include <X11/Xlib.h>

#include <memory>

#include "gui/platform/platform.h"
#include "gui/platform/raster/raster_surface.h"
#include "gui/platform/x11/x11_dirty_areas.h"
#include "gui/platform/x11/x11_image.h"
#include "gui/platform/x11/x11_input.h"

namespace x11 {

class X11Platform;
class X11TextEntry;

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

  void handle(XEvent& ev);  // x11_events.cpp
  void paintPending();
  void putArea(const platform::Rect& r);
  void entryCreated(X11TextEntry* e);
  void entryDestroyed(X11TextEntry* e);
  void focusWindow();

 private:
  void expose(const XExposeEvent& e);
  void motion(XEvent& ev);
  void buttonPress(const XButtonEvent& e);
  void buttonRelease(const XButtonEvent& e);
  void keyPress(XKeyEvent& e);
  void keyRelease(XKeyEvent& e);
  void focusOut(const XFocusChangeEvent& e);
  void loseCapture();
  void gone();

  X11Platform& platform_;
  Display* display_;
  ::Window parent_;
  ::Window win_ = 0;
  GC gc_ = nullptr;
  BackBufferImage image_;
  platform::WindowListener* listener_;
  raster::RasterSurface back_;
  DirtyAreas dirty_;
  bool painted_ = false;  // the back buffer holds the whole picture
  bool captured_ = false;
  int32_t cursorType_ = 0;
  X11TextEntry* entry_ = nullptr;  // the focused entry (at most one exists)
  bool entryDrag_ = false;
  DoubleClicks clicks_;
};

}  // namespace x11
