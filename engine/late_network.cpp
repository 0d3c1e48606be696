#include "engine/late_network.h"

#include <algorithm>
#include <cmath>

#include "engine/simd.h"

const float TLateNetwork::kDiffTime[kLines] = {0.020346f, 0.024421f, 0.031604f, 0.027333f,
                                                0.022904f, 0.029291f, 0.013458f, 0.019123f};
const float TLateNetwork::kLoopTime[kLines] = {0.153129f, 0.210389f, 0.127837f, 0.256891f,
                                                0.174713f, 0.192303f, 0.125f, 0.219991f};

namespace {
int Samples(float scaledRate, float t) {
  return static_cast<int>(std::floor(scaledRate * t + 0.5f));
}
float ScaledRate(float sampleRate, float size) { return (0.95f * size + 0.05f) * sampleRate; }
}  // namespace

bool TLateNetwork::Build(float sampleRate) {
  for (int i = 0; i < kLines; ++i) {
    const int n = std::max(1, Samples(sampleRate, kDiffTime[i]));
    const int m = Samples(sampleRate, kLoopTime[i]);
    // A smaller size can round the difference up by one sample.
    if (!diff[i].Allocate(n) || !delay[i].Allocate(std::max(1, m - n) + 1)) return false;
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
  }
  SetSize(sampleRate, 1.0f);
  for (int i = 0; i < kLines; ++i) s1[i] = s2[i] = 0.0f;
  return true;
}

void TLateNetwork::SetSize(float sampleRate, float size) {
  const float sr = ScaledRate(sampleRate, size);
  for (int i = 0; i < kLines; ++i) {
    const int n = std::max(1, Samples(sr, kDiffTime[i]));
    const int m = Samples(sr, kLoopTime[i]);
    diff[i].Resize(n);
    delay[i].Resize(std::max(1, m - n));
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
  }
}

void TLateNetwork::Clear() {
  // The filter states sit inside the feedback loop: left alone, what they hold
  // would start a new tail in the cleared lines.
  for (int i = 0; i < kLines; ++i) {
    delay[i].Clear();
    diff[i].Clear();
    s1[i] = s2[i] = 0.0f;
  }
}

void TLateNetwork::Design(double sampleRate, const TDecaySettings& s) {
  // Designed in double precision and rounded once: in float, near-lossless
  // settings (Freeze) lose the few bits that decide whether a loop gains.
  const double kPi = 3.14159265358979323846;
  const double rt = s.freeze ? 1.0e6 : s.decayTime / (0.95 * double(s.size) + 0.05);

  // A one-pole low-pass stays a low-pass only for coefficients up to 1; beyond
  // that (crossovers near the Nyquist frequency at low rates) it would boost
  // high frequencies and the shelf could make the loop gain exceed 1.
  c = static_cast<float>(std::min(2.0 * kPi * s.crossover / sampleRate, 1.0));

  const double f = (s.highDamping > 0.49 * sampleRate)
                       ? 2.0
                       : 1.0 - std::cos(2.0 * kPi * s.highDamping / sampleRate);
  for (int i = 0; i < kLines; ++i) {
    const double t = kLoopTime[i];
    const double gi = std::pow(0.001, t / rt);
    const double gb = std::pow(0.001, t / (rt * s.bassRatio));
    const double u = std::pow(0.001, t / (rt * 0.5)) / gi;
    const double v = (1.0 - u * u) / (2.0 * u * u * f);
    double ai = (std::sqrt(1.0 + 4.0 * v) - 1.0) / (2.0 * v);
    // v = 0 (a lossless design) or a degenerate f leaves the filter transparent.
    if (!(v > 0.0) || !std::isfinite(ai)) ai = 1.0;
    g[i] = static_cast<float>(gi);
    kB[i] = static_cast<float>(gb / gi - 1.0);
    a[i] = std::min(static_cast<float>(ai), 1.0f);
  }
}

