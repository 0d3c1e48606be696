// The engine's loops with eight floats in one register. This unit alone is
// compiled with AVX; the engine calls it only on processors that have it
// (WideVectorsAvailable). Nothing here may be shared with other units: see
// engine/late_steps.h.
#include "engine/wide_kernels.h"

#include "engine/late_kernels.h"
#include "engine/simd_avx.h"
#include "engine/tap_kernels.h"

const TLateChunk kWideLateChunk = &LateChunkRun<F8>;
const TTapSums kWideTapSums = &TapSumsRun<F8>;
