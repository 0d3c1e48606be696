#include "engine/late_network.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "engine/wide_kernels.h"
#include "tests/engine/sample_steps.h"

namespace {
TDecaySettings Settings(float decay, float size, float bass, float cross, float damping,
                        bool freeze = false) {
  TDecaySettings s;
  s.decayTime = decay;
  s.size = size;
  s.bassRatio = bass;
  s.crossover = cross;
  s.highDamping = damping;
  s.freeze = freeze;
  return s;
}

// Largest gain of one pass round line i (shelf, damping, loss) over frequency.
double MaxLoopGain(const TLateNetwork& net, int i) {
  using C = std::complex<double>;
  double worst = 0.0;
  for (int k = 0; k <= 2000; ++k) {
    const double w = std::numbers::pi * k / 2000.0;
    const C z1 = std::polar(1.0, -w);
    const C h1 = double(net.c) / (1.0 - (1.0 - double(net.c)) * z1);
    const C h2 = double(net.a[i]) / (1.0 - (1.0 - double(net.a[i])) * z1);
    worst = std::max(worst, std::abs(double(net.g[i]) * h2 * (1.0 + double(net.kB[i]) * h1)));
  }
  return worst;
}
}  // namespace

TEST(LateNetwork, LineLengthsAtFullSize) {
  TLateNetwork net;
  ASSERT_TRUE(net.Build(44100.0f));
  const int diff[8] = {897, 1077, 1394, 1205, 1010, 1292, 593, 843};
  const int delay[8] = {5856, 8201, 4244, 10124, 6695, 7189, 4920, 8859};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(net.diff[i].Size(), diff[i]) << i;
    EXPECT_EQ(net.delay[i].Size(), delay[i]) << i;
    EXPECT_FLOAT_EQ(net.diff[i].coef, i % 2 ? -0.6f : 0.6f);
  }
  // A smaller size changes lengths within the storage reserved at full size.
  net.SetSize(44100.0f, 0.5f);
  EXPECT_EQ(net.diff[6].Size(), 312);  // floor(0.525 * 44100 * 0.013458 + 0.5)
  for (int i = 0; i < 8; ++i) EXPECT_LE(net.delay[i].Size(), net.delay[i].Capacity());
}

TEST(LateNetwork, CoefficientsOfLineSix) {
  TLateNetwork net;
  ASSERT_TRUE(net.Build(44100.0f));
  net.Design(44100.0, Settings(1.0f, 1.0f, 2.0f, 200.0f, 5000.0f));
  EXPECT_NEAR(net.g[6], 0.4217, 1e-4);
  EXPECT_NEAR(net.a[6], 0.2760, 1e-4);
  EXPECT_NEAR(net.kB[6], 0.5399, 1e-4);
  EXPECT_NEAR(net.c, 0.02850, 1e-5);
  // Bass Ratio 2: the low band's gain is the square root of the loss gain.
  for (int i = 0; i < 8; ++i) EXPECT_NEAR((1.0 + net.kB[i]) * net.g[i], std::sqrt(net.g[i]), 1e-6);

  net.Design(44100.0, Settings(1.0f, 1.0f, 1.0f, 200.0f, 5000.0f));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(net.kB[i], 0.0f);
  net.Design(44100.0, Settings(1.0f, 1.0f, 0.0f, 200.0f, 5000.0f));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(net.kB[i], -1.0f);
}

TEST(LateNetwork, DampingAtOrAboveTheLimitUsesTheNyquistShape) {
  TLateNetwork a, b;
  a.Design(44100.0, Settings(2.0f, 1.0f, 1.0f, 200.0f, 21610.0f));   // just above 0.49 * 44100
  b.Design(44100.0, Settings(2.0f, 1.0f, 1.0f, 200.0f, 22000.0f));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a.a[i], b.a[i]);
}

