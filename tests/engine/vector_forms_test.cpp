// Which vector forms the engine runs. Soravel.dll and Soravel.so are linked
// from this same engine library, so in each tree this is the plug-in's choice.
#include <cpuid.h>
#include <gtest/gtest.h>

#include "tests/engine/engine_test_util.h"

namespace {
// AVX as this processor and its operating system offer it, asked of the
// processor itself: the instructions, and the 256-bit registers saved by the
// operating system (XCR0 bits 1 and 2).
bool ProcessorRunsAvx() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
  unsigned lo, hi;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  return (lo & 6) == 6;
}
}  // namespace

// AVX where the processor has it, SSE2 when told it has not; the same samples
// through a Size change, ramps and the equaliser.
TEST(VectorForms, AvxWhereTheProcessorHasItSse2WhenToldItHasNot) {
  TReverb avx, sse2;
#ifdef SORAVEL_WIDE_VECTORS
  EXPECT_EQ(avx.WideVectors(), ProcessorRunsAvx());
#else
  EXPECT_FALSE(avx.WideVectors());
#endif
  sse2.UseWideVectors(false);
  EXPECT_FALSE(sse2.WideVectors());

  float program[kNumParams];
  std::copy_n(kDefaultSettings, kNumParams, program);
  program[kEqLowLevel] = -6.0f;
  program[kEqHiLevel] = 5.0f;
  const Stereo in = NoiseBurst(20000, 8000);
  Stereo out[2];
  for (int k = 0; k < 2; ++k) {
    TReverb& r = k ? sse2 : avx;
    ApplyProgram(r, program);
    out[k] = RunBlocks(r, in, 333);
    r.SetParameter(kSize, 7.0f);
    const Stereo after = RunBlocks(r, in, 64);
    out[k].l.insert(out[k].l.end(), after.l.begin(), after.l.end());
    out[k].r.insert(out[k].r.end(), after.r.begin(), after.r.end());
  }
  EXPECT_EQ(out[0].l, out[1].l);
  EXPECT_EQ(out[0].r, out[1].r);
}
