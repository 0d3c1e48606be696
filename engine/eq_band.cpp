#include "engine/eq_band.h"

#include <cmath>
#include <numbers>

#include "engine/simd.h"

namespace {
// One glide step: towards the target by at most a factor of two.
float Glide(float current, float target) {
  if (target > 2.0f * current) return current * 2.0f;
  if (target < 0.5f * current) return current * 0.5f;
  return target;
}
}  // namespace

void TEqBand::SetGainDb(float level) {
  if (level == gainDb) return;
  gainDb = level;
  targetGain = std::pow(10.0f, level * 0.05f);
  dirty = true;
}

void TEqBand::SetFreq(float hz) {
  if (hz == targetFreq) return;
  targetFreq = hz;
  dirty = true;
}

void TEqBand::Update(int n) {
  if (!dirty) return;
  const bool gainMoved = targetGain != gain;
  if (gainMoved) gain = Glide(gain, targetGain);
  if (targetFreq != freq) {
    freq = Glide(freq, targetFreq);
  } else if (!gainMoved) {
    dirty = false;
    if (std::fabs(gain - 1.0f) < 0.001f) {
      mode = kBypass;
      ClearStates();
    } else {
      mode = kFixed;
    }
    return;
  }
  if (mode == kBypass && gain == 1.0f) {
    Design(gain, freq, 0);
  } else {
    mode = kRamp;
    Design(gain, freq, n);
  }
}

void TEqBand::Design(float a, float f, int rampLength) {
  // A centre above the Nyquist frequency (high bands at low rates) would fold
  // back onto some other frequency; keep the design just below it.
  const double limited = std::fmin(double(f), 0.49 * double(sampleRate));
  const float w = 2.0f * static_cast<float>(limited * std::numbers::pi / sampleRate);
  const float t = w / std::sqrt(a);
  const float newK1 = -std::cos(w);
  const float newK2 = (1.0f - t) / (1.0f + t);
  const float newMix = (a - 1.0f) / 2.0f;
  if (rampLength <= 0) {
    dK1 = dK2 = dMix = 0.0f;
    k1 = newK1;
    k2 = newK2;
    mix = newMix;
    return;
  }
  const float n = static_cast<float>(rampLength);
  dK1 = (newK1 - k1) / n + 1e-30f;
  dK2 = (newK2 - k2) / n + 1e-30f;
  dMix = (newMix - mix) / n + 1e-30f;
}

void TEqBand::Run(float* left, float* right, int n) {
  Update(n);
  if (mode == kBypass || n <= 0) return;
  Filter(left, right, n);
  if (mode == kRamp) {
    const float fn = static_cast<float>(n);
    k1 += fn * dK1;
    k2 += fn * dK2;
    mix += fn * dMix;
  }
}

void TEqBand::Filter(float* left, float* right, int n) {
  // Both channels at once, left in lane 0 and right in lane 1: the same
  // arithmetic per channel, half the instructions.
  F4 a1 = F4::Set(s1[0], s1[1], 0.0f, 0.0f);
  F4 a2 = F4::Set(s2[0], s2[1], 0.0f, 0.0f);
  F4 c1 = F4::Splat(k1), c2 = F4::Splat(k2), m = F4::Splat(mix);
  const F4 offset = F4::Splat(1e-20f);
  const bool ramp = mode == kRamp;
  for (int i = 0; i < n; ++i) {
    if (ramp) {
      const float steps = static_cast<float>(i + 1);
      c1 = F4::Splat(k1 + steps * dK1);
      c2 = F4::Splat(k2 + steps * dK2);
      m = F4::Splat(mix + steps * dMix);
    }
    const F4 x = _mm_unpacklo_ps(_mm_load_ss(left + i), _mm_load_ss(right + i));
    const F4 v = x - c2 * a2;
    const F4 ap = c2 * v + a2;
    const F4 y = x - m * (ap - x);
    const F4 w = v - c1 * a1;
    a2 = c1 * w + a1;
    a1 = w + offset;
    _mm_store_ss(left + i, y.v);
    _mm_store_ss(right + i, Shuffle<1, 1, 1, 1>(y, y).v);
  }
  s1[0] = a1.Lane0();
  s1[1] = Shuffle<1, 1, 1, 1>(a1, a1).Lane0();
  s2[0] = a2.Lane0();
  s2[1] = Shuffle<1, 1, 1, 1>(a2, a2).Lane0();
}

void TEqBand::Rebuild(float rate) {
  sampleRate = rate;
  ClearStates();
  Design(gain, freq, 0);
}

void TEqBand::ClearStates() {
  s1[0] = s1[1] = 0.0f;
  s2[0] = s2[1] = 0.0f;
}
