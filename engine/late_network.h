#pragma once

#include "engine/cells.h"
#include "engine/engine_sizes.h"
#include "engine/late_steps.h"

// Settings the coefficient design of the late network depends on.
struct TDecaySettings {
  float decayTime = 2.0f;      // seconds
  bool freeze = false;
  float size = 1.0f;           // fraction 0..1
  float bassRatio = 1.0f;      // factor 0..3
  float crossover = 200.0f;    // Hz
  float highDamping = 3300.0f; // Hz
};

// The late reverberation: eight feedback lines, each a delay followed by an
// all-pass diffuser, mixed by an 8 x 8 Hadamard matrix, then per line a low
// shelf, a damping low-pass and a loss gain before re-entering the delay.
// The coefficients g, kB, a, c and the filter states s1, s2 are TLateLines'.
//
// It runs in chunks no longer than its shortest delay or diffuser: nothing a
// line reads within a chunk was written in it, so each line is read, diffused,
// mixed, filtered and written back in one pass over the chunk. Every sample is
// what the one-sample-at-a-time network gives.
class TLateNetwork : public TLateLines {
 public:
  TLateNetwork();

  // Reserves every cell for Size 100 % at this rate and sizes them for it.
  bool Build(float sampleRate);
  // Lengths for the size fraction (0..1): resized and cleared, never allocated.
  void SetSize(float sampleRate, float size);
  void Design(double sampleRate, const TDecaySettings& s);
  void Clear();

  // n samples: pre-delayed inputs in, unscaled late outputs out.
  void Process(const float* pdL, const float* pdR, float* lateL, float* lateR, int n) {
    if (n <= chunk && n < untilEdge) {  // the usual call: one chunk, no ring's end
      chunkLoop(*this, pdL, pdR, lateL, lateR, n);
      untilEdge -= n;
      walked += n;
      MoveOn(n);
    } else {
      ProcessChunks(pdL, pdR, lateL, lateR, n);
    }
  }

  // Eight lines in one register where the processor has AVX (chosen by
  // default); off, or where it has not, four lines per SSE2 register. Both
  // give the same samples.
  void UseWideVectors(bool on);
  bool WideVectors() const { return wide; }

  // Read freely; changed only through the network (Build, SetSize, Clear),
  // which keeps where each one stands as running state.
  TDelay delay[kLateLines];
  TDiff diff[kLateLines];

  static const float kDiffTime[kLateLines];
  static const float kLoopTime[kLateLines];

 private:
  // Delays 0-7, then diffusers 0-7: the order of `at`.
  static constexpr int kRings = 2 * kLateLines;
  TCell& Ring(int k) {
    return k < kLateLines ? static_cast<TCell&>(delay[k]) : diff[k - kLateLines];
  }
  // Where each cell stands, from the cells (after they were resized or cleared).
  void Track();
  void ProcessChunks(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);
  // n samples in which no ring reaches its end.
  void MoveOn(int n) {
    for (int k = 0; k < kRings; ++k) {
      at[k] += n;
      Ring(k).Advance(n);
    }
  }
  void ProcessEdgeChunk(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);
  // The rings (bit k: at[k]) whose room is at most n.
  unsigned ReachingTheEnd(int n) const;
  int LeastRoom() const;

  TLateChunk chunkLoop;
  bool wide = false;
  int chunk = kMaxChunk;  // the longest chunk: at most the shortest cell
  // Samples from each ring's position to its end (1..size) when `walked` was
  // last 0, at the last chunk that took a ring to its end; the least of them
  // less `walked`: chunks shorter than it take no ring to its end.
  alignas(16) int room[kRings] = {};
  int walked = 0;
  int untilEdge = 0;
};
