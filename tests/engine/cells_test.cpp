#include "engine/cells.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/sample_steps.h"

// Delay cells: an impulse comes back exactly `size` samples later.
TEST(Delay, ImpulseReturnsAfterSizeSamplesAndRecirculates) {
  TDelay d;
  ASSERT_TRUE(d.Allocate(100));
  d.Resize(7);
  std::vector<float> out;
  for (int i = 0; i < 30; ++i) {
    const float y = Read(d);
    out.push_back(y);
    Write(d, i == 0 ? 1.0f : y);  // feed back unchanged
  }
  for (int i = 0; i < 30; ++i) EXPECT_EQ(out[i], (i > 0 && i % 7 == 0) ? 1.0f : 0.0f) << i;
}

TEST(Delay, ResizeToTheSameLengthStillClears) {
  TDelay d;
  ASSERT_TRUE(d.Allocate(10));
  d.Resize(4);
  for (int i = 0; i < 3; ++i) Write(d, 1.0f);
  d.Resize(4);
  EXPECT_EQ(d.Pos(), 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Read(d), 0.0f);
    Write(d, 0.0f);
  }
}

TEST(Delay, ResizeNeverGrowsBeyondTheReservedStorage) {
  TDelay d;
  ASSERT_TRUE(d.Allocate(10));
  d.Resize(50);
  EXPECT_EQ(d.Size(), 10);
  d.Resize(0);
  EXPECT_EQ(d.Size(), 1);
}

// All-pass diffuser: the impulse response 0.6, 0.64 at N, -0.384 at 2N.
TEST(Diffuser, ImpulseResponseOfTheAllPass) {
  TDiff d;
  ASSERT_TRUE(d.Allocate(5));
  d.coef = 0.6f;
  std::vector<float> y;
  for (int i = 0; i < 11; ++i) y.push_back(Tick(d, i == 0 ? 1.0f : 0.0f));
  EXPECT_FLOAT_EQ(y[0], 0.6f);
  EXPECT_FLOAT_EQ(y[5], 0.64f);
  EXPECT_FLOAT_EQ(y[10], -0.384f);
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9}) EXPECT_EQ(y[i], 0.0f);
}

TEST(Diffuser, ZeroCoefficientIsAPureDelay) {
  TDiff d;
  ASSERT_TRUE(d.Allocate(3));
  d.coef = 0.0f;
  std::vector<float> y;
  for (int i = 0; i < 7; ++i) y.push_back(Tick(d, i == 0 ? 1.0f : 0.0f));
  EXPECT_EQ(y, (std::vector<float>{0, 0, 0, 1, 0, 0, 0}));
}

// Pre-delay: write before read, so delay 0 passes the input through.
TEST(VDelay, DelayZeroPassesThroughAndDelayDIsLate) {
  TVDelay v;
  ASSERT_TRUE(v.Allocate(16));
  v.writePos = 0;
  v.SetDelay(0);
  EXPECT_EQ(Tick(v, 3.0f), 3.0f);
  v.SetDelay(4);
  std::vector<float> y;
  for (int i = 0; i < 8; ++i) y.push_back(Tick(v, float(i + 10)));
  EXPECT_EQ(y[4], 10.0f);
  EXPECT_EQ(y[7], 13.0f);
  EXPECT_EQ(v.Delay(), 4);
}

TEST(VDelay, ClearSilencesUntilNewInputHasTravelled) {
  TVDelay v;
  ASSERT_TRUE(v.Allocate(16));
  v.SetDelay(3);
  for (int i = 0; i < 10; ++i) Tick(v, 1.0f);
  v.Clear();
  v.SetDelay(3);
  EXPECT_EQ(Tick(v, 5.0f), 0.0f);
  EXPECT_EQ(Tick(v, 0.0f), 0.0f);
  EXPECT_EQ(Tick(v, 0.0f), 0.0f);
  EXPECT_EQ(Tick(v, 0.0f), 5.0f);
}

TEST(VDelay, OutOfRangeDelayIsLimited) {
  TVDelay v;
  ASSERT_TRUE(v.Allocate(16));
  v.SetDelay(100);
  EXPECT_EQ(v.Delay(), 15);
  v.SetDelay(-3);
  EXPECT_EQ(v.Delay(), 0);
}

// The block form gives exactly what the per-sample steps give, across wraps.
TEST(VDelay, BlockProcessingMatchesSampleSteps) {
  for (int delay : {0, 1, 5, 12, 15}) {
    TVDelay a, b;
    ASSERT_TRUE(a.Allocate(16));
    ASSERT_TRUE(b.Allocate(16));
    a.SetDelay(delay);
    b.SetDelay(delay);
    int t = 0;
    for (int block : {3, 16, 1, 9, 40, 7}) {
      std::vector<float> in(block), out(block);
      for (auto& x : in) x = float(++t);
      a.Process(in.data(), out.data(), block);
      for (int i = 0; i < block; ++i) ASSERT_EQ(out[i], Tick(b, in[i])) << delay << " " << t;
    }
  }
}

// The in-place runs where they apply, the block form for the rest, give
// exactly what the per-sample steps give, across wraps of the write and the read.
TEST(VDelay, InPlaceRunsMatchSampleSteps) {
  for (int delay : {0, 1, 5, 12, 15}) {
    TVDelay a, b;
    ASSERT_TRUE(a.Allocate(16));
    ASSERT_TRUE(b.Allocate(16));
    a.SetDelay(delay);
    b.SetDelay(delay);
    int t = 0;
    for (int block : {3, 16, 1, 9, 40, 7, 4, 2, 8, 6, 5}) {
      std::vector<float> in(block), out(block), scratch(block);
      for (auto& x : in) x = float(++t);
      const float* y = out.data();
      if (float* run = block <= 16 ? a.Input(block) : nullptr) {
        std::copy(in.begin(), in.end(), run);
        y = a.Output(block, scratch.data());
      } else {
        a.Process(in.data(), out.data(), block);
      }
      for (int i = 0; i < block; ++i) ASSERT_EQ(y[i], Tick(b, in[i])) << delay << " " << t;
    }
  }
}
