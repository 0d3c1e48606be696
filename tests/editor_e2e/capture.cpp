#include "tests/editor_e2e/capture.h"

Shot Capture(HWND window) {
  Shot s;
  RECT r{};
  GetClientRect(window, &r);
  s.width = r.right - r.left;
  s.height = r.bottom - r.top;
  if (s.width <= 0 || s.height <= 0) return s;
  HDC wdc = GetDC(window);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = s.width;
  bi.bmiHeader.biHeight = -s.height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, s.width, s.height, wdc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  s.px.assign(p, p + static_cast<size_t>(s.width) * s.height);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(window, wdc);
  return s;
}
