#pragma once
// The zoom of a frame: views are laid out and draw in units (the 1x layout); the
// window and its surfaces are in pixels, units x factor. An edge at unit u lies at
// pixel floor(u x factor + 1/2), so neighbouring rectangles stay neighbours at any
// factor; a pixel belongs to the unit whose pixels hold it.
#include <cmath>
#include <cstdint>

#include "gui/geometry.h"
#include "gui/platform/platform.h"

struct CScale {
  double factor = 1.0;

  CScale() = default;
  explicit CScale(double f) : factor(f > 0.0 && std::isfinite(f) ? f : 1.0) {}
  bool isOne() const { return factor == 1.0; }

  int32_t toPixels(int32_t units) const {
    return static_cast<int32_t>(std::floor(units * factor + 0.5));
  }
  platform::Rect toPixels(const CBounds& r) const {
    return {toPixels(r.left), toPixels(r.top), toPixels(r.right), toPixels(r.bottom)};
  }
  // The last unit u with toPixels(u) <= pixels.
  int32_t toUnits(int32_t pixels) const {
    return static_cast<int32_t>(std::ceil((pixels + 0.5) / factor)) - 1;
  }
  CPosition toUnits(platform::Point p) const { return CPosition(toUnits(p.x), toUnits(p.y)); }
  // The units whose pixels touch the pixel rectangle r.
  CBounds unitsCovering(const platform::Rect& r) const {
    if (r.empty()) return CBounds(toUnits(r.left), toUnits(r.top), toUnits(r.left), toUnits(r.top));
    return CBounds(toUnits(r.left), toUnits(r.top), toUnits(r.right - 1) + 1,
                   toUnits(r.bottom - 1) + 1);
  }
};
