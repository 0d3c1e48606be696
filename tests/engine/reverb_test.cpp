#include "engine/reverb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <thread>

#include "tests/engine/engine_test_util.h"

namespace {
float WetOnly[kNumParams] = {0, 0, -200, 0, -200, 0, 0, 0.176f, 0, 100, 150, 1, 200, 10000,
                             0, 100, 0, 2000};
}

// Rates and block sizes the engine cannot use leave it as it was.
TEST(ReverbSetup, RefusedRatesAndBlockSizesChangeNothing) {
  TReverb r;
  ASSERT_TRUE(r.SetSampleRate(48000.0f));
  const int delay0 = r.Late().delay[0].Size();
  for (float bad : {0.0f, -44100.0f, 999.0f, 1.0e6f + 1.0f, NAN, INFINITY})
    EXPECT_FALSE(r.SetSampleRate(bad)) << bad;
  EXPECT_EQ(r.SampleRate(), 48000.0f);
  EXPECT_EQ(r.Late().delay[0].Size(), delay0);
  EXPECT_EQ(r.Predelay(0).Size(), 12047);  // 48000 * 0.251 in float, truncated

  EXPECT_EQ(r.BlockSize(), TReverb::kDefaultBlockSize);
  for (int bad : {0, -1, (1 << 20) + 1}) EXPECT_FALSE(r.SetBlockSize(bad));
  EXPECT_EQ(r.BlockSize(), TReverb::kDefaultBlockSize);
  EXPECT_TRUE(r.SetBlockSize(8192));
  EXPECT_EQ(r.BlockSize(), 8192);
}

// Blocks longer than the block size are processed in pieces, every frame written,
// exactly as if the host had sent the pieces itself. This works before any
// block size was set.
TEST(ReverbSetup, LongBlocksRunInPiecesOfTheBlockSize) {
  TReverb whole, pieces;
  ApplyProgram(whole);
  ApplyProgram(pieces);
  const Stereo in = NoiseBurst(3000, 3000);
  const Stereo a = RunBlocks(whole, in, 3000);
  Stereo b(3000);
  for (int start : {0, 1024, 2048}) {
    const int n = std::min(1024, 3000 - start);
    const float* ins[2] = {in.l.data() + start, in.r.data() + start};
    float* outs[2] = {b.l.data() + start, b.r.data() + start};
    pieces.Process(ins, outs, n);
  }
  EXPECT_EQ(a.l, b.l);
  EXPECT_EQ(a.r, b.r);
}

// When nothing changes, the way a signal is cut into blocks does not matter.
TEST(ReverbSetup, SteadyStateOutputDoesNotDependOnTheBlockSplit) {
  TReverb a, b;
  float program[kNumParams];
  std::copy_n(kDefaultSettings, kNumParams, program);
  program[kSize] = 3;  // short lines: many wraps inside a block
  ApplyProgram(a, program);
  ApplyProgram(b, program);
  const Stereo in = NoiseBurst(12000, 5000);
  Stereo first(512);
  first.l.assign(in.l.begin(), in.l.begin() + 512);
  first.r.assign(in.r.begin(), in.r.begin() + 512);
  RunBlocks(a, first, 512);
  RunBlocks(b, first, 512);  // the same ramps in both
  Stereo rest(in.size() - 512);
  rest.l.assign(in.l.begin() + 512, in.l.end());
  rest.r.assign(in.r.begin() + 512, in.r.end());
  const Stereo x = RunBlocks(a, rest, 512);
  Stereo y(rest.size());
  size_t done = 0;
  for (int block : {1, 1, 2, 3, 5, 7, 255, 256, 257, 1000, 37}) {
    for (int rep = 0; rep < 3 && done < rest.size(); ++rep) {
      const int n = static_cast<int>(std::min<size_t>(block, rest.size() - done));
      const float* ins[2] = {rest.l.data() + done, rest.r.data() + done};
      float* outs[2] = {y.l.data() + done, y.r.data() + done};
      b.Process(ins, outs, n);
      done += n;
    }
  }
  Stereo tail(rest.size() - done);
  tail.l.assign(rest.l.begin() + done, rest.l.end());
  tail.r.assign(rest.r.begin() + done, rest.r.end());
  const Stereo z = RunBlocks(b, tail, 64);
  std::copy(z.l.begin(), z.l.end(), y.l.begin() + done);
  std::copy(z.r.begin(), z.r.end(), y.r.begin() + done);
  EXPECT_EQ(x.l, y.l);
  EXPECT_EQ(x.r, y.r);
}