void TLateNetwork::Process(const float* pdL, const float* pdR, float* lateL, float* lateR,
                           int n) {
  // Runs in pieces in which no cell wraps, so each cell is a straight array.
  while (n > 0) {
    int run = n;
    for (int i = 0; i < kLines; ++i) {
      run = std::min(run, delay[i].Size() - delay[i].Pos());
      run = std::min(run, diff[i].Size() - diff[i].Pos());
    }
    ProcessRun(pdL, pdR, lateL, lateR, run);
    for (int i = 0; i < kLines; ++i) {
      delay[i].Skip(run);
      diff[i].Skip(run);
    }
    pdL += run;
    pdR += run;
    lateL += run;
    lateR += run;
    n -= run;
  }
}

namespace {
inline F4 Gather(float* const* p, int t) { return F4::Set(p[0][t], p[1][t], p[2][t], p[3][t]); }

inline void Scatter(float* const* p, int t, F4 x) {
  _mm_store_ss(p[0] + t, x.v);
  _mm_store_ss(p[1] + t, Shuffle<1, 1, 1, 1>(x, x).v);
  _mm_store_ss(p[2] + t, Shuffle<2, 2, 2, 2>(x, x).v);
  _mm_store_ss(p[3] + t, Shuffle<3, 3, 3, 3>(x, x).v);
}

// Three butterfly stages of the 8-point Hadamard transform in Sylvester order:
// pairs (0,1) (2,3) (4,5) (6,7), then distance 2, then distance 4.
inline void Hadamard(F4& lo, F4& hi) {
  const F4 odd = SignMask(false, true, false, true);
  const F4 upper = SignMask(false, false, true, true);
  lo = Shuffle<0, 0, 2, 2>(lo, lo) + (Shuffle<1, 1, 3, 3>(lo, lo) ^ odd);
  hi = Shuffle<0, 0, 2, 2>(hi, hi) + (Shuffle<1, 1, 3, 3>(hi, hi) ^ odd);
  lo = Shuffle<0, 1, 0, 1>(lo, lo) + (Shuffle<2, 3, 2, 3>(lo, lo) ^ upper);
  hi = Shuffle<0, 1, 0, 1>(hi, hi) + (Shuffle<2, 3, 2, 3>(hi, hi) ^ upper);
  const F4 sum = lo + hi;
  hi = lo - hi;
  lo = sum;
}
}  // namespace

namespace {
// One sample of the network for all eight lines: delay outputs dlo/dhi and
// diffuser memories flo/fhi in; diffuser writes and delay writes out.
struct TLineState {
  F4 cf0, cf1, norm, cs, offset1, offset2, g0, g1, k0, k1, a0, a1;
  F4 s10, s11, s20, s21;

  void Step(F4 dlo, F4 dhi, F4 flo, F4 fhi, float pdL, float pdR, F4& vlo, F4& vhi, F4& wlo,
            F4& whi, float& lateL, float& lateR) {
    const F4 inputSign = SignMask(false, false, true, true);  // +, +, -, - per side
    // Delay outputs plus the signed pre-delayed input.
    const F4 u0 = dlo + (F4::Splat(0.3f * pdL) ^ inputSign);
    const F4 u1 = dhi + (F4::Splat(0.3f * pdR) ^ inputSign);

    // All-pass diffusers.
    vlo = u0 - cf0 * flo;
    vhi = u1 - cf1 * fhi;
    F4 h0 = cf0 * vlo + flo, h1 = cf1 * vhi + fhi;

    Hadamard(h0, h1);
    lateL = (h0 + h1).Lane0();                                               // h0 + h4
    lateR = (Shuffle<1, 1, 1, 1>(h0, h0) - Shuffle<2, 2, 2, 2>(h0, h0)).Lane0();  // h1 - h2

    Filter(h0 * norm, h1 * norm, wlo, whi);
  }

  // Shelf, damping and loss of lines 0-3 (x0) and 4-7 (x1): the delay writes.
  void Filter(F4 x0, F4 x1, F4& wlo, F4& whi) {
    s10 = s10 + cs * (x0 - s10) + offset1;
    s11 = s11 + cs * (x1 - s11) + offset1;
    s20 = s20 + a0 * (x0 + k0 * s10 - s20) + offset2;
    s21 = s21 + a1 * (x1 + k1 * s11 - s21) + offset2;
    wlo = g0 * s20;
    whi = g1 * s21;
  }
};

inline void Transpose(F4* x) { _MM_TRANSPOSE4_PS(x[0].v, x[1].v, x[2].v, x[3].v); }

}  // namespace

