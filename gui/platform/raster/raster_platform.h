#pragma once
// The portable window system: windows are pixel buffers, and whoever hosts them (a test,
// a demo, a Linux editor window presenting the pixels) drives them by injecting mouse,
// wheel, key and text events, running paints and advancing time.
//
// Time is real (a steady clock) unless a manual clock is chosen; with the manual clock,
// sleep and advance move it forward and advance fires the timers that fall due.
// Button state and cursor position follow the injected mouse events.
#include <memory>
#include <string>
#include <vector>

#include "gui/platform/platform.h"
#include "gui/platform/timer_list.h"
#include "gui/platform/raster/raster_surface.h"

namespace raster {

class RasterWindow;

class RasterTextEntry : public platform::TextEntry {
 public:
  RasterTextEntry(RasterWindow* w, const platform::TextEntryParams& p,
                  platform::TextEntryListener* l);
  ~RasterTextEntry() override;
  size_t text(char* out, size_t cap) const override;

  const std::string& value() const { return text_; }
  bool allSelected() const { return allSelected_; }
  const platform::TextEntryParams& params() const { return params_; }
  // Typing replaces a whole selection, then appends up to the 255-character limit.
  void type(const char* s);
  void backspace();
  void pressReturn();  // tells the listener, which may delete this entry
  void pressEscape();  // tells the listener, which may delete this entry
  void loseFocus();    // tells the listener, which may delete this entry
  void draw(platform::Surface& s) const;

 private:
  RasterWindow* window_;
  platform::TextEntryParams params_;
  std::string name_;
  platform::TextEntryListener* listener_;
  std::string text_;
  bool allSelected_ = true;
};

class RasterWindow : public platform::Window {
 public:
  RasterWindow(int32_t width, int32_t height, platform::WindowListener* l);
  ~RasterWindow() override;

  void* nativeHandle() const override { return const_cast<RasterWindow*>(this); }
  void invalidate(const platform::Rect& r) override;
  void setCapture(bool on) override { captured_ = on; }
  platform::Point screenOrigin() const override { return origin_; }
  void setCursor(int32_t type) override { cursor_ = type; }
  void takeKeyboardFocus() override;
  void resize(int32_t width, int32_t height) override;
  std::unique_ptr<platform::Surface> drawSurface() override;
  std::unique_ptr<platform::TextEntry> createTextEntry(const platform::TextEntryParams& p,
                                                       platform::TextEntryListener* l) override;
  bool setDropTarget(platform::DropListener* l) override {
    drop_ = l;
    return true;
  }

  // Driving the window.
  void setScreenOrigin(platform::Point p) { origin_ = p; }
  bool needsPaint() const { return !pending_.empty(); }
  platform::Rect pendingRect() const { return pending_; }
  void paint();  // answers the pending repaint request, if any
  int32_t mouseDown(int32_t x, int32_t y, uint32_t buttons);
  void mouseUp(int32_t x, int32_t y, uint32_t buttons);
  void mouseMove(int32_t x, int32_t y, uint32_t buttons);
  void wheel(int32_t x, int32_t y, int32_t delta120, uint32_t modifiers);
  void horizontalWheel(int32_t x, int32_t y, int32_t delta120, uint32_t modifiers);
  int32_t keyDown(int32_t character, uint8_t virt, uint8_t modifiers);
  int32_t keyUp(int32_t character, uint8_t virt, uint8_t modifiers);
  void typeText(const char* s);  // into the focused text entry
  void loseCapture();            // another window takes the mouse capture
  void dragEnter(int32_t items, int32_t x, int32_t y);
  void dragMove(int32_t x, int32_t y);
  void dragLeave();
  void drop(int32_t x, int32_t y);

  RasterSurface& surface() { return surface_; }
  bool captured() const { return captured_; }
  int32_t cursor() const { return cursor_; }
  RasterTextEntry* focusedEntry() const { return focusEntry_; }
  bool hasDropTarget() const { return drop_ != nullptr; }
  int32_t paintCount() const { return paints_; }
  int32_t directDrawCount() const { return directDraws_; }  // surfaces for drawing at once
  // Key codes the editor did not use, passed on to the host's window.
  const std::vector<int32_t>& passedKeys() const { return passedKeys_; }
  platform::Rect lastPaintRect() const { return lastPaint_; }

  // Bookkeeping used by RasterTextEntry.
  void entryCreated(RasterTextEntry* e);
  void entryDestroyed(RasterTextEntry* e);

 private:
  platform::WindowListener* listener_;
  RasterSurface surface_;
  platform::Rect pending_{};
  platform::Point origin_{};
  bool captured_ = false;
  int32_t cursor_ = 0;
  platform::DropListener* drop_ = nullptr;
  RasterTextEntry* focusEntry_ = nullptr;
  std::vector<RasterTextEntry*> entries_;
  int32_t paints_ = 0;
  int32_t directDraws_ = 0;
  platform::Rect lastPaint_{};
  std::vector<int32_t> passedKeys_;
};

class RasterPlatform : public platform::Platform {
 public:
  static RasterPlatform& instance();

  std::unique_ptr<platform::Window> createWindow(void* parent, int32_t width, int32_t height,
                                                 platform::WindowListener* l) override;
  std::unique_ptr<platform::Surface> createOffscreen(int32_t width, int32_t height) override;
  uint32_t ticks() override;
  void sleep(uint32_t ms) override;
  uint32_t doubleClickTime() override { return 500; }
  uint32_t buttonState() override { return buttons_; }
  platform::Point cursorPosition() override { return cursor_; }
  uint32_t startTimer(uint32_t periodMs, platform::TimerCallback cb) override;
  void stopTimer(uint32_t id) override;
  void dispatchOnePaint() override;

  // Driving time, input state and timers.
  void useManualClock(uint32_t startTicks);
  void useRealClock();
  void advance(uint32_t ms);  // manual clock: moves time, firing due timers in order
  void runDueTimers();        // fires the timers whose time has come
  void setButtonState(uint32_t b) { buttons_ = b; }
  void setCursorPosition(platform::Point p) { cursor_ = p; }
  size_t timerCount() const { return timers_.size(); }
  size_t windowCount() const { return windows_.size(); }
  void refuseTimers(bool refuse) { refuseTimers_ = refuse; }
  // The screen scale answered for every window (tests set it).
  void setScreenScale(double s) { screenScale_ = s; }
  double screenScale(void*) override { return screenScale_; }

  void windowCreated(RasterWindow* w) { windows_.push_back(w); }
  void windowDestroyed(RasterWindow* w);

 private:
  bool manual_ = false;
  uint32_t manualTicks_ = 0;
  uint32_t buttons_ = 0;
  platform::Point cursor_{};
  platform::TimerList timers_;
  bool refuseTimers_ = false;
  double screenScale_ = 1.0;
  std::vector<RasterWindow*> windows_;
};

}  // namespace raster
