#include "engine/early_refl.h"

#include <algorithm>

#include "engine/simd.h"
#include "engine/tap_kernels.h"
#include "engine/units.h"

const float TEarlyTable::kLeft[kEarlyTaps] = {
    0.0133f, 0.0305f, 0.0315f, 0.0358f, 0.0360f, 0.0388f, 0.0548f, 0.0575f, 0.0662f,
    0.0677f, 0.0685f, 0.0702f, 0.0797f, 0.0798f, 0.0816f, 0.0831f, 0.0843f, 0.0887f};
const float TEarlyTable::kRight[kEarlyTaps] = {
    0.0043f, 0.0215f, 0.0225f, 0.0268f, 0.0270f, 0.0298f, 0.0458f, 0.0485f, 0.0572f,
    0.0587f, 0.0595f, 0.0612f, 0.0707f, 0.0708f, 0.0726f, 0.0741f, 0.0753f, 0.0797f};
const float TEarlyTable::kGain[kEarlyTaps] = {
    0.841f, 0.504f, 0.491f, 0.379f, 0.380f, 0.346f, 0.289f, 0.272f, 0.192f,
    0.193f, 0.217f, 0.181f, 0.180f, 0.181f, 0.176f, 0.142f, 0.167f, 0.134f};

const TTapSums TEarlyRefl::baselineTapSums = &TapSumsRun<F4>;

TEarlyRefl::TEarlyRefl() { UseWideVectors(true); }

void TEarlyRefl::UseWideVectors(bool on) {
  tapSums = baselineTapSums;
#ifdef SORAVEL_WIDE_VECTORS
  if (on && WideVectorsAvailable()) tapSums = kWideTapSums;
#else
  (void)on;
#endif
}

bool TEarlyRefl::Build(float sampleRate, const float* tapTimes) {
  const int longest = Samples(sampleRate, tapTimes[kEarlyTaps - 1]);
  // Room for about eight windows: the history (one window) moves back once
  // in seven windows written. An even length: the one-sample reference of
  // tests/engine/sample_steps.h sees the buffer as a ring written twice.
  if (!Allocate(2 * (4 * (longest + 1) + kMaxChunk))) return false;
  span = longest;
  writePos = span - 1;
  SetTaps(sampleRate, tapTimes);
  return true;
}

void TEarlyRefl::SetTaps(float scaledRate, const float* tapTimes) {
  for (int j = 0; j < kEarlyTaps; ++j)
    tapDelay[j] = std::clamp(Samples(scaledRate, tapTimes[j]), 0, span);
  FindRuns();
}

void TEarlyRefl::FindRuns() {
  // Each tap's run starts at the next new sample, delayed by the tap.
  const float* first = buffer.get() + writePos + 1;
  for (int j = 0; j < kEarlyTaps; ++j) tapRun[j] = first - tapDelay[j];
  walked = 0;
}

void TEarlyRefl::MoveHistoryBack() {
  std::copy_n(buffer.get() + writePos + 1 - span, span, buffer.get());
  writePos = span - 1;
  FindRuns();
}

void TEarlyRefl::SpreadGains(const float* gains) {
  for (int j = 0; j < kEarlyTaps; ++j) std::fill_n(gainLanes[j], kTapLanes, gains[j]);
  laneGains = gains;
}

void TEarlyRefl::Sum(float* out, int n, const float* gains) {
  const TTapSide side = Taps(out, n, gains);
  tapSums(&side, 1, gainLanes[0], n);
}


void TEarlyRefl::Process(const float* x, float* out, int n, const float* gains) {
  std::copy_n(x, n, Input(n));
  Sum(out, n, gains);
}
