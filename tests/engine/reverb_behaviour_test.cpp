// Measured behaviour of the whole engine: decay times, freeze, clearing,
// robustness against bad input, stability at every rate, denormals.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>

#include "engine/reverb.h"
#include "tests/engine/engine_test_util.h"

namespace {

// A program for measuring the late tail alone: no dry, no early reflections,
// Bass Ratio 1, High Damping 20 kHz, flat equaliser.
void TailOnly(float* p, float decaySeconds, float size) {
  std::copy_n(kDefaultSettings, kNumParams, p);
  p[kDryLevel] = -200;
  p[kERLevel] = -200;
  p[kLateLevel] = 0;
  p[kDecayTime] = std::log10(decaySeconds);
  p[kSize] = size;
  p[kBassRatio] = 1;
  p[kHighDamping] = 20000;
}

// Octave band around fc: two cascaded band-pass biquads.
std::vector<double> OctaveBand(const std::vector<float>& x, double fc, double rate) {
  const double w = 2.0 * std::numbers::pi * fc / rate;
  const double alpha = std::sin(w) / (2.0 * std::sqrt(2.0));
  const double a0 = 1.0 + alpha;
  const double b0 = alpha / a0, b2 = -alpha / a0, a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
  std::vector<double> y(x.begin(), x.end());
  for (int pass = 0; pass < 2; ++pass) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : y) {
      const double out = b0 * v + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = v;
      y2 = y1;
      y1 = out;
      v = out;
    }
  }
  return y;
}

// T30 from the Schroeder energy decay curve: a line through -5 and -35 dB, times two.
double T30(const std::vector<double>& h, double rate) {
  std::vector<double> edc(h.size());
  double sum = 0.0;
  for (size_t i = h.size(); i-- > 0;) edc[i] = (sum += h[i] * h[i]);
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int count = 0;
  for (size_t i = 0; i < h.size(); ++i) {
    const double db = 10.0 * std::log10(edc[i] / edc[0]);
    if (db > -5.0 || db < -35.0) continue;
    const double t = double(i) / rate;
    sx += t;
    sy += db;
    sxx += t * t;
    sxy += t * db;
    ++count;
  }
  const double slope = (count * sxy - sx * sy) / (count * sxx - sx * sx);
  return -60.0 / slope;
}

}  // namespace

// The reverberation time in the 500 Hz and 1 kHz octaves follows Decay Time,
// whatever the size.
TEST(ReverbDecay, ReverberationTimeFollowsDecayTime) {
  const float rate = 44100.0f;
  for (float size : {100.0f, 50.0f}) {
    TReverb r;
    float p[kNumParams];
    TailOnly(p, 2.0f, size);
    ApplyProgram(r, p);
    RunBlocks(r, Stereo(512), 512);
    Stereo in(static_cast<size_t>(rate * 4.5f));
    in.l[0] = 1.0f;
    in.r[0] = 1.0f;
    const Stereo out = RunBlocks(r, in, 512);
    for (double fc : {500.0, 1000.0}) {
      const double t30 = T30(OctaveBand(out.l, fc, rate), rate);
      EXPECT_NEAR(t30, 2.0, 0.2) << "size " << size << " band " << fc;
    }
  }
}

// Freeze holds a tail's level for seconds, at any rate.
TEST(ReverbDecay, FreezeHoldsTheTail) {
  for (float rate : {44100.0f, 96000.0f}) {
    TReverb r;
    ASSERT_TRUE(r.SetSampleRate(rate));
    float p[kNumParams];
    TailOnly(p, 1.5f, 50.0f);
    p[kDecayFreeze] = 1;
    p[kHighDamping] = 10000;
    ApplyProgram(r, p);
    const size_t n = static_cast<size_t>(rate * 6.0f);
    const Stereo out = RunBlocks(r, NoiseBurst(n, static_cast<size_t>(rate * 0.2f)), 1024);
    const size_t second = static_cast<size_t>(rate);
    const double early = Rms(out.l, second, 2 * second) + Rms(out.r, second, 2 * second);
    const double late = Rms(out.l, 5 * second, 6 * second) + Rms(out.r, 5 * second, 6 * second);
    EXPECT_LT(std::fabs(Db(late / early)), 1.0) << rate;
  }
}

// A Size change cuts the tail off at once; a Decay Time change does not.
TEST(ReverbDecay, SizeChangeClearsTheTailDecayChangeDoesNot) {
  for (bool changeSize : {true, false}) {
    TReverb r;
    float p[kNumParams];
    TailOnly(p, 3.0f, 80.0f);
    ApplyProgram(r, p);
    const Stereo before = RunBlocks(r, NoiseBurst(44100, 11025), 512);
    const double level = Rms(before.l, 33075, 44100);
    ASSERT_GT(level, 1e-3);
    if (changeSize)
      r.SetParameter(kSize, 60.0f);
    else
      r.SetParameter(kDecayTime, std::log10(2.5f));
    const Stereo after = RunBlocks(r, Stereo(4410), 512);
    const double now = Rms(after.l, 0, 4410);
    if (changeSize)
      EXPECT_LT(now, level * 1e-2);  // only what the filter states still held
    else
      EXPECT_GT(now, level * 0.3);
  }
}

