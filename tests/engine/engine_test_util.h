#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/default_settings.h"
#include "engine/reverb.h"


inline void ApplyProgram(TReverb& r, const float* values = kDefaultSettings) {
  for (int i = 0; i < kNumParams; ++i) r.SetParameter(i, values[i]);
}

struct Stereo {
  std::vector<float> l, r;
  explicit Stereo(size_t n = 0) : l(n, 0.0f), r(n, 0.0f) {}
  size_t size() const { return l.size(); }
};

// Runs `in` through the engine in blocks of `block` frames.
inline Stereo RunBlocks(TReverb& rev, const Stereo& in, int block) {
  Stereo out(in.size());
  for (size_t done = 0; done < in.size(); done += block) {
    const int n = static_cast<int>(std::min<size_t>(block, in.size() - done));
    const float* ins[2] = {in.l.data() + done, in.r.data() + done};
    float* outs[2] = {out.l.data() + done, out.r.data() + done};
    rev.Process(ins, outs, n);
  }
  return out;
}

// Deterministic white noise in -1..1.
struct Noise {
  uint32_t state = 12345;
  float operator()() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
  }
};

inline Stereo NoiseBurst(size_t length, size_t burst, float amplitude = 0.5f) {
  Stereo s(length);
  Noise n;
  for (size_t i = 0; i < burst && i < length; ++i) {
    s.l[i] = amplitude * n();
    s.r[i] = amplitude * n();
  }
  return s;
}

inline double Rms(const std::vector<float>& x, size_t from, size_t to) {
  double e = 0.0;
  for (size_t i = from; i < to; ++i) e += double(x[i]) * x[i];
  return std::sqrt(e / double(to - from));
}

inline double Db(double ratio) { return 20.0 * std::log10(ratio); }
