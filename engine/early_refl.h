#pragma once

#include "engine/cells.h"
#include "engine/engine_sizes.h"
#include "engine/wide_kernels.h"

// One side of the early reflections: 18 taps read from a line fed with a mix
// of both input channels.
//
// The line is a window of the last samples sliding along a buffer several
// times its length: each sample is written once, and any tap's run of a chunk
// is contiguous, with no wrap test per sample. When the window reaches the
// buffer's end, the history the taps still read moves back to its start (once
// in about seven windows). Each sample's sum adds the taps in order 0..17,
// exactly as a sample-by-sample loop would.
class TEarlyRefl : public TCell {
 public:
  TEarlyRefl();

  int writePos = 0;    // slot of the newest sample
  int tapDelay[kEarlyTaps] = {};

  // Reserves the line for the table's longest tap at rate sr; taps at full size.
  bool Build(float sampleRate, const float* tapTimes);
  // Tap delays for the scale s * sr (s * sr formed by the caller in float).
  void SetTaps(float scaledRate, const float* tapTimes);

  // Where the next n <= kMaxChunk input samples are to be stored, in order.
  float* Input(int n) {
    if (writePos + 1 + n > size) MoveHistoryBack();  // the window's end
    return buffer.get() + writePos + 1;
  }
  // Answers the n samples just stored through Input, each with the sum of
  // the taps (in order 0..17) that reach back from it.
  void Sum(float* out, int n, const float* gains);
  // Both sides' Sum at once, with the same gains.
  static void Sum(TEarlyRefl& left, float* outL, TEarlyRefl& right, float* outR, int n,
                  const float* gains) {
    const TTapSide sides[2] = {left.Taps(outL, n, gains), right.Taps(outR, n, gains)};
    left.tapSums(sides, 2, left.gainLanes[0], n);
  }
  // Both at once, from x.
  void Process(const float* x, float* out, int n, const float* gains);

  // Eight samples per register where the processor has AVX (the default),
  // else four; the same sums either way.
  void UseWideVectors(bool on);
  bool WideVectors() const { return tapSums != baselineTapSums; }

 private:
  static const TTapSums baselineTapSums;
  TTapSums tapSums = baselineTapSums;
  void FindRuns();
  void MoveHistoryBack();
  // The side's taps for the kernel; the line then moves on by n.
  TTapSide Taps(float* out, int n, const float* gains) {
    if (gains != laneGains) SpreadGains(gains);
    const TTapSide side{tapRun, walked, out};
    walked += n;
    writePos += n;
    return side;
  }
  void SpreadGains(const float* gains);

  int span = 0;  // the longest tap at full size: the history kept
  // Where each tap's run started when writePos or tapDelay last jumped, and
  // the samples written since: the next input's taps are at tapRun[j] + walked.
  const float* tapRun[kEarlyTaps] = {};
  int walked = 0;
  // Each gain in every lane of a vector, made when the gains change.
  const float* laneGains = nullptr;
  alignas(32) float gainLanes[kEarlyTaps][kTapLanes] = {};
};

// The constant tap table: times in seconds per side, one gain column.
struct TEarlyTable {
  static const float kLeft[kEarlyTaps];
  static const float kRight[kEarlyTaps];
  static const float kGain[kEarlyTaps];
};
