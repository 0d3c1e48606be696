#include "engine/early_refl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/engine/sample_steps.h"

namespace {
std::vector<float> ImpulseResponse(TEarlyRefl& e, int length) {
  std::vector<float> x(length, 0.0f), y(length);
  x[0] = 1.0f;
  for (int done = 0; done < length; done += kMaxChunk) {
    const int n = std::min(kMaxChunk, length - done);
    e.Process(x.data() + done, y.data() + done, n, TEarlyTable::kGain);
  }
  return y;
}
}  // namespace

// Taps sit at the table's times at full size, with the table's gains.
TEST(EarlyReflections, FullSizePatternOfBothSides) {
  for (const float* table : {TEarlyTable::kLeft, TEarlyTable::kRight}) {
    TEarlyRefl e;
    ASSERT_TRUE(e.Build(44100.0f, table));
    const auto y = ImpulseResponse(e, 5000);
    std::vector<float> expected(5000, 0.0f);
    for (int j = 0; j < kEarlyTaps; ++j)
      expected[static_cast<int>(std::floor(44100.0f * table[j] + 0.5f))] += TEarlyTable::kGain[j];
    for (int i = 0; i < 5000; ++i) ASSERT_FLOAT_EQ(y[i], expected[i]) << i;
  }
  TEarlyRefl left;
  ASSERT_TRUE(left.Build(44100.0f, TEarlyTable::kLeft));
  EXPECT_EQ(left.tapDelay[17], 3912);  // the last left tap, 88.7 ms
  EXPECT_EQ(left.tapDelay[0], 587);    // the first, 13.3 ms
}

// At Size 0 every tap is at 5 % of its time; taps that land together add up.
TEST(EarlyReflections, SmallestSizeCompressesThePattern) {
  TEarlyRefl e;
  ASSERT_TRUE(e.Build(44100.0f, TEarlyTable::kLeft));
  e.SetTaps((0.95f * 0.0f + 0.05f) * 44100.0f, TEarlyTable::kLeft);
  EXPECT_EQ(e.tapDelay[17], 196);
  EXPECT_EQ(e.tapDelay[3], e.tapDelay[4]);  // 35.8 ms and 36.0 ms coincide
  const auto y = ImpulseResponse(e, 300);
  EXPECT_FLOAT_EQ(y[e.tapDelay[3]], TEarlyTable::kGain[3] + TEarlyTable::kGain[4]);
  EXPECT_FLOAT_EQ(y[196], TEarlyTable::kGain[17]);
}

// A new size moves the pattern without clearing what the line holds.
TEST(EarlyReflections, SizeChangeKeepsTheContents) {
  TEarlyRefl e;
  ASSERT_TRUE(e.Build(44100.0f, TEarlyTable::kRight));
  std::vector<float> x(1000, 0.0f), y(1000);
  x[0] = 1.0f;
  e.Process(x.data(), y.data(), 100, TEarlyTable::kGain);
  e.SetTaps(0.5f * 44100.0f, TEarlyTable::kRight);
  for (int done = 100; done < 1000; done += 256)
    e.Process(x.data() + done, y.data() + done, std::min(256, 1000 - done), TEarlyTable::kGain);
  // After the change the impulse, written before it, sounds at the halved taps.
  std::vector<float> expected(1000, 0.0f);
  for (int j = 0; j < kEarlyTaps; ++j)
    if (e.tapDelay[j] >= 100 && e.tapDelay[j] < 1000) expected[e.tapDelay[j]] += TEarlyTable::kGain[j];
  for (int i = 100; i < 1000; ++i) ASSERT_FLOAT_EQ(y[i], expected[i]) << i;
  EXPECT_EQ(e.tapDelay[5], 657);
}

// Block processing gives bit-identical sums to the per-sample form, in any split.
TEST(EarlyReflections, BlocksMatchSampleSteps) {
  TEarlyRefl a, b;
  ASSERT_TRUE(a.Build(48000.0f, TEarlyTable::kLeft));
  ASSERT_TRUE(b.Build(48000.0f, TEarlyTable::kLeft));
  a.SetTaps(0.7f * 48000.0f, TEarlyTable::kLeft);
  b.SetTaps(0.7f * 48000.0f, TEarlyTable::kLeft);
  uint32_t s = 1;
  int t = 0;
  for (int block : {1, 3, 256, 255, 17, 4, 256, 100}) {
    for (int rep = 0; rep < 20; ++rep) {
      std::vector<float> x(block), y(block);
      for (auto& v : x) {
        s = s * 1664525u + 1013904223u;
        v = float(int(s >> 9) - (1 << 22)) / float(1 << 22);
      }
      a.Process(x.data(), y.data(), block, TEarlyTable::kGain);
      for (int i = 0; i < block; ++i, ++t) ASSERT_EQ(y[i], Tick(b, x[i], TEarlyTable::kGain)) << t;
    }
  }
}

// Four and eight samples per register both give the per-sample sums, at a
// size whose taps are a few samples apart.
TEST(EarlyReflections, BothVectorWidthsMatchSampleSteps) {
  for (bool wide : {false, true}) {
    TEarlyRefl a, b;
    a.UseWideVectors(wide);
    EXPECT_EQ(a.WideVectors(), wide && WideVectorsAvailable());
    ASSERT_TRUE(a.Build(44100.0f, TEarlyTable::kRight));
    ASSERT_TRUE(b.Build(44100.0f, TEarlyTable::kRight));
    a.SetTaps(0.05f * 44100.0f, TEarlyTable::kRight);
    b.SetTaps(0.05f * 44100.0f, TEarlyTable::kRight);
    uint32_t s = 5;
    int t = 0;
    for (int block : {256, 15, 16, 17, 7, 8, 9, 1, 200}) {
      for (int rep = 0; rep < 10; ++rep) {
        std::vector<float> x(block), y(block);
        for (auto& v : x) {
          s = s * 1664525u + 1013904223u;
          v = float(int(s >> 9) - (1 << 22)) / float(1 << 22);
        }
        a.Process(x.data(), y.data(), block, TEarlyTable::kGain);
        for (int i = 0; i < block; ++i, ++t)
          ASSERT_EQ(y[i], Tick(b, x[i], TEarlyTable::kGain)) << "wide " << wide << ", sample " << t;
      }
    }
  }
}
