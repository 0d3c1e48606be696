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

// A cell's storage as a chunk walks it: from `at` for `room` samples, then
// from `base` again every `size` samples.
struct TRingRun {
  float* at;
  float* base;
  int room, size;
};

// The arithmetic of one chunk, in a baseline (SSE2) and a wide (AVX) form.
// The diffuser outputs of line i are at y + i * kMaxChunk.
struct TLateKernels {
  // y[t] = all-pass(d[t] + 0.3 pd[t]) for t < n ([1]: d[t] - 0.3 pd[t]): d the
  // delay's output, pd the pre-delayed input, mem the diffuser's memory (n
  // samples without a wrap).
  void (*diffuse[2])(const float* d, const float* pd, float* mem, float coef, float* y, int n);
  // The same for all eight lines, none of whose delays wraps within n, the
  // diffusers' memories as they wrap: lines 0-3 take the left input, 4-7 the
  // right, added to lines 0, 1, 4, 5 and subtracted from 2, 3, 6, 7.
  void (*diffuseLines)(const float* const* d, const TRingRun* mem, const float* coef,
                       const float* pdL, const float* pdR, float* y, int n);
  // Mixes the eight lines' diffuser outputs (line i's n samples at
  // y + i * kMaxChunk), writes the late outputs and the filtered lines' delay
  // inputs w[i][0..n).
  void (*mixAndFilter)(const float* y, float* const* w, float* lateL, float* lateR, float c,
                       const float* a, const float* kB, const float* g, float* s1, float* s2,
                       int n);
};
