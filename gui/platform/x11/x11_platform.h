#pragma once
// The X11 window system behind the platform seam, for Linux hosts: a child window inside
// the host's window (its id is the parent handle), painted from a raster back buffer
// (XPutImage of the dirty rectangles), with our own single-line text entry drawn on the
// raster. The display connection is the plug-in's own: opened with the first window,
// closed with the last, so that loading and scanning need no display. Hosts do not run
// our event loop: processEvents, called from the editor's idle on the host's GUI thread,
// reads the pending events without blocking, fires the timers that are due (monotonic
// clock) and puts the repainted areas on screen. No thread is started.
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/platform/platform.h"
#include "gui/platform/timer_list.h"

namespace x11 {

class X11Window;

class X11Platform : public platform::Platform {
 public:
  static X11Platform& instance();
  ~X11Platform() override;

  std::unique_ptr<platform::Window> createWindow(void* parent, int32_t width, int32_t height,
                                                 platform::WindowListener* l) override;
  std::unique_ptr<platform::Surface> createOffscreen(int32_t width, int32_t height) override;
  uint32_t ticks() override;
  void sleep(uint32_t ms) override;
  uint32_t doubleClickTime() override { return 400; }
  uint32_t buttonState() override;
  platform::Point cursorPosition() override;
  uint32_t startTimer(uint32_t periodMs, platform::TimerCallback cb) override;
  void stopTimer(uint32_t id) override;
  void dispatchOnePaint() override;
  void processEvents() override;
  int eventFileDescriptor() override;
  // Xft.dpi of the display's resource database (the connection's, or one opened for
  // the question when no editor window is open), else 1.
  double screenScale(void* parent) override;

  bool connected() const { return display_ != nullptr; }

  // Bookkeeping of X11Window.
  void* display() const { return display_; }
  unsigned long cursor(int32_t type);
  void windowCreated(X11Window* w) { windows_.push_back(w); }
  void windowDestroyed(X11Window* w);
  void noteInput(uint32_t buttons, platform::Point screen) {
    buttons_ = buttons;
    cursor_ = screen;
  }

 private:
  X11Platform() = default;
  void fireDueTimers();
  void closeDisplayIfUnused();
  void* display_ = nullptr;  // Display*
  std::vector<X11Window*> windows_;
  platform::TimerList timers_;
  unsigned long cursors_[kCursorHand + 1] = {};
  uint32_t buttons_ = 0;
  platform::Point cursor_{};
};

}  // namespace x11
