#pragma once
// The Win32 window system behind the platform seam: a "VSTEditor" child window of class
// "TVSTEditor" inside the host's window, GDI drawing (AlphaBlend and TransparentBlt taken
// from msimg32.dll at run time), the "EDIT" control with its procedure replaced for text
// entry, thread timers, and an OLE drop target. Everything runs on the window's thread.
#include "gui/platform/platform.h"
#include "gui/platform/test_hooks.h"

namespace win32 {

class Win32Platform : public platform::Platform {
 public:
  static Win32Platform& instance();
  std::unique_ptr<platform::Window> createWindow(void* parent, int32_t width, int32_t height,
                                                 platform::WindowListener* l) override;
  std::unique_ptr<platform::Surface> createOffscreen(int32_t width, int32_t height) override;
  uint32_t ticks() override;
  void sleep(uint32_t ms) override;
  uint32_t doubleClickTime() override;
  uint32_t buttonState() override;
  platform::Point cursorPosition() override;
  uint32_t startTimer(uint32_t periodMs, platform::TimerCallback cb) override;
  void stopTimer(uint32_t id) override;
  void dispatchOnePaint() override;
  // A DIB section with a memory context of its own; a font handle.
  std::unique_ptr<platform::NativeImage> prepareImage(const platform::Pixmap& img) override;
  std::unique_ptr<platform::NativeFont> prepareFont(const platform::FontSpec& f) override;
  // The parent window's DPI (GetDpiForWindow, where user32 has it), else the screen's
  // (LOGPIXELSX), over 96.
  double screenScale(void* parent) override;
};

#ifdef SORAVEL_TEST_HOOKS
// Test builds only (gui/platform/test_hooks.h).
// Number of live frame windows' class registrations (for tests of the class life cycle).
int windowClassUseCount();
// GDI objects, device contexts and windows made here and not yet given back.
int liveObjects();
// Image pixels the image draws have transferred so far: each draw counts the part of its
// area inside the clip and the image.
long long imagePixelsDrawn();
// Fonts made so far: prepared ones and the ones surfaces make for themselves.
int fontsCreated();
// Paints through an off-screen buffer as on systems before version 6, whatever the
// system (for tests of that path).
void paintThroughBackBuffer(bool on);
#endif

}  // namespace win32
