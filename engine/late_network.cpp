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
  for (int i = 0; i < kLines; ++i) {
    delay[i].Clear();
    diff[i].Clear();
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

void TLateNetwork::ProcessRun(const float* pdL, const float* pdR, float* lateL, float* lateR,
                              int n) {
  float* dl[kLines];
  float* df[kLines];
  for (int i = 0; i < kLines; ++i) {
    dl[i] = delay[i].Data() + delay[i].Pos();
    df[i] = diff[i].Data() + diff[i].Pos();
  }
  const F4 cf0 = F4::Set(diff[0].coef, diff[1].coef, diff[2].coef, diff[3].coef);
  const F4 cf1 = F4::Set(diff[4].coef, diff[5].coef, diff[6].coef, diff[7].coef);
  const F4 inputSign = SignMask(false, false, true, true);  // +, +, -, - per side
  const F4 norm = F4::Splat(kNorm), cs = F4::Splat(c);
  const F4 offset1 = F4::Splat(1e-10f);
  // The damping state gets a tiny offset too: without it a tail that has died
  // away leaves the whole loop running on denormal numbers when the shelf is off.
  const F4 offset2 = F4::Splat(1e-20f);
  const F4 g0 = F4::Load(g), g1 = F4::Load(g + 4);
  const F4 k0 = F4::Load(kB), k1 = F4::Load(kB + 4);
  const F4 a0 = F4::Load(a), a1 = F4::Load(a + 4);
  F4 s10 = F4::Load(s1), s11 = F4::Load(s1 + 4);
  F4 s20 = F4::Load(s2), s21 = F4::Load(s2 + 4);

  for (int t = 0; t < n; ++t) {
    // Delay outputs plus the signed pre-delayed input.
    const F4 u0 = Gather(dl, t) + (F4::Splat(0.3f * pdL[t]) ^ inputSign);
    const F4 u1 = Gather(dl + 4, t) + (F4::Splat(0.3f * pdR[t]) ^ inputSign);

    // All-pass diffusers.
    const F4 d0 = Gather(df, t), d1 = Gather(df + 4, t);
    const F4 v0 = u0 - cf0 * d0, v1 = u1 - cf1 * d1;
    Scatter(df, t, v0);
    Scatter(df + 4, t, v1);
    F4 h0 = cf0 * v0 + d0, h1 = cf1 * v1 + d1;

    Hadamard(h0, h1);
    lateL[t] = (h0 + h1).Lane0();                                       // h0 + h4
    lateR[t] = (Shuffle<1, 1, 1, 1>(h0, h0) - Shuffle<2, 2, 2, 2>(h0, h0)).Lane0();  // h1 - h2

    // Shelf, damping and loss, then back into the delays.
    const F4 x0 = h0 * norm, x1 = h1 * norm;
    s10 = s10 + cs * (x0 - s10) + offset1;
    s11 = s11 + cs * (x1 - s11) + offset1;
    s20 = s20 + a0 * (x0 + k0 * s10 - s20) + offset2;
    s21 = s21 + a1 * (x1 + k1 * s11 - s21) + offset2;
    Scatter(dl, t, g0 * s20);
    Scatter(dl + 4, t, g1 * s21);
  }
  s10.Store(s1);
  s11.Store(s1 + 4);
  s20.Store(s2);
  s21.Store(s2 + 4);
}
