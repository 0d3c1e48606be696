// Both targets run the same arithmetic: no fused multiply-add, no fast-math,
// the same SSE2 code. This test pins the output of a fixed render with values
// taken on Linux, so that the Windows build (and any future change of compiler
// switches) is checked against them. Samples may differ only where the two C
// libraries round exp, pow or cos differently in the coefficient design, far
// below the tolerance used here.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/engine_test_util.h"

namespace {
// RMS of the left output in ten windows of 4410 samples, default program at
// 44.1 kHz, a 0.1 s noise burst at 0.5 followed by silence, blocks of 512.
constexpr double kExpectedRms[10] = {
    2.980969814e-01,
    8.071204595e-02,
    3.774993390e-02,
    1.840786164e-02,
    1.049513487e-02,
    5.974918973e-03,
    3.741608089e-03,
    2.272844320e-03,
    1.326766545e-03,
    8.639905641e-04
};
}  // namespace

TEST(CrossTarget, DefaultProgramRenderMatchesTheReference) {
  TReverb r;
  ApplyProgram(r);
  const Stereo out = RunBlocks(r, NoiseBurst(44100, 4410), 512);
  for (int w = 0; w < 10; ++w) {
    const double rms = Rms(out.l, w * 4410, (w + 1) * 4410);
    EXPECT_NEAR(rms, kExpectedRms[w], kExpectedRms[w] * 1e-5) << "window " << w;
  }
}
