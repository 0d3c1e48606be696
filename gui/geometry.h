#pragma once
// Integer rectangles, points and colours of the view framework.
// A rectangle is left, top, right, bottom with y growing downward; right and bottom
// are exclusive for sizes, but point-inside tests include all four edges. Their
// arithmetic is the seam's (gui/platform/rect.h).
#include <cstdint>

#include "gui/platform/rect.h"

struct CPosition {
  int32_t h = 0, v = 0;
  CPosition() = default;
  constexpr CPosition(int32_t h_, int32_t v_) : h(h_), v(v_) {}
  bool operator==(const CPosition& o) const { return h == o.h && v == o.v; }
  bool operator!=(const CPosition& o) const { return !(*this == o); }
  CPosition& offset(int32_t x, int32_t y) { h += x; v += y; return *this; }
};

struct CBounds {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  CBounds() = default;
  constexpr CBounds(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool isEmpty() const { return right <= left || bottom <= top; }
  CBounds& offset(int32_t x, int32_t y) { left += x; right += x; top += y; bottom += y; return *this; }
  CBounds& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }
  // Closed, as the framework's hit tests count: all four edges inside. The pixels a
  // rectangle covers are the half-open form, platform::insideHalfOpen.
  bool pointInside(const CPosition& p) const { return platform::insideClosed(*this, p.h, p.v); }
  // The smallest rectangle holding both.
  CBounds& unite(const CBounds& o) { return *this = platform::unite(*this, o); }
  // The intersection, normalised so that right >= left and bottom >= top.
  CBounds& bound(const CBounds& o) { return *this = platform::intersect(*this, o); }
  bool operator==(const CBounds& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const CBounds& o) const { return !(*this == o); }
};

struct CRGBA {
  uint8_t red = 0, green = 0, blue = 0, alpha = 255;
  bool operator==(const CRGBA& o) const {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
  bool operator!=(const CRGBA& o) const { return !(*this == o); }
};

extern const CRGBA kTransparentCRGBA, kBlackCRGBA, kWhiteCRGBA, kGreyCRGBA, kRedCRGBA,
    kGreenCRGBA, kBlueCRGBA, kYellowCRGBA, kMagentaCRGBA, kCyanCRGBA;
