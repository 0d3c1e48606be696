#include "gui/platform/win32/win32_host_window.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/platform/win32/win32_image.h"
#include "gui/platform/win32/win32_objects.h"

namespace win32 {
namespace {

const char kHostClass[] = "SoravelDemoHost";

LRESULT CALLBACK hostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}

}  // namespace

HostWindow::HostWindow(const char* title, int32_t width, int32_t height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHostClass;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(0, kHostClass, title, WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                          nullptr, nullptr, wc.hInstance, nullptr);
}

HostWindow::~HostWindow() {
  if (hwnd_) DestroyWindow(static_cast<HWND>(hwnd_));
}

void HostWindow::runUntilClosed(const std::function<void()>& idle) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    idle();
  }
}

bool HostWindow::shownPixels(void* window, int32_t width, int32_t height,
                             std::vector<uint8_t>& rgb) {
  HWND w = static_cast<HWND>(window);
  if (!w || width <= 0 || height <= 0) return false;
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC wdc = GetDC(w);
  HDC mem = CreateCompatibleDC(wdc);
  void* bits = nullptr;
  HBITMAP dib = makeDib(width, height, &bits);
  const bool ok = dib && bits;
  if (ok) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, wdc, 0, 0, SRCCOPY);
    GdiFlush();
    const size_t n = static_cast<size_t>(width) * height;
    rgb.assign(n * 3, 0);
    const auto* px = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < n; ++i) {
      rgb[i * 3] = static_cast<uint8_t>(px[i] >> 16);
      rgb[i * 3 + 1] = static_cast<uint8_t>(px[i] >> 8);
      rgb[i * 3 + 2] = static_cast<uint8_t>(px[i]);
    }
    SelectObject(mem, old);
  }
  if (dib) freed(DeleteObject(dib));
  DeleteDC(mem);
  ReleaseDC(w, wdc);
  return ok;
}

}  // namespace win32
