#pragma once
// The frame's "VSTEditor" child window of class "TVSTEditor" inside the host's window.
// Its messages reach the window listener through small handlers by message group
// (win32_messages.cpp).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <memory>

#include "gui/platform/platform.h"
#include "gui/platform/test_hooks.h"

namespace win32 {

class DropTarget;
class Win32Surface;

class Win32Window : public platform::Window {
 public:
  Win32Window(HWND parent, int w, int h, platform::WindowListener* l);
  ~Win32Window() override;
  bool ok() const { return hwnd_ != nullptr; }

  void* nativeHandle() const override { return hwnd_; }
  void invalidate(const platform::Rect& r) override;
  void setCapture(bool on) override;
  platform::Point screenOrigin() const override;
  void setCursor(int32_t type) override;
  void takeKeyboardFocus() override { SetFocus(hwnd_); }
  platform::Point position() const override;
  bool hostRect(platform::Rect& out) const override;
  void resize(int32_t width, int32_t height) override;
  std::unique_ptr<platform::Surface> drawSurface() override;
  std::unique_ptr<platform::TextEntry> createTextEntry(const platform::TextEntryParams& p,
                                                       platform::TextEntryListener* l) override;
  bool setDropTarget(platform::DropListener* l) override;

  // The window procedure's work (win32_messages.cpp).
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // Handlers by message group; each answers what the window procedure returns.
  LRESULT paint();
  LRESULT keyDown(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT keyUp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT mouse(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT wheel(UINT msg, WPARAM wp, LPARAM lp);
  bool showCursor(WPARAM wp, LPARAM lp);  // false: the default handling shows one
  LRESULT passOn(UINT msg, WPARAM wp, LPARAM lp);
  HCURSOR cursorShown() const;

  HWND hwnd_ = nullptr;
  platform::WindowListener* listener_;
  HCURSOR defaultCursor_ = nullptr;
  HCURSOR cursor_ = nullptr;  // chosen by setCursor; null: the class's arrow
  bool passing_ = false;       // a key message is on its way to the host
  bool passingChars_ = false;  // the last key pressed went to the host
  bool usedDown_[256] = {};    // keys whose press the editor used
  DropTarget* drop_ = nullptr;
  bool oldSystem_ = false;
  std::unique_ptr<Win32Surface> back_;  // paint buffer on systems before version 6
};

#ifdef SORAVEL_TEST_HOOKS
// Frame window class registrations alive (one per window).
int windowClassUses();
#endif
// Whether the system swaps the mouse's left and right buttons (read when the class is
// registered).
bool buttonsSwapped();

}  // namespace win32
