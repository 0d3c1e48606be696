#pragma once

#include "engine/cells.h"
#include "engine/engine_sizes.h"
#include "engine/wide_kernels.h"

// One side of the early reflections: 18 taps read from a line fed with a mix
// of both input channels.
//
// The ring is written twice (at p and p + size), so that any window of the
// last `size` samples is contiguous in memory: a block is written first, then
// each tap reads a straight run, with no wrap test per sample. The ring has
// room for the longest tap plus one block, and each sample's sum still adds
// the taps in order 0..17, exactly as a sample-by-sample loop would.
class TEarlyRefl : public TCell {
 public:
  TEarlyRefl();

  int writePos = 0;    // slot of the newest sample
  int tapDelay[kEarlyTaps] = {};

  // Reserves the ring for the table's longest tap at rate sr; taps at full size.
  bool Build(float sampleRate, const float* tapTimes);
  // Tap delays for the scale s * sr (s * sr formed by the caller in float).
  void SetTaps(float scaledRate, const float* tapTimes);

  // n <= kMaxChunk samples at once: each stored, then answered with the sum
  // of the taps (in order 0..17) that reach back from it.
  void Process(const float* x, float* out, int n, const float* gains);

  // Eight samples per register where the processor has AVX (the default),
  // else four; the same sums either way.
  void UseWideVectors(bool on);
  bool WideVectors() const { return tapSums != baselineTapSums; }

 private:
  static const TTapSums baselineTapSums;
  TTapSums tapSums = baselineTapSums;
  int ring = 0;  // logical ring length; the buffer holds 2 * ring floats
};

// The constant tap table: times in seconds per side, one gain column.
struct TEarlyTable {
  static const float kLeft[kEarlyTaps];
  static const float kRight[kEarlyTaps];
  static const float kGain[kEarlyTaps];
};
