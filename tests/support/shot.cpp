#include "tests/support/shot.h"

#include <algorithm>
#include <cstdlib>

#include "gui/demo/png_write.h"

int CountDiffering(const Shot& a, const Shot& b, int left, int top, int right, int bottom,
                   int tolerance) {
  if (a.width != b.width || a.height != b.height || a.px.size() != b.px.size() || a.px.empty())
    return -1;
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

bool WritePng(const Shot& shot, const std::string& path, std::string* error) {
  std::string why;
  const bool ok = shot.px.size() == static_cast<size_t>(shot.width) * shot.height &&
                  demo::writePng(path, shot.px.data(), shot.width, shot.height, why);
  if (!ok && error) *error = why.empty() ? "picture size does not match its pixels" : why;
  return ok;
}
