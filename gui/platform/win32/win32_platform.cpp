// The Win32 platform: its windows and surfaces, ticks, input state and paint dispatch.
#include "gui/platform/win32/win32_platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/platform/win32/win32_font.h"
#include "gui/platform/win32/win32_image.h"
#include "gui/platform/win32/win32_input.h"
#include "gui/platform/win32/win32_surface.h"
#include "gui/platform/win32/win32_window.h"

namespace win32 {

Win32Platform& Win32Platform::instance() {
  static Win32Platform p;
  return p;
}

std::unique_ptr<platform::Window> Win32Platform::createWindow(void* parent, int32_t width,
                                                              int32_t height,
                                                              platform::WindowListener* l) {
  if (!parent || !l || width <= 0 || height <= 0) return nullptr;
  auto w = std::make_unique<Win32Window>(static_cast<HWND>(parent), width, height, l);
  if (!w->ok()) return nullptr;
  return w;
}

std::unique_ptr<platform::Surface> Win32Platform::createOffscreen(int32_t width, int32_t height) {
  if (!platform::fitsSurface(width, height)) width = height = 0;
  return std::make_unique<Win32Surface>(width, height);
}

uint32_t Win32Platform::ticks() { return GetTickCount(); }
void Win32Platform::sleep(uint32_t ms) { Sleep(ms); }
uint32_t Win32Platform::doubleClickTime() { return GetDoubleClickTime(); }

uint32_t Win32Platform::buttonState() { return asyncButtons(buttonsSwapped()); }

platform::Point Win32Platform::cursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

std::unique_ptr<platform::NativeImage> Win32Platform::prepareImage(const platform::Pixmap& img) {
  if (!img.pixels || img.width <= 0 || img.height <= 0) return nullptr;
  auto n = std::make_unique<Win32Image>(img);
  if (!n->ok()) return nullptr;  // drawn through the copy path instead
  return n;
}

std::unique_ptr<platform::NativeFont> Win32Platform::prepareFont(const platform::FontSpec& f) {
  auto n = std::make_unique<Win32Font>(f);
  if (!n->handle()) return nullptr;
  return n;
}

void Win32Platform::dispatchOnePaint() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace win32
