#pragma once
// Rectangle arithmetic, written once for every rectangle with left, top, right and
// bottom members: the seam's platform::Rect and the framework's CBounds. y grows
// downward.
#include <cstdint>

namespace platform {

// Half-open: the right and bottom edges are outside, as for the pixels (or units) a
// rectangle covers.
template <class R>
constexpr bool insideHalfOpen(const R& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Closed: all four edges are inside, as the framework's hit tests count them.
template <class R>
constexpr bool insideClosed(const R& r, int32_t x, int32_t y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// Whether two rectangles overlap or at least touch (a shared edge counts).
template <class R>
constexpr bool meet(const R& a, const R& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The smallest rectangle holding both.
template <class R>
constexpr R unite(const R& a, const R& b) {
  return R{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
           a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

// The intersection, normalised so that right >= left and bottom >= top.
template <class R>
constexpr R intersect(const R& a, const R& b) {
  R r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
      a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace platform
