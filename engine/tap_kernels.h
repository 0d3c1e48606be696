#pragma once

// The early reflections' tap sums for a vector type V of V::kWidth floats,
// instantiated once per type. Static, like the late network's steps (see
// engine/late_steps.h): compiled with and without AVX.
#include "engine/engine_sizes.h"
#include "engine/wide_kernels.h"

// An empty asm statement that takes every sum in flight: all of them must have
// added tap j before any adds tap j + 1. Left free, the compiler runs one sum
// through all the taps after the other and fetches the tap pointers once per
// sum instead of once per step.
template <class V, int kSums>
[[gnu::always_inline]] static inline void TapByTap(V* sum) {
  if constexpr (kSums == 4)
    asm("" : "+x"(sum[0].v), "+x"(sum[1].v), "+x"(sum[2].v), "+x"(sum[3].v));
  if constexpr (kSums == 8)
    asm("" : "+x"(sum[0].v), "+x"(sum[1].v), "+x"(sum[2].v), "+x"(sum[3].v), "+x"(sum[4].v),
             "+x"(sum[5].v), "+x"(sum[6].v), "+x"(sum[7].v));
}

// kSums independent sums of kW samples each in flight.
template <class V, int kSums>
[[gnu::always_inline]] static inline void TapSumsStep(const float* const* run, int at,
                                                      const float* gainLanes, float* out) {
  constexpr int kW = V::kWidth;
  V sum[kSums];
  for (V& s : sum) s = V::Splat(0.0f);
#pragma GCC unroll 18
  for (int j = 0; j < kEarlyTaps; ++j) {
    const float* r = run[j] + at;
    const V g = V::LoadAligned(gainLanes + j * kTapLanes);
    for (int k = 0; k < kSums; ++k) sum[k] = sum[k] + V::Load(r + k * kW) * g;
    if constexpr (kW == 4) TapByTap<V, kSums>(sum);  // the SSE2 form only: AVX does better without
  }
  for (int k = 0; k < kSums; ++k) sum[k].Store(out + k * kW);
}

template <class V>
static void TapSumsRun(const TTapSide* sides, int count, const float* gainLanes, int n) {
  constexpr int kW = V::kWidth;
  static_assert(kW <= kTapLanes);
  // Sixteen samples a step with AVX, thirty-two with SSE2: each tap's pointer
  // is fetched once for them.
  constexpr int kSums = kW == 4 ? 8 : 16 / kW;
  for (int side = 0; side < count; ++side) {
    const float* const* run = sides[side].run;
    const int from = sides[side].from;
    float* out = sides[side].out;
    int i = 0;
    for (; i + kSums * kW <= n; i += kSums * kW)
      TapSumsStep<V, kSums>(run, from + i, gainLanes, out + i);
    if constexpr (kSums == 8)
      for (; i + 4 * kW <= n; i += 4 * kW) TapSumsStep<V, 4>(run, from + i, gainLanes, out + i);
    for (; i + kW <= n; i += kW) TapSumsStep<V, 1>(run, from + i, gainLanes, out + i);
    for (; i < n; ++i) {
      float sum = 0.0f;
      for (int j = 0; j < kEarlyTaps; ++j) sum += run[j][from + i] * gainLanes[j * kTapLanes];
      out[i] = sum;
    }
  }
}
