#include "engine/late_network.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/late_kernels.h"
#include "engine/simd.h"
#include "engine/units.h"
#include "engine/wide_kernels.h"

namespace {
constexpr TLateKernels kBaselineKernels = LateKernels<F4>();
}  // namespace

const float TLateNetwork::kDiffTime[kLateLines] = {0.020346f, 0.024421f, 0.031604f,
                                                    0.027333f, 0.022904f, 0.029291f,
                                                    0.013458f, 0.019123f};
const float TLateNetwork::kLoopTime[kLateLines] = {0.153129f, 0.210389f, 0.127837f,
                                                    0.256891f, 0.174713f, 0.192303f,
                                                    0.125f,    0.219991f};

TLateNetwork::TLateNetwork() { UseWideVectors(true); }

void TLateNetwork::UseWideVectors(bool on) {
  wide = on && ::WideVectorsAvailable();
  kernels = &kBaselineKernels;
#ifdef SORAVEL_WIDE_VECTORS
  if (wide) kernels = &kWideLateKernels;
#endif
}

bool TLateNetwork::Build(float sampleRate) {
  for (int i = 0; i < kLateLines; ++i) {
    const int n = std::max(1, Samples(sampleRate, kDiffTime[i]));
    const int m = Samples(sampleRate, kLoopTime[i]);
    // A smaller size can round the difference up by one sample.
    if (!diff[i].Allocate(n) || !delay[i].Allocate(std::max(1, m - n) + 1)) return false;
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
  }
  SetSize(sampleRate, 1.0f);
  for (int i = 0; i < kLateLines; ++i) s1[i] = s2[i] = 0.0f;
  return true;
}

void TLateNetwork::SetSize(float sampleRate, float size) {
  const float sr = ScaledRate(sampleRate, size);
  for (int i = 0; i < kLateLines; ++i) {
    const int n = std::max(1, Samples(sr, kDiffTime[i]));
    const int m = Samples(sr, kLoopTime[i]);
    diff[i].Resize(n);
    delay[i].Resize(std::max(1, m - n));
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
  }
  // A chunk no longer than the shortest delay reads nothing it writes itself.
  chunk = kMaxChunk;
  for (const TDelay& d : delay) chunk = std::min(chunk, d.Size());
}

void TLateNetwork::Clear() {
  // The filter states sit inside the feedback loop: left alone, what they hold
  // would start a new tail in the cleared lines.
  for (int i = 0; i < kLateLines; ++i) {
    delay[i].Clear();
    diff[i].Clear();
    s1[i] = s2[i] = 0.0f;
  }
}

void TLateNetwork::Design(double sampleRate, const TDecaySettings& s) {
  // Designed in double precision and rounded once: in float, near-lossless
  // settings (Freeze) lose the few bits that decide whether a loop gains.
  const double rt = s.freeze ? 1.0e6 : s.decayTime / SizeScale(double(s.size));

  // A one-pole low-pass stays a low-pass only for coefficients up to 1; beyond
  // that (crossovers near the Nyquist frequency at low rates) it would boost
  // high frequencies and the shelf could make the loop gain exceed 1.
  c = static_cast<float>(std::min(2.0 * std::numbers::pi * s.crossover / sampleRate, 1.0));

  const double f = (s.highDamping > 0.49 * sampleRate)
                       ? 2.0
                       : 1.0 - std::cos(2.0 * std::numbers::pi * s.highDamping / sampleRate);
  for (int i = 0; i < kLateLines; ++i) {
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
  for (int done = 0; done < n;) {
    const int len = std::min(chunk, n - done);
    ProcessChunk(pdL + done, pdR + done, lateL + done, lateR + done, len);
    done += len;
  }
}

void TLateNetwork::ProcessChunk(const float* pdL, const float* pdR, float* lateL, float* lateR,
                                int n) {
  // Where each line stands, once for the chunk. A delay is read and then
  // written at the same slots: its run serves both.
  float* d[kLateLines];
  TRingRun m[kLateLines];
  float coef[kLateLines];
  bool wraps = false;
  for (int i = 0; i < kLateLines; ++i) {
    const int p = delay[i].Pos(), q = diff[i].Pos(), size = diff[i].Size();
    d[i] = delay[i].Data() + p;
    wraps |= p + n > delay[i].Size();
    m[i] = {diff[i].Data() + q, diff[i].Data(), size - q, size};
    coef[i] = diff[i].coef;
  }
  if (wraps) {  // a delay wraps within the chunk: line by line, in pieces
    ProcessWrappingChunk(pdL, pdR, lateL, lateR, n);
    return;
  }
  kernels->diffuseLines(d, m, coef, pdL, pdR, run[0], n);
  kernels->mixAndFilter(run[0], d, lateL, lateR, c, a, kB, g, s1, s2, n);
  for (int i = 0; i < kLateLines; ++i) {
    delay[i].Skip(n);
    diff[i].Skip(n);
  }
}

void TLateNetwork::ProcessWrappingChunk(const float* pdL, const float* pdR, float* lateL,
                                        float* lateR, int n) {
  // Each line's delay output plus its input, through its diffuser: lines 0-3
  // take the left input, 4-7 the right, added to lines 0, 1, 4, 5 and
  // subtracted from 2, 3, 6, 7.
  for (int i = 0; i < kLateLines; ++i) Gather(i, i < 4 ? pdL : pdR, n);

  // Mix, filter and write back into the delays, in pieces in which no delay wraps.
  float* w[kLateLines];
  for (int done = 0; done < n;) {
    int len = n - done;
    for (const TDelay& dl : delay) len = std::min(len, dl.Size() - dl.Pos());
    for (int i = 0; i < kLateLines; ++i) w[i] = delay[i].Data() + delay[i].Pos();
    kernels->mixAndFilter(run[0] + done, w, lateL + done, lateR + done, c, a, kB, g, s1, s2, len);
    for (TDelay& dl : delay) dl.Skip(len);
    done += len;
  }
}

void TLateNetwork::Gather(int line, const float* pd, int n) {
  const TDelay& d = delay[line];
  TDiff& f = diff[line];
  const auto diffuse = kernels->diffuse[line & 2 ? 1 : 0];
  // The delay is only read here; it moves on when it is written.
  for (int done = 0, p = d.Pos(); done < n;) {
    const int len = std::min({n - done, d.Size() - p, f.Size() - f.Pos()});  // no wrap
    diffuse(d.Data() + p, pd + done, f.Data() + f.Pos(), f.coef, run[line] + done, len);
    f.Skip(len);
    p += len;
    if (p == d.Size()) p = 0;
    done += len;
  }
}
