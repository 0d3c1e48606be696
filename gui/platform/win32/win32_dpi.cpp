// The screen's scale: the parent window's DPI where the system tells it per window,
// else the screen's.
#include "gui/platform/win32/win32_objects.h"
#include "gui/platform/win32/win32_platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace win32 {

double Win32Platform::screenScale(void* parent) {
  // Windows before 10 (1607) have no GetDpiForWindow: looked up, not linked.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  HWND h = static_cast<HWND>(parent);
  UINT dpi = 0;
  if (dpiForWindow && h && IsWindow(h)) dpi = dpiForWindow(h);
  if (!dpi) {
    HDC screen = made(GetDC(nullptr));
    if (screen) {
      dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
      freed(ReleaseDC(nullptr, screen));
    }
  }
  const double scale = platform::scaleOfDpi(dpi);
  return scale > 0.0 ? scale : 1.0;
}

}  // namespace win32