// One NaN, infinity or absurd sample must not silence or corrupt the reverb for good.
TEST(ReverbRobustness, BadInputSamplesDoNotPoisonTheReverb) {
  for (float bad : {NAN, INFINITY, -INFINITY}) {
    TReverb clean, dirty;
    ApplyProgram(clean);
    ApplyProgram(dirty);
    Stereo in = NoiseBurst(44100, 20000);
    const Stereo expected = RunBlocks(clean, in, 512);
    in.l[5000] = bad;
    in.r[7000] = bad;
    in.l[5000] = bad;
    Stereo reference = in;
    reference.l[5000] = 0.0f;
    reference.r[7000] = 0.0f;
    TReverb zeroed;
    ApplyProgram(zeroed);
    const Stereo want = RunBlocks(zeroed, reference, 512);
    const Stereo got = RunBlocks(dirty, in, 512);
    EXPECT_EQ(got.l, want.l) << bad;  // treated as silence
    EXPECT_EQ(got.r, want.r) << bad;
    EXPECT_GT(Rms(got.l, 30000, 44100), 1e-4);
    (void)expected;
  }

  TReverb r;
  ApplyProgram(r);
  Stereo in(44100 * 12);
  in.l[100] = 3.4e38f;  // limited on the way in, then decays like any impulse
  Noise noise;
  for (size_t i = 44100 * 10; i < in.size(); ++i) in.l[i] = 0.5f * noise();
  const Stereo out = RunBlocks(r, in, 512);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_TRUE(std::isfinite(out.l[i]) && std::isfinite(out.r[i])) << i;
  const double last = Rms(out.l, 44100 * 11, 44100 * 12);
  EXPECT_GT(last, 0.05);  // still reverberating the new input normally
  EXPECT_LT(last, 5.0);
}

// Every setting at every rate from 8 kHz to 384 kHz keeps the output bounded.
TEST(ReverbRobustness, ExtremeSettingsStayBoundedAtEveryRate) {
  struct Extreme {
    float bass, cross, damping, decay, size;
    bool freeze;
  };
  const Extreme cases[] = {
      {3, 2000, 20000, 2, 100, true}, {0, 50, 500, 2, 0, true},   {3, 2000, 500, 2, 0, false},
      {3, 50, 20000, 2, 100, false},  {1, 2000, 20000, 2, 0, true},
  };
  for (float rate : {8000.0f, 22050.0f, 44100.0f, 192000.0f, 384000.0f}) {
    for (const Extreme& e : cases) {
      TReverb r;
      ASSERT_TRUE(r.SetSampleRate(rate));
      float p[kNumParams];
      std::copy_n(kDefaultSettings, kNumParams, p);
      p[kBassRatio] = e.bass;
      p[kCrossover] = e.cross;
      p[kHighDamping] = e.damping;
      p[kDecayTime] = std::log10(e.decay);
      p[kSize] = e.size;
      p[kDecayFreeze] = e.freeze;
      p[kEqLowLevel] = 15;
      p[kEqHiLevel] = 15;
      p[kEqHiFreq] = 10000;
      ApplyProgram(r, p);
      const size_t n = static_cast<size_t>(rate * 2.0f);
      const Stereo out = RunBlocks(r, NoiseBurst(n, static_cast<size_t>(rate * 0.05f)), 1024);
      double peak = 0.0;
      for (size_t i = 0; i < n; ++i) peak = std::max({peak, double(std::fabs(out.l[i])), double(std::fabs(out.r[i]))});
      ASSERT_LT(peak, 100.0) << rate << " bass " << e.bass << " cross " << e.cross;
      // No growth once the burst is over.
      const size_t s = static_cast<size_t>(rate * 0.5f);
      EXPECT_LT(Rms(out.l, 3 * s, 4 * s), Rms(out.l, s, 2 * s) * 1.12 + 1e-9) << rate;
    }
  }
}

// Once a tail has died away nothing recursive runs on denormal numbers, at any bass ratio.
TEST(ReverbRobustness, NoDenormalsAfterTheTailDies) {
  auto denormal = [](float x) { return x != 0.0f && std::fabs(x) < FLT_MIN; };
  for (float bass : {1.0f, 0.0f, 2.0f}) {
    TReverb r;
    float p[kNumParams];
    std::copy_n(kDefaultSettings, kNumParams, p);
    p[kDecayTime] = -1;  // 0.1 s
    p[kBassRatio] = bass;
    p[kEqLowLevel] = 6;
    ApplyProgram(r, p);
    RunBlocks(r, NoiseBurst(44100 * 4, 4410), 512);
    const TLateNetwork& late = r.Late();
    for (int i = 0; i < 8; ++i) {
      EXPECT_FALSE(denormal(late.s1[i]) || denormal(late.s2[i])) << i;
      const TDelay& d = late.delay[i];
      const TDiff& f = late.diff[i];
      for (int k = 0; k < d.Size(); ++k) ASSERT_FALSE(denormal(d.Data()[k])) << bass;
      for (int k = 0; k < f.Size(); ++k) ASSERT_FALSE(denormal(f.Data()[k])) << bass;
    }
    for (int b = 0; b < 2; ++b)
      for (int ch = 0; ch < 2; ++ch) EXPECT_FALSE(denormal(r.Band(b).s1[ch]) || denormal(r.Band(b).s2[ch]));
    for (int m = 0; m < 4; ++m) EXPECT_FALSE(denormal(r.Meter(m)));
  }
}
