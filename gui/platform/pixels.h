#pragma once
// Pixels as the seam holds them: 32-bit premultiplied BGRA words (blue in the low byte),
// and the largest surfaces and images there are.
#include <cstdint>

namespace platform {

// No window or drawing surface is wider or taller: larger ones are refused.
constexpr int32_t kMaxSurfaceSide = 16384;
constexpr bool fitsSurface(int32_t width, int32_t height) {
  return width <= kMaxSurfaceSide && height <= kMaxSurfaceSide;
}
// No image is wider or taller. Larger than a surface's side, on purpose: a filmstrip
// stacks all its frames (a 2x knob strip is 24768 pixels tall).
constexpr int32_t kMaxImageSide = 32768;

// One straight colour channel premultiplied by its alpha, rounded to the nearest value.
constexpr uint8_t premultiply(uint8_t channel, uint8_t alpha) {
  return static_cast<uint8_t>((channel * alpha + 127) / 255);
}
// A straight-alpha colour as a premultiplied BGRA word.
constexpr uint32_t premultiplyRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return premultiply(b, a) | (static_cast<uint32_t>(premultiply(g, a)) << 8) |
         (static_cast<uint32_t>(premultiply(r, a)) << 16) | (static_cast<uint32_t>(a) << 24);
}

}  // namespace platform