// Freeze: nearly lossless, transparent damping, no shelf; Bass Ratio 0 still drains the lows.
TEST(LateNetwork, FreezeDesign) {
  TLateNetwork net;
  for (float rate : {44100.0f, 96000.0f}) {
    net.Design(rate, Settings(1.5f, 0.5f, 1.0f, 200.0f, 10000.0f, true));
    for (int i = 0; i < 8; ++i) {
      EXPECT_GT(net.g[i], 1.0f - 1e-5f);
      EXPECT_LE(net.g[i], 1.0f);
      EXPECT_GT(net.a[i], 0.999f);
      EXPECT_LE(net.a[i], 1.0f);
      EXPECT_EQ(net.kB[i], 0.0f);
    }
    net.Design(rate, Settings(1.5f, 0.5f, 3.0f, 200.0f, 10000.0f, true));
    for (int i = 0; i < 8; ++i) EXPECT_LT(std::fabs(net.kB[i]), 1e-5f);
    net.Design(rate, Settings(1.5f, 0.5f, 0.0f, 200.0f, 10000.0f, true));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(net.kB[i], -1.0f);
  }
}

// No setting at any rate lets one pass round a line gain energy at any frequency.
TEST(LateNetwork, LoopGainNeverExceedsOne) {
  TLateNetwork net;
  for (double rate : {1000.0, 8000.0, 22050.0, 44100.0, 96000.0, 384000.0, 1000000.0})
    for (bool freeze : {false, true})
      for (float bass : {0.0f, 1.0f, 3.0f})
        for (float cross : {50.0f, 2000.0f})
          for (float damping : {500.0f, 20000.0f})
            for (float decay : {0.1f, 100.0f})
              for (float size : {0.0f, 1.0f}) {
                net.Design(rate, Settings(decay, size, bass, cross, damping, freeze));
                for (int i = 0; i < 8; ++i) {
                  ASSERT_TRUE(std::isfinite(net.a[i]) && std::isfinite(net.kB[i]));
                  ASSERT_LE(MaxLoopGain(net, i), 1.0)
                      << rate << " freeze " << freeze << " bass " << bass << " cross " << cross
                      << " damping " << damping << " decay " << decay << " size " << size;
                }
              }
}

// The vector loop computes exactly what the per-sample steps of the cells give.
TEST(LateNetwork, VectorLoopMatchesSampleSteps) {
  TLateNetwork fast, ref;
  ASSERT_TRUE(fast.Build(44100.0f));
  ASSERT_TRUE(ref.Build(44100.0f));
  for (TLateNetwork* n : {&fast, &ref}) {
    n->SetSize(44100.0f, 0.03f);  // short lines: many wraps
    n->Design(44100.0, Settings(3.0f, 0.03f, 2.5f, 700.0f, 4000.0f));
  }
  uint32_t s = 7;
  const int length = 20000;
  std::vector<float> pl(length), pr(length), ll(length), lr(length);
  for (int t = 0; t < length; ++t) {
    s = s * 1664525u + 1013904223u;
    pl[t] = t < 3000 ? float(int(s >> 9) - (1 << 22)) / float(1 << 22) : 0.0f;
    pr[t] = t < 3000 ? pl[t] * -0.7f : 0.0f;
  }
  for (int done = 0; done < length; done += 333)
    fast.Process(pl.data() + done, pr.data() + done, ll.data() + done, lr.data() + done,
                 std::min(333, length - done));

  const float sign[8] = {1, 1, -1, -1, 1, 1, -1, -1};
  for (int t = 0; t < length; ++t) {
    float h[8];
    for (int i = 0; i < 8; ++i) {
      const float x = 0.3f * (i < 4 ? pl[t] : pr[t]);
      const float d = Read(ref.delay[i]);
      h[i] = Tick(ref.diff[i], sign[i] > 0 ? d + x : d - x);
    }
    Hadamard(h);
    ASSERT_EQ(ll[t], h[0] + h[4]) << t;
    ASSERT_EQ(lr[t], h[1] - h[2]) << t;
    for (int i = 0; i < 8; ++i) {
      const float x = h[i] * kLateNorm;
      ref.s1[i] = ref.s1[i] + ref.c * (x - ref.s1[i]) + 1e-10f;
      ref.s2[i] = ref.s2[i] + ref.a[i] * (x + ref.kB[i] * ref.s1[i] - ref.s2[i]) + 1e-20f;
      Write(ref.delay[i], ref.g[i] * ref.s2[i]);
    }
  }
}

