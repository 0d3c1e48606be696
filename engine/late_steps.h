#pragma once

#include "engine/engine_sizes.h"

// The late network's steps, each written once, for one float or for a vector
// of floats. The shipped loop runs them on vectors (on floats for the last
// few samples of a run); the tests' one-sample reference mixes with the same
// Hadamard.
//
// Everything here has internal linkage (static): the engine compiles these
// templates both with and without AVX, and the linker must never take one
// translation unit's copy for the other's.

constexpr int kLateLines = 8;
constexpr float kLateNorm = 0.35355339f;  // 1 / sqrt(8), the mix's normalisation
constexpr float kShelfOffset = 1e-10f;    // keep the filter states out of denormals
// The damping state gets a tiny offset too: without it a tail that has died
// away leaves the whole loop running on denormal numbers when the shelf is off.
constexpr float kDampOffset = 1e-20f;

// The 8-point Hadamard mix in Sylvester order, h_k = sum over j of
// (-1)^popcount(k & j) y_j: butterflies at distance 1, 2, then 4.
template <class T>
static inline void Hadamard(T* h) {
  for (int span = 1; span < kLateLines; span *= 2)
    for (int i = 0; i < kLateLines; ++i)
      if (!(i & span)) {
        const T p = h[i], q = h[i + span];
        h[i] = p + q;
        h[i + span] = p - q;
      }
}

// Schroeder all-pass step on input u: `mem` holds the diffuser's sample at its
// position (written `size` samples ago) and is replaced by the new one.
template <class T>
static inline T AllPass(T u, T coef, T& mem) {
  const T d = mem;
  mem = u - coef * d;
  return coef * mem + d;
}

// One line's filters on the mixed sample x: the low shelf (crossover state s1),
// the damping low-pass (s2, fed the shelved signal) and the loss gain.
template <class T>
static inline T LineFilter(T x, T c, T a, T kB, T g, T shelfOffset, T dampOffset, T& s1, T& s2) {
  s1 = s1 + c * (x - s1) + shelfOffset;
  s2 = s2 + a * (x + kB * s1 - s2) + dampOffset;
  return g * s2;
}

// What the chunk loop reads and writes: each line's filter coefficients and
// states, and where each delay and diffuser stands. A plain aggregate, so
// that both vector forms take it as it is.
struct TLateLines {
  alignas(32) float g[kLateLines] = {};
  alignas(32) float kB[kLateLines] = {};
  alignas(32) float a[kLateLines] = {};
  alignas(32) float s1[kLateLines] = {};
  alignas(32) float s2[kLateLines] = {};
  float c = 0.0f;
  // The next slot of delays 0-7, then of diffusers 0-7. Within a chunk each
  // is read and written as one run: where a run passes its ring's end, the
  // ring's first samples stand copied beyond it.
  float* at[2 * kLateLines] = {};
  // Each diffuser's coefficient in every lane of a vector.
  alignas(32) float coefLanes[kLateLines][kTapLanes] = {};
};

// One chunk of n samples, n at most every delay's and diffuser's length:
// lines 0-3 take the left pre-delayed input, 4-7 the right, added to lines 0,
// 1, 4, 5 and subtracted from 2, 3, 6, 7; then the mix, the late outputs, the
// filters and the writes back into the delays. Leaves `at` where it was.
using TLateChunk = void (*)(TLateLines& lines, const float* pdL, const float* pdR, float* lateL,
                            float* lateR, int n);