void TLateNetwork::ProcessRun(const float* pdL, const float* pdR, float* lateL, float* lateR,
                              int n) {
  float* dl[kLines];
  float* df[kLines];
  // Four samples of a cell can be read ahead of their writes only when the
  // cell is at least four samples long (always, except at tiny rates and sizes).
  bool fourAtOnce = true;
  for (int i = 0; i < kLines; ++i) {
    dl[i] = delay[i].Data() + delay[i].Pos();
    df[i] = diff[i].Data() + diff[i].Pos();
    fourAtOnce = fourAtOnce && delay[i].Size() >= 4 && diff[i].Size() >= 4;
  }
  TLineState st;
  st.cf0 = F4::Set(diff[0].coef, diff[1].coef, diff[2].coef, diff[3].coef);
  st.cf1 = F4::Set(diff[4].coef, diff[5].coef, diff[6].coef, diff[7].coef);
  st.norm = F4::Splat(kNorm);
  st.cs = F4::Splat(c);
  st.offset1 = F4::Splat(1e-10f);
  // The damping state gets a tiny offset too: without it a tail that has died
  // away leaves the whole loop running on denormal numbers when the shelf is off.
  st.offset2 = F4::Splat(1e-20f);
  st.g0 = F4::Load(g);
  st.g1 = F4::Load(g + 4);
  st.k0 = F4::Load(kB);
  st.k1 = F4::Load(kB + 4);
  st.a0 = F4::Load(a);
  st.a1 = F4::Load(a + 4);
  st.s10 = F4::Load(s1);
  st.s11 = F4::Load(s1 + 4);
  st.s20 = F4::Load(s2);
  st.s21 = F4::Load(s2 + 4);

  // Four samples at a time, one vector per line: everything up to the filters
  // is elementwise across the samples; only the filters' recursion goes sample
  // by sample, on the transposed vectors (four lines per vector).
  int t = 0;
  if (fourAtOnce) {
    const F4 third = F4::Splat(0.3f);
    for (; t + 4 <= n; t += 4) {
      const F4 inL = F4::Load(pdL + t) * third, inR = F4::Load(pdR + t) * third;
      F4 h[kLines];
      for (int i = 0; i < kLines; ++i) {
        // Delay output plus the signed input: + for lines 0, 1, 4, 5; - for 2, 3, 6, 7.
        const F4 in = i < 4 ? inL : inR;
        const F4 d = F4::Load(dl[i] + t);
        const F4 u = (i & 2) ? d - in : d + in;
        // All-pass diffuser.
        const F4 mem = F4::Load(df[i] + t), cf = F4::Splat(diff[i].coef);
        const F4 v = u - cf * mem;
        v.Store(df[i] + t);
        h[i] = cf * v + mem;
      }
      // Hadamard mix: butterflies at distance 1, 2, then 4.
      for (int span = 1; span < kLines; span *= 2)
        for (int i = 0; i < kLines; ++i)
          if (!(i & span)) {
            const F4 p = h[i], q = h[i + span];
            h[i] = p + q;
            h[i + span] = p - q;
          }
      (h[0] + h[4]).Store(lateL + t);
      (h[1] - h[2]).Store(lateR + t);
      for (auto& x : h) x = x * st.norm;

      // Shelf, damping and loss, sample by sample.
      Transpose(h);
      Transpose(h + 4);
      F4 w[kLines];
      for (int k = 0; k < 4; ++k) st.Filter(h[k], h[k + 4], w[k], w[k + 4]);
      Transpose(w);
      Transpose(w + 4);
      for (int i = 0; i < kLines; ++i) w[i].Store(dl[i] + t);
    }
  }
  for (; t < n; ++t) {
    F4 vlo, vhi, wlo, whi;
    st.Step(Gather(dl, t), Gather(dl + 4, t), Gather(df, t), Gather(df + 4, t), pdL[t], pdR[t],
            vlo, vhi, wlo, whi, lateL[t], lateR[t]);
    Scatter(df, t, vlo);
    Scatter(df + 4, t, vhi);
    Scatter(dl, t, wlo);
    Scatter(dl + 4, t, whi);
  }
  st.s10.Store(s1);
  st.s11.Store(s1 + 4);
  st.s20.Store(s2);
  st.s21.Store(s2 + 4);
}