// In-place processing: the host may pass the same arrays for input and output.
TEST(ReverbSetup, InPlaceProcessingGivesTheSameResult) {
  TReverb a, b;
  ApplyProgram(a);
  ApplyProgram(b);
  Stereo in = NoiseBurst(2048, 2048);
  const Stereo expected = RunBlocks(a, in, 512);
  for (int start = 0; start < 2048; start += 512) {
    float* io[2] = {in.l.data() + start, in.r.data() + start};
    b.Process(io, io, 512);
  }
  EXPECT_EQ(in.l, expected.l);
  EXPECT_EQ(in.r, expected.r);
}

// Gains ramp linearly across the next block and reach their target at its last
// sample, within the rounding of one addition per sample.
TEST(ReverbRamps, FirstBlockRisesFromSilenceAndLevelsArriveAtTheLastSample) {
  TReverb r;
  ApplyProgram(r);
  Stereo in(300);
  std::fill(in.l.begin(), in.l.end(), 1.0f);
  const Stereo out = RunBlocks(r, in, 300);
  EXPECT_NEAR(r.DryGain().cur, 1.0f, 2e-5f);
  EXPECT_NEAR(r.InputGain().cur, 1.0f, 2e-5f);
  EXPECT_NEAR(r.ERGain().cur, std::exp(-9.0f * 0.115129255f), 2e-5f);
  EXPECT_NEAR(r.LateGain().cur, (0.7f * 0.5f + 0.3f) * std::exp(-4.0f * 0.115129255f), 2e-5f);
  // The dry path (before any echo arrives) is the product of two rising ramps.
  EXPECT_NEAR(out.l[0], (1.0f / 300) * (1.0f / 300), 1e-7f);
  EXPECT_NEAR(out.l[149], 0.25f, 0.01f);

  r.SetParameter(kDryLevel, -6.0f);
  RunBlocks(r, in, 300);
  EXPECT_NEAR(r.DryGain().cur, std::exp(-6.0f * 0.115129255f), 2e-5f);
  const float reached = r.DryGain().cur;
  RunBlocks(r, in, 300);
  EXPECT_EQ(r.DryGain().cur, reached);  // constant in the block after
  EXPECT_EQ(r.DryGain().inc, 0.0f);

  r.SetParameter(kSize, 0.0f);
  RunBlocks(r, in, 300);
  EXPECT_NEAR(r.LateGain().cur, 0.3f * std::exp(-4.0f * 0.115129255f), 2e-5f);
}

// A level below -90 dB silences its path exactly.
TEST(ReverbRamps, DryBelowMinus90DbIsSilent) {
  TReverb r;
  float p[kNumParams];
  std::copy(std::begin(WetOnly), std::end(WetOnly), p);
  p[kDryLevel] = -90.5f;
  p[kERLevel] = -200;
  ApplyProgram(r, p);
  const Stereo out = RunBlocks(r, NoiseBurst(2048, 2048), 256);
  for (size_t i = 256; i < out.size(); ++i) ASSERT_EQ(out.l[i], 0.0f) << i;

  TReverb wet;
  p[kERLevel] = 0;
  ApplyProgram(wet, p);
  const Stereo w = RunBlocks(wet, NoiseBurst(4096, 4096), 256);
  EXPECT_GT(Rms(w.l, 2048, 4096), 0.01);
}

// Impulse on the left input: both early patterns, 0.5 and 0.3 of the gains.
TEST(ReverbPaths, EarlyReflectionPatternOfALeftImpulse) {
  TReverb r;
  float p[kNumParams];
  std::copy(std::begin(WetOnly), std::end(WetOnly), p);
  ApplyProgram(r, p);
  RunBlocks(r, Stereo(512), 512);  // let the gains arrive
  Stereo in(4096);
  in.l[0] = 1.0f;
  const Stereo out = RunBlocks(r, in, 512);
  for (int j = 0; j < kEarlyTaps; ++j) {
    const int tl = static_cast<int>(std::floor(44100.0f * TEarlyTable::kLeft[j] + 0.5f));
    const int tr = static_cast<int>(std::floor(44100.0f * TEarlyTable::kRight[j] + 0.5f));
    EXPECT_NEAR(out.l[tl], 0.5f * TEarlyTable::kGain[j], 1e-6f) << j;
    EXPECT_NEAR(out.r[tr], 0.3f * TEarlyTable::kGain[j], 1e-6f) << j;
  }
  EXPECT_EQ(out.r[188], 0.0f);  // nothing before the first right tap at 4.3 ms (190)
  EXPECT_NEAR(out.r[190], 0.3f * 0.841f, 1e-6f);
  EXPECT_NEAR(out.l[3912], 0.5f * 0.134f, 1e-6f);  // last left tap, 88.7 ms
}

