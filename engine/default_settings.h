#pragma once

#include "engine/param_ids.h"

// Physical values of the default program, in parameter order, for driving the
// engine on its own (tests, benchmarks, the demo renderer).
inline constexpr float kDefaultSettings[kNumParams] = {
    0, 0, 0, -9, -4,  // input, output, dry, early, late level (dB)
    0, 0,             // pre-delay left, right (ms)
    0.176f, 0,        // decay time (log10 of seconds: 1.5 s), freeze
    50, 150,          // size, wide (%)
    1, 200, 10000,    // bass ratio, crossover (Hz), high damping (Hz)
    0, 100, 0, 2000,  // equaliser: low level (dB), freq (Hz), high level, freq
};
