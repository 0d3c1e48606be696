#pragma once

// The late network's chunk arithmetic for a vector type V of V::kWidth floats
// (F4: SSE2, F8: AVX), instantiated once per type. Static, like the steps:
// see engine/late_steps.h.
#include "engine/late_steps.h"

// The line's input: 0.3 times the pre-delayed input, added or subtracted.
template <bool kSubtract, class T>
static inline T WithInput(T d, T thirdPd) {
  return kSubtract ? d - thirdPd : d + thirdPd;
}

// Lines whose input is subtracted (lines 2, 3, 6, 7).
static constexpr bool SubtractsInput(int line) { return line & 2; }

// Lines i0..i0+3 diffused: y_i = all-pass(delay output +- 0.3 pd) for the
// kW samples at t, the diffusers' memories replaced.
template <class V, int kFirst, int kCount>
[[gnu::always_inline]] static inline void Diffuse(const TLateLines& L, float* const* d,
                                                  float* const* m, V thirdL, V thirdR, int t,
                                                  V* y) {
#pragma GCC unroll 8
  for (int i = kFirst; i < kFirst + kCount; ++i) {
    const V u = SubtractsInput(i) ? WithInput<true>(V::Load(d[i] + t), i < 4 ? thirdL : thirdR)
                                  : WithInput<false>(V::Load(d[i] + t), i < 4 ? thirdL : thirdR);
    V mem = V::Load(m[i] + t);
    y[i] = AllPass(u, V::LoadAligned(L.coefLanes[i]), mem);
    mem.Store(m[i] + t);
  }
}

// One sample of every line, one float at a time: the chunk's last few samples.
[[gnu::noinline]] static void LateTail(TLateLines& L, float* const* d, float* const* m,
                                       const float* pdL, const float* pdR, float* lateL,
                                       float* lateR, int from, int n) {
  for (int t = from; t < n; ++t) {
    const float thirdL = 0.3f * pdL[t], thirdR = 0.3f * pdR[t];
    float h[kLateLines];
    for (int i = 0; i < kLateLines; ++i) {
      const float third = i < 4 ? thirdL : thirdR;
      const float u = SubtractsInput(i) ? WithInput<true>(d[i][t], third)
                                        : WithInput<false>(d[i][t], third);
      h[i] = AllPass(u, L.coefLanes[i][0], m[i][t]);
    }
    Hadamard(h);
    lateL[t] = h[0] + h[4];
    lateR[t] = h[1] - h[2];
    for (int i = 0; i < kLateLines; ++i)
      d[i][t] = LineFilter(h[i] * kLateNorm, L.c, L.a[i], L.kB[i], L.g[i], kShelfOffset,
                           kDampOffset, L.s1[i], L.s2[i]);
  }
}

template <class V>
static void LateChunkRun(TLateLines& L, const float* pdL, const float* pdR, float* lateL,
                         float* lateR, int n) {
  float* d[kLateLines];
  float* m[kLateLines];
  for (int i = 0; i < kLateLines; ++i) {
    d[i] = L.at[i];
    m[i] = L.at[kLateLines + i];
  }
  constexpr int kW = V::kWidth;
  constexpr int kGroups = kLateLines / kW;  // registers per sample, kW lines each
  const V third = V::Splat(0.3f), norm = V::Splat(kLateNorm), cv = V::Splat(L.c);
  const V shelfOffset = V::Splat(kShelfOffset), dampOffset = V::Splat(kDampOffset);
  V s1v[kGroups], s2v[kGroups];
  for (int k = 0; k < kGroups; ++k) {
    s1v[k] = V::LoadAligned(L.s1 + k * kW);
    s2v[k] = V::LoadAligned(L.s2 + k * kW);
  }
  int t = 0;
  for (; t + kW <= n; t += kW) {
    // Diffuse and mix kW samples, one vector per line.
    V h[kLateLines];
    Diffuse<V, 0, kLateLines>(L, d, m, third * V::Load(pdL + t), third * V::Load(pdR + t), t, h);
    Hadamard(h);
    (h[0] + h[4]).Store(lateL + t);
    (h[1] - h[2]).Store(lateR + t);
    for (V& x : h) x = x * norm;

    // Filter sample by sample: transposed, a vector holds kW lines of one sample.
    for (int k = 0; k < kGroups; ++k) Transpose(h + k * kW);
    for (int s = 0; s < kW; ++s)
      for (int k = 0; k < kGroups; ++k) {
        V& x = h[k * kW + s];
        x = LineFilter(x, cv, V::LoadAligned(L.a + k * kW), V::LoadAligned(L.kB + k * kW),
                       V::LoadAligned(L.g + k * kW), shelfOffset, dampOffset, s1v[k], s2v[k]);
      }
    for (int k = 0; k < kGroups; ++k) Transpose(h + k * kW);
    for (int i = 0; i < kLateLines; ++i) h[i].Store(d[i] + t);
  }
  for (int k = 0; k < kGroups; ++k) {
    s1v[k].Store(L.s1 + k * kW);
    s2v[k].Store(L.s2 + k * kW);
  }
  if (t < n) LateTail(L, d, m, pdL, pdR, lateL, lateR, t, n);
}
