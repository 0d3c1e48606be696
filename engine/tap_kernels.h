#pragma once

// The early reflections' tap sums for a vector type V of V::kWidth floats,
// instantiated once per type. Static, like the late network's steps (see
// engine/late_steps.h): compiled with and without AVX.
#include "engine/engine_sizes.h"

template <class V>
static void TapSumsRun(const float* const* run, int from, const float* gainLanes, float* out,
                       int n) {
  constexpr int kW = V::kWidth;
  static_assert(kW <= kTapLanes);
  const auto gain = [gainLanes](int j) { return V::LoadAligned(gainLanes + j * kTapLanes); };
  int i = 0;
  for (; i + 2 * kW <= n; i += 2 * kW) {  // two independent sums in flight
    V lo = V::Splat(0.0f), hi = V::Splat(0.0f);
#pragma GCC unroll 18
    for (int j = 0; j < kEarlyTaps; ++j) {
      lo = lo + V::Load(run[j] + from + i) * gain(j);
      hi = hi + V::Load(run[j] + from + i + kW) * gain(j);
    }
    lo.Store(out + i);
    hi.Store(out + i + kW);
  }
  for (; i < n; ++i) {
    float sum = 0.0f;
    for (int j = 0; j < kEarlyTaps; ++j) sum += run[j][from + i] * gainLanes[j * kTapLanes];
    out[i] = sum;
  }
}
