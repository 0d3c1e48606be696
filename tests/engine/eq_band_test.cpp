#include "engine/eq_band.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {
// Brings a band to its targets with silent blocks.
void Settle(TEqBand& b) {
  std::vector<float> l(64, 0.0f), r(64, 0.0f);
  for (int i = 0; i < 20 && b.dirty; ++i) b.Process(l.data(), r.data(), 64);
}

// Gain in dB at f, from the band's impulse response.
double ResponseDb(TEqBand& b, double f) {
  const int n = 16384;
  std::vector<float> l(n, 0.0f), r(n, 0.0f);
  l[0] = 1.0f;
  b.Process(l.data(), r.data(), n);
  std::complex<double> sum = 0.0;
  const double w = 2.0 * std::numbers::pi * f / b.sampleRate;
  for (int i = 0; i < n; ++i) sum += double(l[i]) * std::polar(1.0, -w * i);
  return 20.0 * std::log10(std::abs(sum));
}

TEqBand Band(float db, float hz, float rate = 44100.0f) {
  TEqBand b;
  b.Rebuild(rate);
  b.SetGainDb(db);
  b.SetFreq(hz);
  Settle(b);
  return b;
}
}  // namespace

// A bell of +12 dB at 1 kHz and its mirror image at -12 dB.
TEST(EqBand, PeakingResponse) {
  for (float db : {12.0f, -12.0f}) {
    const double s = db > 0 ? 1.0 : -1.0;
    {
      TEqBand b = Band(db, 1000.0f);
      EXPECT_EQ(b.mode, TEqBand::kFixed);
      EXPECT_NEAR(ResponseDb(b, 1000.0), s * 12.0, 0.01);
    }
    for (double f : {500.0, 2000.0}) {
      TEqBand b = Band(db, 1000.0f);
      EXPECT_NEAR(ResponseDb(b, f), s * 7.4, 0.15) << f;
    }
    for (double f : {20.0, 20000.0}) {
      TEqBand b = Band(db, 1000.0f);
      EXPECT_LT(std::fabs(ResponseDb(b, f)), 0.05) << f;
    }
  }
}

// Glides: gain at most doubles per block, frequency moves an octave per block.
TEST(EqBand, GlideSteps) {
  TEqBand b;
  b.Rebuild(44100.0f);
  std::vector<float> l(32, 0.0f), r(32, 0.0f);
  b.SetGainDb(15.0f);
  b.Process(l.data(), r.data(), 32);
  EXPECT_FLOAT_EQ(b.gain, 2.0f);
  EXPECT_EQ(b.mode, TEqBand::kRamp);
  b.Process(l.data(), r.data(), 32);
  EXPECT_FLOAT_EQ(b.gain, 4.0f);
  b.Process(l.data(), r.data(), 32);
  EXPECT_FLOAT_EQ(b.gain, b.targetGain);
  b.Process(l.data(), r.data(), 32);
  EXPECT_FALSE(b.dirty);
  EXPECT_EQ(b.mode, TEqBand::kFixed);

  b.SetFreq(100.0f);
  Settle(b);
  b.SetFreq(3000.0f);
  const float steps[] = {200, 400, 800, 1600, 3000};
  for (float f : steps) {
    b.Process(l.data(), r.data(), 32);
    EXPECT_FLOAT_EQ(b.freq, f);
  }
}

// Within a ramp block the coefficients arrive at the new design at the last sample.
TEST(EqBand, RampReachesTheDesignAtTheEndOfTheBlock) {
  TEqBand b;
  b.Rebuild(44100.0f);
  b.SetGainDb(3.0f);  // one step: gain goes straight to the target
  std::vector<float> l(100, 0.0f), r(100, 0.0f);
  b.Process(l.data(), r.data(), 100);
  TEqBand fixed = Band(3.0f, 1000.0f);
  EXPECT_NEAR(b.k1, fixed.k1, 1e-6);
  EXPECT_NEAR(b.k2, fixed.k2, 1e-6);
  EXPECT_NEAR(b.mix, fixed.mix, 1e-6);
}