// Width: 0 % is mono, 150 % the image as produced, 200 % one and a half times the side.
TEST(ReverbPaths, StereoWidth) {
  auto run = [](float wide) {
    TReverb r;
    float p[kNumParams];
    std::copy(std::begin(WetOnly), std::end(WetOnly), p);
    p[kLateLevel] = 0;
    p[kWide] = wide;
    ApplyProgram(r, p);
    Stereo in = NoiseBurst(8192, 3000);
    for (auto& x : in.r) x *= 0.2f;
    return RunBlocks(r, in, 512);
  };
  const Stereo mono = run(0), produced = run(150), wide = run(200);
  for (size_t i = 512; i < 8192; ++i) {
    ASSERT_EQ(mono.l[i], mono.r[i]) << i;
    const float mid = (produced.l[i] + produced.r[i]) * 0.5f;
    const float side = (produced.l[i] - produced.r[i]) * 0.5f;
    ASSERT_NEAR((wide.l[i] + wide.r[i]) * 0.5f, mid, 1e-5f) << i;
    ASSERT_NEAR((wide.l[i] - wide.r[i]) * 0.5f, 1.5f * side, 1e-5f) << i;
  }
  EXPECT_GT(Rms(produced.l, 512, 8192), 1e-3);
}

// The meters read single-sample peaks after the input level and fall 60 dB in ~6904 samples.
TEST(ReverbMeters, PeakAndFall) {
  TReverb r;
  float p[kNumParams];
  std::copy(std::begin(WetOnly), std::end(WetOnly), p);
  p[kERLevel] = -200;
  ApplyProgram(r, p);
  RunBlocks(r, Stereo(512), 512);
  Stereo in(1);
  in.l[0] = 1.0f;
  RunBlocks(r, in, 1);
  EXPECT_EQ(r.Meter(0), 1.0f);
  EXPECT_EQ(r.Meter(1), 0.0f);
  RunBlocks(r, Stereo(6904), 512);
  EXPECT_NEAR(r.Meter(0), 0.001f, 0.00002f);
  EXPECT_EQ(r.Meter(4), 0.0f);  // unknown meter index

  r.SetParameter(kInputLevel, -6.0f);
  RunBlocks(r, Stereo(512), 512);
  RunBlocks(r, in, 1);
  EXPECT_NEAR(r.Meter(0), std::exp(-6.0f * 0.115129255f), 2e-5f);
  r.Reset();
  EXPECT_EQ(r.Meter(0), 0.0f);
}

// The meters read exactly each signal's own fall, one sample after another
// (times 0.999, flushed below the normal range, raised to the sample's size),
// whatever the block lengths, also beyond 8192 frames and into silence.
TEST(ReverbMeters, MetersFollowTheFallOfEverySample) {
  TReverb r;
  ASSERT_TRUE(r.SetBlockSize(10000));
  ApplyProgram(r);
  r.SetParameter(kDecayTime, -1.0f);
  r.SetParameter(kInputLevel, -3.0f);
  RunBlocks(r, NoiseBurst(512, 512), 512);  // the input level's ramp
  const float gain = r.InputGain().cur;
  float m[4];
  for (int k = 0; k < 4; ++k) m[k] = r.Meter(k);

  const Stereo in = NoiseBurst(120000, 20000);
  const int blocks[] = {1, 3, 4, 5, 511, 512, 9000, 13, 4096};
  for (size_t done = 0, b = 0; done < in.size(); ++b) {
    const int n = static_cast<int>(std::min<size_t>(blocks[b % 9], in.size() - done));
    Stereo piece(n);
    std::copy_n(in.l.begin() + done, n, piece.l.begin());
    std::copy_n(in.r.begin() + done, n, piece.r.begin());
    const Stereo out = RunBlocks(r, piece, n);
    for (int i = 0; i < n; ++i) {
      const float x[4] = {piece.l[i] * gain, piece.r[i] * gain, out.l[i], out.r[i]};
      for (int k = 0; k < 4; ++k) {
        m[k] *= 0.999f;
        if (m[k] < FLT_MIN) m[k] = 0.0f;
        m[k] = std::max(m[k], std::fabs(x[k]));
      }
    }
    for (int k = 0; k < 4; ++k) ASSERT_EQ(r.Meter(k), m[k]) << "meter " << k << ", frame " << done;
    done += n;
  }
  EXPECT_EQ(m[0], 0.0f);  // the input meters fell through the flush
}

