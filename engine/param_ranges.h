#pragma once

#include "engine/param_ids.h"

// The physical facts of every parameter, in index order: default, minimum,
// maximum and step (0: continuous), in the unit the engine takes (dB, ms,
// decimal logarithm of seconds, on/off, %, factor, Hz). The engine limits its
// settings to these ranges; the plug-in formats build their parameters from
// them and add names and display rules, so a range is written only here.
struct TParamRange {
  float def, min, max, step;
};

inline constexpr TParamRange kParamRanges[kNumParams] = {
    {0.0f, -200.0f, 0.0f, 0.0f},         // Input Level (dB; the minimum is silence)
    {0.0f, -200.0f, 0.0f, 0.0f},         // Output Level
    {0.0f, -200.0f, 0.0f, 0.0f},         // Dry Level
    {-9.0f, -200.0f, 0.0f, 0.0f},        // ER Level
    {-4.0f, -200.0f, 0.0f, 0.0f},        // Late Level
    {0.0f, 0.0f, 200.0f, 0.0f},          // Predelay Left (ms)
    {0.0f, 0.0f, 200.0f, 0.0f},          // Predelay Right
    {0.176f, -1.0f, 2.0f, 0.0f},         // Decay Time (log10 s: 0.1 .. 100 s, default 1.50 s)
    {0.0f, 0.0f, 1.0f, 1.0f},            // Decay Freeze (off, on)
    {50.0f, 0.0f, 100.0f, 0.0f},         // Size (%)
    {150.0f, 0.0f, 200.0f, 0.0f},        // Wide (%)
    {1.0f, 0.0f, 3.0f, 0.0f},            // Bass Ratio (factor)
    {200.0f, 50.0f, 2000.0f, 0.0f},      // Crossover (Hz)
    {10000.0f, 500.0f, 20000.0f, 0.0f},  // High Damping (Hz)
    {0.0f, -15.0f, 15.0f, 0.0f},         // EQ Low Band Level (dB)
    {100.0f, 30.0f, 3000.0f, 0.0f},      // EQ Low Band Freq (Hz)
    {0.0f, -15.0f, 15.0f, 0.0f},         // EQ Hi Band Level (dB)
    {2000.0f, 160.0f, 10000.0f, 0.0f},   // EQ Hi Band Freq (Hz)
};
