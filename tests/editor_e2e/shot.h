#pragma once

// Reading a window's pixels back and writing them as PNG files, for the editor's
// end-to-end tests.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 0x00RRGGBB per pixel, rows top to bottom.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x] & 0xffffff; }
};

// Copies the window's client area as it is on screen now.
Shot Capture(HWND window);

// Pixels inside [left, right) x [top, bottom) whose largest channel difference exceeds
// `tolerance`.
int CountDiffering(const Shot& a, const Shot& b, int left, int top, int right, int bottom,
                   int tolerance = 8);

// Brightness 0..255 of one pixel (channel mean).
int Brightness(uint32_t rgb);

// Writes an 8-bit RGB PNG; false with the reason in `error` when it cannot.
bool WritePng(const Shot& shot, const std::string& path, std::string& error);