TEST(EqBand, FrequencyChangeAtZeroDbStaysInBypass) {
  TEqBand b;
  b.Rebuild(44100.0f);
  std::vector<float> l(16, 0.25f), r(16, 0.5f);
  b.SetFreq(250.0f);
  b.Process(l.data(), r.data(), 16);  // an octave down in one block
  EXPECT_EQ(b.mode, TEqBand::kBypass);
  EXPECT_FLOAT_EQ(b.freq, 500.0f);
  EXPECT_FLOAT_EQ(b.k1, -std::cos(2.0f * 500.0f * 3.14159265f / 44100.0f));
  for (float x : l) EXPECT_EQ(x, 0.25f);  // bypass leaves the signal untouched
}

TEST(EqBand, SettingTheSameValueAgainRestartsNothing) {
  TEqBand b = Band(6.0f, 500.0f);
  ASSERT_FALSE(b.dirty);
  b.SetGainDb(6.0f);
  b.SetFreq(500.0f);
  EXPECT_FALSE(b.dirty);
}

TEST(EqBand, BackToZeroDbEndsInBypassWithClearedState) {
  TEqBand b = Band(6.0f, 500.0f);
  std::vector<float> l(64, 0.3f), r(64, -0.3f);
  b.Process(l.data(), r.data(), 64);
  b.SetGainDb(0.0f);
  Settle(b);
  EXPECT_EQ(b.mode, TEqBand::kBypass);
  EXPECT_EQ(b.s1[0], 0.0f);
  EXPECT_EQ(b.s2[1], 0.0f);
}

// The centre stays in Hz across a rate change; above Nyquist it is held below it.
TEST(EqBand, SampleRateChangeKeepsTheCentreFrequency) {
  TEqBand b = Band(12.0f, 3000.0f, 44100.0f);
  b.Rebuild(96000.0f);
  EXPECT_FLOAT_EQ(b.freq, 3000.0f);
  EXPECT_NEAR(ResponseDb(b, 3000.0), 12.0, 0.02);

  TEqBand low = Band(12.0f, 10000.0f, 8000.0f);
  EXPECT_NEAR(low.k1, -std::cos(2.0 * std::numbers::pi * 0.49), 1e-5);
}

// The two-channel filter loop computes, per channel, exactly the lattice steps
// taken one sample at a time, in fixed and in ramp mode.
TEST(EqBand, FilterMatchesTheLatticeSteps) {
  TEqBand b;
  b.Rebuild(48000.0f);
  b.SetGainDb(-9.0f);
  b.SetFreq(700.0f);
  const int n = 300;
  std::vector<float> in(2 * n);
  for (int i = 0; i < 2 * n; ++i) in[i] = std::sin(0.05f * i) * (i % 7 == 0 ? 1.0f : 0.3f);
  float s1[2] = {0, 0}, s2[2] = {0, 0};
  for (int block = 0; block < 8; ++block) {
    std::vector<float> l(in.begin(), in.begin() + n), r(in.begin() + n, in.end());
    const float k1 = b.k1, k2 = b.k2, mix = b.mix;
    b.Process(l.data(), r.data(), n);  // first blocks glide (ramp), later ones are fixed
    if (b.mode == TEqBand::kBypass) continue;
    for (int ch = 0; ch < 2; ++ch) {
      const std::vector<float>& x = ch == 0 ? std::vector<float>(in.begin(), in.begin() + n)
                                            : std::vector<float>(in.begin() + n, in.end());
      const std::vector<float>& y = ch == 0 ? l : r;
      for (int i = 0; i < n; ++i) {
        float c1 = k1, c2 = k2, m = mix;
        if (b.mode == TEqBand::kRamp) {
          c1 = k1 + float(i + 1) * b.dK1;
          c2 = k2 + float(i + 1) * b.dK2;
          m = mix + float(i + 1) * b.dMix;
        }
        const float v = x[i] - c2 * s2[ch];
        const float ap = c2 * v + s2[ch];
        ASSERT_EQ(y[i], x[i] - m * (ap - x[i])) << block << " " << ch << " " << i;
        const float w = v - c1 * s1[ch];
        s2[ch] = c1 * w + s1[ch];
        s1[ch] = w + 1e-20f;
      }
    }
  }
  EXPECT_EQ(b.mode, TEqBand::kFixed);
}
