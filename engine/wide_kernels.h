#pragma once

// The engine's loops with eight floats per register (AVX), compiled in
// engine/wide_kernels.cpp only where the build can dispatch to them at run
// time (SORAVEL_WIDE_VECTORS); everywhere else, and on processors without
// AVX, the SSE2 forms run. Both give the same samples: no fused multiply-add.
#include "engine/late_steps.h"

// One side's taps: out[i] = sum over the taps j = 0..17, in that order, of
// run[j][from + i] * g_j.
struct TTapSide {
  const float* const* run;
  int from;
  float* out;
};
// n samples of each of `count` sides, where gainLanes[j * kTapLanes + k] is
// g_j in every lane k (16-byte aligned).
using TTapSums = void (*)(const TTapSide* sides, int count, const float* gainLanes, int n);

// True when this build has the wide forms and the processor runs them.
bool WideVectorsAvailable();

#ifdef SORAVEL_WIDE_VECTORS
extern const TLateChunk kWideLateChunk;
extern const TTapSums kWideTapSums;
#endif
