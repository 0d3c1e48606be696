#pragma once

// The engine's conversions of times and of Size, each written once.
#include <cmath>

// A time in seconds as a number of samples at `rate`: the nearest sample,
// halves going up, computed in float.
inline int Samples(float rate, float seconds) {
  return static_cast<int>(std::floor(rate * seconds + 0.5f));
}

// The factor Size (a fraction 0..1) scales every line length, tap time and
// the decay design by: 0.05 at Size 0 to 1 at Size 1. In float for lengths,
// in double for the design.
template <class T>
constexpr T SizeScale(T size) {
  return T(0.95) * size + T(0.05);
}
static_assert(float(0.95) == 0.95f && float(0.05) == 0.05f, "the float scale's own constants");

// The rate the lengths for a Size are counted at: the scale times the rate, in float.
inline float ScaledRate(float sampleRate, float size) { return SizeScale(size) * sampleRate; }
