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
//
// It runs in chunks no longer than its shortest delay: everything a line reads
// within a chunk was written before the chunk began, so each line is read as
// one run, the chunk is mixed and filtered, and the results are written back
// as one run. Every sample is what the one-sample-at-a-time network gives.
class TLateNetwork {
 public:
  TLateNetwork();

  // Reserves every cell for Size 100 % at this rate and sizes them for it.
  bool Build(float sampleRate);
  // Lengths for the size fraction (0..1): resized and cleared, never allocated.
  void SetSize(float sampleRate, float size);
  void Design(double sampleRate, const TDecaySettings& s);
  void Clear();

  // n samples: pre-delayed inputs in, unscaled late outputs out.
  void Process(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);

  // Eight lines in one register where the processor has AVX (chosen by
  // default); off, or where it has not, four lines per SSE2 register. Both
  // give the same samples.
  void UseWideVectors(bool on);
  bool WideVectors() const { return wide; }

  TDelay delay[kLateLines];
  TDiff diff[kLateLines];
  alignas(32) float g[kLateLines] = {};
  alignas(32) float kB[kLateLines] = {};
  alignas(32) float a[kLateLines] = {};
  alignas(32) float s1[kLateLines] = {};
  alignas(32) float s2[kLateLines] = {};
  float c = 0.0f;

  static const float kDiffTime[kLateLines];
  static const float kLoopTime[kLateLines];

 private:
  void ProcessChunk(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);
  // The same, for a chunk in which a delay wraps: each line in pieces.
  void ProcessWrappingChunk(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);
  void Gather(int line, const float* pd, int n);

  const TLateKernels* kernels;
  bool wide = false;
  int chunk = kMaxChunk;  // the longest chunk: at most the shortest delay
  // One chunk of every line's diffuser output.
  alignas(32) float run[kLateLines][kMaxChunk];
};