// Input on the left only reaches the right output after one pass through the mix.
TEST(LateNetwork, LeftInputReachesTheRightOutput) {
  TLateNetwork net;
  ASSERT_TRUE(net.Build(44100.0f));
  net.Design(44100.0, Settings(2.0f, 1.0f, 1.0f, 200.0f, 10000.0f));
  std::vector<float> pl(44100, 0.0f), pr(44100, 0.0f), ll(44100), lr(44100);
  pl[0] = 1.0f;
  net.Process(pl.data(), pr.data(), ll.data(), lr.data(), 44100);
  double right = 0.0;
  for (float v : lr) right += double(v) * v;
  EXPECT_GT(right, 1e-3);
}

// The mix is the Hadamard matrix in Sylvester order: row k, column j has the
// sign (-1)^popcount(k & j). Small integers keep every sum exact.
TEST(LateNetwork, MixIsTheSylvesterHadamardMatrix) {
  for (int seed = 0; seed < 4; ++seed) {
    float y[8], h[8];
    for (int j = 0; j < 8; ++j) h[j] = y[j] = float((j * 7 + seed * 13) % 11 - 5) * float(1 << seed);
    Hadamard(h);
    for (int k = 0; k < 8; ++k) {
      float sum = 0.0f;
      for (int j = 0; j < 8; ++j) sum += (std::popcount(unsigned(k & j)) % 2 ? -y[j] : y[j]);
      EXPECT_EQ(h[k], sum) << "row " << k;
    }
  }
}

namespace {
// One sample of the network by the one-sample steps of its cells.
void ReferenceSample(TLateNetwork& ref, float pl, float pr, float& lateL, float& lateR) {
  float h[8];
  for (int i = 0; i < 8; ++i) {
    const float x = 0.3f * (i < 4 ? pl : pr);
    const float d = Read(ref.delay[i]);
    h[i] = Tick(ref.diff[i], (i & 2) ? d - x : d + x);
  }
  Hadamard(h);
  lateL = h[0] + h[4];
  lateR = h[1] - h[2];
  for (int i = 0; i < 8; ++i) {
    const float x = h[i] * kLateNorm;
    ref.s1[i] = ref.s1[i] + ref.c * (x - ref.s1[i]) + 1e-10f;
    ref.s2[i] = ref.s2[i] + ref.a[i] * (x + ref.kB[i] * ref.s1[i] - ref.s2[i]) + 1e-20f;
    Write(ref.delay[i], ref.g[i] * ref.s2[i]);
  }
}
}  // namespace

