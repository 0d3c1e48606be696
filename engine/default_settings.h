#pragma once

#include <array>

#include "engine/param_ranges.h"

// Physical values of the default program, in parameter order, for driving the
// engine on its own (tests, benchmarks, the demo renderer).
inline constexpr std::array<float, kNumParams> kDefaultSettingsArray = [] {
  std::array<float, kNumParams> a{};
  for (int i = 0; i < kNumParams; ++i) a[i] = kParamRanges[i].def;
  return a;
}();
inline constexpr const float* kDefaultSettings = kDefaultSettingsArray.data();
