#pragma once

#include "engine/reverb.h"

// The default program's physical values, in parameter order.
inline constexpr float kBenchDefault[kNumParams] = {0,   0, 0,   -9,  -4,  0,   0, 0.176f, 0,
                                                    50, 150, 1, 200, 10000, 0, 100, 0, 2000};

inline void BenchProgram(TReverb& r, bool eq = false) {
  for (int i = 0; i < kNumParams; ++i) r.SetParameter(i, kBenchDefault[i]);
  if (eq) {
    r.SetParameter(kEqLowLevel, -6.0f);
    r.SetParameter(kEqHiLevel, 4.0f);
  }
}