// Chunks, wraps and both vector widths give exactly the one-sample network at
// every Size, down to 8 kHz at 0 %, where the shortest delay is 38 samples and
// the shortest diffuser 5. Every line goes round at least once. Steps of 1 %,
// of 5 % at 384 kHz, where the lines are longest and the reference slowest.
TEST(LateNetwork, EverySizeAtLowAndHighRatesMatchesSampleSteps) {
  const bool wide[] = {false, true};
  const int blocks[] = {1, 7, 256, 333, 64, 5, 1000, 3};
  for (float rate : {8000.0f, 44100.0f, 384000.0f}) {
    TLateNetwork net[2], ref;
    ASSERT_TRUE(ref.Build(rate));
    for (int k = 0; k < 2; ++k) {
      ASSERT_TRUE(net[k].Build(rate));
      net[k].UseWideVectors(wide[k]);
    }
    ASSERT_FALSE(net[0].WideVectors());
    ASSERT_EQ(net[1].WideVectors(), WideVectorsAvailable());
    for (int percent = 0; percent <= 100; percent += rate > 100000.0f ? 5 : 1) {
      const float size = static_cast<float>(percent * 0.01);
      int longest = 0;
      for (TLateNetwork* n : {&net[0], &net[1], &ref}) {
        n->SetSize(rate, size);
        n->Design(rate, Settings(3.0f, size, 2.5f, 700.0f, 4000.0f));
      }
      for (int i = 0; i < 8; ++i)
        longest = std::max(longest, ref.delay[i].Size() + ref.diff[i].Size());
      const int length = longest + longest / 4 + 600;

      uint32_t s = 99u + uint32_t(percent);
      std::vector<float> pl(length), pr(length), ll(length), lr(length);
      for (int t = 0; t < length; ++t) {
        s = s * 1664525u + 1013904223u;
        pl[t] = float(int(s >> 9) - (1 << 22)) / float(1 << 22);
        pr[t] = t % 3 ? -0.5f * pl[t] : 0.0f;
      }
      std::vector<float> out[2][2];
      for (int k = 0; k < 2; ++k) {
        out[k][0].resize(length);
        out[k][1].resize(length);
        for (int done = 0, b = 0; done < length; ++b) {
          const int n = std::min(blocks[b % 8], length - done);
          net[k].Process(pl.data() + done, pr.data() + done, out[k][0].data() + done,
                         out[k][1].data() + done, n);
          done += n;
        }
      }
      for (int t = 0; t < length; ++t) {
        float l, r;
        ReferenceSample(ref, pl[t], pr[t], l, r);
        for (int k = 0; k < 2; ++k) {
          ASSERT_EQ(out[k][0][t], l) << rate << " Hz, " << percent << " %, wide " << wide[k]
                                     << ", sample " << t;
          ASSERT_EQ(out[k][1][t], r) << rate << " Hz, " << percent << " %, wide " << wide[k]
                                     << ", sample " << t;
        }
      }
    }
  }
}

// A network cleared (or resized) in the middle of its rings' runs starts again
// exactly like a fresh one (with the filter states a Size change keeps): no
// place kept from before stays behind.
TEST(LateNetwork, ClearedOrResizedNetworkRunsLikeAFreshOne) {
  for (bool resize : {false, true}) {
    TLateNetwork used, fresh;
    for (TLateNetwork* n : {&used, &fresh}) {
      ASSERT_TRUE(n->Build(44100.0f));
      n->SetSize(44100.0f, 0.02f);
      n->Design(44100.0, Settings(2.0f, 0.02f, 1.5f, 300.0f, 6000.0f));
    }
    uint32_t s = 3;
    std::vector<float> pl(5000), pr(5000), l[2], r[2];
    for (int t = 0; t < 5000; ++t) {
      s = s * 1664525u + 1013904223u;
      pl[t] = float(int(s >> 9) - (1 << 22)) / float(1 << 22);
      pr[t] = -0.25f * pl[t];
    }
    l[0].resize(5000);
    r[0].resize(5000);
    for (int done = 0; done < 3001; done += 77)
      used.Process(pl.data() + done, pr.data() + done, l[0].data(), r[0].data(), 77);
    if (resize) {
      used.SetSize(44100.0f, 0.02f);
      std::copy_n(used.s1, 8, fresh.s1);
      std::copy_n(used.s2, 8, fresh.s2);
    } else {
      used.Clear();
    }
    for (int k = 0; k < 2; ++k) {
      TLateNetwork& n = k ? fresh : used;
      l[k].assign(5000, 0.0f);
      r[k].assign(5000, 0.0f);
      for (int done = 0; done < 5000; done += 100)
        n.Process(pl.data() + done, pr.data() + done, l[k].data() + done, r[k].data() + done, 100);
    }
    EXPECT_EQ(l[0], l[1]) << (resize ? "resized" : "cleared");
    EXPECT_EQ(r[0], r[1]) << (resize ? "resized" : "cleared");
    // The cells themselves stand where the fresh network's do, holding the same.
    const auto same = [](const TCell& a, const TCell& b) {
      return a.Pos() == b.Pos() && std::equal(a.Data(), a.Data() + a.Size(), b.Data());
    };
    for (int i = 0; i < 8; ++i) {
      EXPECT_TRUE(same(used.delay[i], fresh.delay[i])) << "delay " << i;
      EXPECT_TRUE(same(used.diff[i], fresh.diff[i])) << "diffuser " << i;
    }
  }
}
