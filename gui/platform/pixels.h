#pragma once
// Pixels as the seam holds them: 32-bit premultiplied BGRA words (blue in the low byte),
// and the largest surfaces and images there are.
#include <cstdint>

namespace platform {

// No window or drawing surface is wider or taller: larger ones are refused.
constexpr int32_t kMaxSurfaceSide = 16384;
// No image is wider or taller. Larger than a surface's side, on purpose: a filmstrip
// stacks all its frames (a 2x knob strip is 24768 pixels tall).
constexpr int32_t kMaxImageSide = 32768;

}  // namespace platform
