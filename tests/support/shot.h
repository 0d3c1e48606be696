#pragma once
// A picture read back from a window or drawn by the raster, as the tests compare and
// save it. Each window system's tests capture their own (tests/editor_e2e/capture.h,
// tests/editor_x11/x11_capture.h).
#include <cstdint>
#include <string>
#include <vector>

// 0x00RRGGBB per pixel (a top byte is ignored), rows top to bottom.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x] & 0xffffff; }
};

// Pixels inside [left, right) x [top, bottom) whose largest channel difference exceeds
// `tolerance`; -1 when the pictures differ in size or either is empty.
int CountDiffering(const Shot& a, const Shot& b, int left, int top, int right, int bottom,
                   int tolerance = 8);

// Brightness 0..255 of one pixel (channel mean).
int Brightness(uint32_t rgb);

// Writes an 8-bit RGB PNG; false, with the reason in `error` if given, when it cannot.
bool WritePng(const Shot& shot, const std::string& path, std::string* error = nullptr);
