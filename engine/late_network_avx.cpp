// The late network's chunk arithmetic with eight lines in one register. This
// unit alone is compiled with AVX; the engine calls it only on processors that
// have it (TLateNetwork::WideVectorsAvailable). Nothing here may be shared
// with other units: see engine/late_steps.h.
#include "engine/late_kernels.h"
#include "engine/simd_avx.h"

extern const TLateKernels kWideLateKernels;
const TLateKernels kWideLateKernels = LateKernels<F8>();
