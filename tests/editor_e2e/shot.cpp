#include "tests/editor_e2e/shot.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

int CountDiffering(const Shot& a, const Shot& b, int left, int top, int right, int bottom,
                   int tolerance) {
  if (a.width != b.width || a.height != b.height) return -1;
  right = std::min(right, a.width);
  bottom = std::min(bottom, a.height);
  int n = 0;
  for (int y = std::max(top, 0); y < bottom; ++y)
    for (int x = std::max(left, 0); x < right; ++x) {
      const uint32_t p = a.at(x, y), q = b.at(x, y);
      for (int s = 0; s < 24; s += 8)
        if (std::abs(static_cast<int>((p >> s) & 0xff) - static_cast<int>((q >> s) & 0xff)) >
            tolerance) {
          ++n;
          break;
        }
    }
  return n;
}

int Brightness(uint32_t rgb) {
  return static_cast<int>(((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff)) / 3;
}

bool WritePng(const Shot& shot, const std::string& path, std::string& error) {
  if (shot.px.empty()) {
    error = "empty image";
    return false;
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = "cannot create " + path;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<size_t>(shot.width) * 3);
  volatile bool ok = png && info;  // read again after a longjmp
  if (ok && setjmp(png_jmpbuf(png))) {
    ok = false;
  } else if (ok) {
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(shot.width),
                 static_cast<png_uint_32>(shot.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const uint32_t p = shot.at(x, y);
        row[3 * x] = static_cast<png_byte>(p >> 16);
        row[3 * x + 1] = static_cast<png_byte>(p >> 8);
        row[3 * x + 2] = static_cast<png_byte>(p);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  if (std::fclose(f) != 0) ok = false;
  if (!ok) error = "libpng failed writing " + path;
  return ok;
}