// At the bottom of the normal range a meter's fall ends at 0 on the very sample
// on which it would turn denormal: seen in blocks of four, at every phase.
TEST(ReverbMeters, FallEndsAtZeroOnTheSampleItWouldTurnDenormal) {
  for (int phase = 0; phase < 4; ++phase) {
    TReverb r;
    ApplyProgram(r);
    RunBlocks(r, Stereo(512), 512);  // the input level's ramp
    const float gain = r.InputGain().cur;
    float m = r.Meter(0);
    Stereo in(4 + phase);
    in.l[0] = 1e-36f;  // about 4400 samples above the flush
    for (size_t done = 0; done < 6000; done += in.size()) {
      RunBlocks(r, in, static_cast<int>(in.size()));
      for (float x : in.l) {
        m *= 0.999f;
        if (m < FLT_MIN) m = 0.0f;
        m = std::max(m, std::fabs(x * gain));
      }
      ASSERT_EQ(r.Meter(0), m) << "phase " << phase << ", frame " << done;
      in = Stereo(4);
    }
    EXPECT_EQ(m, 0.0f);
  }
}

// Parameter changes made on another thread while blocks are processed are
// never lost: the engine ends on the last value set for every parameter.
TEST(ReverbThreads, ConcurrentChangesEndOnTheLastValues) {
  TReverb r;
  ApplyProgram(r);
  std::atomic<bool> done{false};
  std::thread audio([&] {
    Stereo in = NoiseBurst(256, 256, 0.1f);
    while (!done.load()) RunBlocks(r, in, 256);
  });
  Noise noise;
  float last[kNumParams];
  for (int round = 0; round < 3000; ++round) {
    for (int i = 0; i < kNumParams; ++i) {
      // Levels no lower than -30 dB, so that every change is heard.
      const float lo = std::max(kParamRanges[i].min, -30.0f), hi = kParamRanges[i].max;
      last[i] = lo + (hi - lo) * (noise() * 0.5f + 0.5f);
      r.SetParameter(i, last[i]);
    }
  }
  done.store(true);
  audio.join();
  RunBlocks(r, Stereo(256), 256);

  TReverb expected;
  ApplyProgram(expected, last);
  RunBlocks(expected, Stereo(256), 256);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(r.Predelay(i).Delay(), expected.Predelay(i).Delay());
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(r.Late().delay[i].Size(), expected.Late().delay[i].Size());
    EXPECT_EQ(r.Late().g[i], expected.Late().g[i]);
    EXPECT_EQ(r.Late().a[i], expected.Late().a[i]);
    EXPECT_EQ(r.Late().kB[i], expected.Late().kB[i]);
  }
  EXPECT_EQ(r.Late().c, expected.Late().c);
  for (int b = 0; b < 2; ++b) {
    EXPECT_EQ(r.Band(b).targetGain, expected.Band(b).targetGain);
    EXPECT_EQ(r.Band(b).targetFreq, expected.Band(b).targetFreq);
  }
  EXPECT_NEAR(r.DryGain().cur, expected.DryGain().cur, 1e-5f);
  EXPECT_NEAR(r.ERGain().cur, expected.ERGain().cur, 1e-5f);
  EXPECT_NEAR(r.LateGain().cur, expected.LateGain().cur, 1e-5f);
  EXPECT_NEAR(r.InputGain().cur, expected.InputGain().cur, 1e-5f);
  EXPECT_EQ(r.Early(0).tapDelay[17], expected.Early(0).tapDelay[17]);
}

// Unknown indices and NaN are ignored; out-of-range values are limited.
TEST(ReverbParameters, BadValuesAreIgnoredOrLimited) {
  TReverb r;
  ApplyProgram(r);
  RunBlocks(r, Stereo(64), 64);
  const float g6 = r.Late().g[6];
  r.SetParameter(-1, 5.0f);
  r.SetParameter(kNumParams, 5.0f);
  r.SetParameter(kDecayTime, NAN);
  RunBlocks(r, Stereo(64), 64);
  EXPECT_EQ(r.Late().g[6], g6);
  r.SetParameter(kPredelayLeft, 1.0e9f);
  RunBlocks(r, Stereo(64), 64);
  EXPECT_EQ(r.Predelay(0).Delay(), 8820);  // 200 ms
}

// After a suspend nothing of the old tail sounds again: the output equals that
// of a fresh engine given the same settings and the same input.
TEST(ReverbSetup, ResetSilencesTheTailCompletely) {
  TReverb used, fresh;
  ApplyProgram(used);
  ApplyProgram(fresh);
  RunBlocks(used, NoiseBurst(20000, 20000), 512);
  used.Reset();
  RunBlocks(fresh, Stereo(512), 512);  // both now past the first block's ramps
  RunBlocks(used, Stereo(512), 512);
  const Stereo in = NoiseBurst(8192, 2000);
  const Stereo a = RunBlocks(used, in, 512), b = RunBlocks(fresh, in, 512);
  for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a.l[i], b.l[i], 1e-6f) << i;
}
