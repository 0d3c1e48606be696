#pragma once

// The late network's chunk arithmetic for a vector type V of V::kWidth floats
// (F4: SSE2, F8: AVX), instantiated once per type. Static, like the steps:
// see engine/late_steps.h.
#include "engine/late_steps.h"

// The line's input: 0.3 times the pre-delayed input, added or subtracted.
template <bool kSubtract, class T>
static inline T WithInput(T d, T third, T pd) {
  return kSubtract ? d - third * pd : d + third * pd;
}

// The last few samples of a run, one at a time: out of line, so that the
// vector loop's callers stay small.
template <bool kSubtract>
[[gnu::noinline]] static void DiffuseTail(const float* d, const float* pd, float* mem, float coef,
                                          float* y, int n) {
  for (int t = 0; t < n; ++t) y[t] = AllPass(WithInput<kSubtract>(d[t], 0.3f, pd[t]), coef, mem[t]);
}

template <class V, bool kSubtract>
[[gnu::always_inline]] static inline void DiffuseRun(const float* d, const float* pd, float* mem,
                                                     float coef, float* y, int n) {
  const V cv = V::Splat(coef), third = V::Splat(0.3f);
  int t = 0;
  for (; t + V::kWidth <= n; t += V::kWidth) {
    V m = V::Load(mem + t);
    AllPass(WithInput<kSubtract>(V::Load(d + t), third, V::Load(pd + t)), cv, m).Store(y + t);
    m.Store(mem + t);
  }
  if (t < n) DiffuseTail<kSubtract>(d + t, pd + t, mem + t, coef, y + t, n - t);
}

// The same as an entry of the kernel table, for one line in pieces.
template <class V, bool kSubtract>
static void DiffuseLineRun(const float* d, const float* pd, float* mem, float coef, float* y,
                           int n) {
  DiffuseRun<V, kSubtract>(d, pd, mem, coef, y, n);
}

// Lines whose input is subtracted (lines 2, 3, 6, 7).
static constexpr bool SubtractsInput(int line) { return line & 2; }

template <class V>
static void DiffuseLinesRun(const float* const* d, const TRingRun* mem, const float* coef,
                            const float* pdL, const float* pdR, float* y, int n) {
#pragma GCC unroll 8
  for (int i = 0; i < kLateLines; ++i) {
    const float* pd = i < 4 ? pdL : pdR;
    float* out = y + i * kMaxChunk;
    float* m = mem[i].at;
    for (int done = 0, room = mem[i].room; done < n; m = mem[i].base, room = mem[i].size) {
      const int len = n - done < room ? n - done : room;  // up to the diffuser's wrap
      if (SubtractsInput(i))
        DiffuseRun<V, true>(d[i] + done, pd + done, m, coef[i], out + done, len);
      else
        DiffuseRun<V, false>(d[i] + done, pd + done, m, coef[i], out + done, len);
      done += len;
    }
  }
}

template <class V>
static void MixAndFilterRun(const float* ys, float* const* w, float* lateL, float* lateR,
                            float c, const float* a, const float* kB, const float* g, float* s1,
                            float* s2, int n) {
  const float* y[kLateLines];
  for (int i = 0; i < kLateLines; ++i) y[i] = ys + i * kMaxChunk;
  constexpr int kW = V::kWidth;
  constexpr int kGroups = kLateLines / kW;  // registers per sample, kW lines each
  const V norm = V::Splat(kLateNorm), cv = V::Splat(c);
  const V shelfOffset = V::Splat(kShelfOffset), dampOffset = V::Splat(kDampOffset);
  V av[kGroups], kv[kGroups], gv[kGroups], s1v[kGroups], s2v[kGroups];
  for (int k = 0; k < kGroups; ++k) {
    av[k] = V::Load(a + k * kW);
    kv[k] = V::Load(kB + k * kW);
    gv[k] = V::Load(g + k * kW);
    s1v[k] = V::Load(s1 + k * kW);
    s2v[k] = V::Load(s2 + k * kW);
  }
  int t = 0;
  for (; t + kW <= n; t += kW) {
    // Mix kW samples, one vector per line.
    V h[kLateLines];
    for (int i = 0; i < kLateLines; ++i) h[i] = V::Load(y[i] + t);
    Hadamard(h);
    (h[0] + h[4]).Store(lateL + t);
    (h[1] - h[2]).Store(lateR + t);
    for (V& x : h) x = x * norm;

    // Filter sample by sample: transposed, a vector holds kW lines of one sample.
    for (int k = 0; k < kGroups; ++k) Transpose(h + k * kW);
    for (int s = 0; s < kW; ++s)
      for (int k = 0; k < kGroups; ++k) {
        V& x = h[k * kW + s];
        x = LineFilter(x, cv, av[k], kv[k], gv[k], shelfOffset, dampOffset, s1v[k], s2v[k]);
      }
    for (int k = 0; k < kGroups; ++k) Transpose(h + k * kW);
    for (int i = 0; i < kLateLines; ++i) h[i].Store(w[i] + t);
  }
  for (int k = 0; k < kGroups; ++k) {
    s1v[k].Store(s1 + k * kW);
    s2v[k].Store(s2 + k * kW);
  }

  for (; t < n; ++t) {  // the last few samples, one at a time
    float h[kLateLines];
    for (int i = 0; i < kLateLines; ++i) h[i] = y[i][t];
    Hadamard(h);
    lateL[t] = h[0] + h[4];
    lateR[t] = h[1] - h[2];
    for (int i = 0; i < kLateLines; ++i)
      w[i][t] = LineFilter(h[i] * kLateNorm, c, a[i], kB[i], g[i], kShelfOffset, kDampOffset,
                             s1[i], s2[i]);
  }
}

template <class V>
static constexpr TLateKernels LateKernels() {
  return {{&DiffuseLineRun<V, false>, &DiffuseLineRun<V, true>}, &DiffuseLinesRun<V>,
          &MixAndFilterRun<V>};
}
