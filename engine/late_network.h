#pragma once

#include "engine/cells.h"

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
// The lines' state is held as arrays of eight so that the mix, the filters
// and the gains run as four-wide vector operations.
class TLateNetwork {
 public:
  static constexpr int kLines = 8;
  static constexpr float kNorm = 0.35355339f;  // 1 / sqrt(8)

  // Reserves every cell for Size 100 % at this rate and sizes them for it.
  bool Build(float sampleRate);
  // Lengths for the size fraction (0..1): resized and cleared, never allocated.
  void SetSize(float sampleRate, float size);
  void Design(double sampleRate, const TDecaySettings& s);
  void Clear();

  // n samples: pre-delayed inputs in, unscaled late outputs out.
  void Process(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);

  TDelay delay[kLines];
  TDiff diff[kLines];
  alignas(16) float g[kLines] = {};
  alignas(16) float kB[kLines] = {};
  alignas(16) float a[kLines] = {};
  alignas(16) float s1[kLines] = {};
  alignas(16) float s2[kLines] = {};
  float c = 0.0f;

  static const float kDiffTime[kLines];
  static const float kLoopTime[kLines];

 private:
  void ProcessRun(const float* pdL, const float* pdR, float* lateL, float* lateR, int n);
};
