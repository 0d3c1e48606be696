// Which forms of the engine's loops this processor runs. Compiled for the
// baseline processor, like everything but engine/wide_kernels.cpp.
#include "engine/wide_kernels.h"

bool WideVectorsAvailable() {
#ifdef SORAVEL_WIDE_VECTORS
  // Checks the operating system's support too: AVX needs it to save the
  // 256-bit registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
#else
  return false;
#endif
}
