// Audio through the loaded binary: the standard host sequence against the
// engine driven directly, the sequences real hosts use, and hostile calls.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "engine/reverb.h"
#include "tests/support/vst2/plugin.h"

namespace {
const float kMin[18] = {-200, -200, -200, -200, -200, 0, 0, -1, 0, 0, 0, 0, 50, 500, -15, 30, -15, 160};
const float kMax[18] = {0, 0, 0, 0, 0, 200, 200, 2, 1, 100, 200, 3, 2000, 20000, 15, 3000, 15, 10000};

float Physical(int i, float x) {
  if (i == kDecayFreeze) return x >= 0.25f ? 1.0f : 0.0f;
  return kMin[i] + x * (kMax[i] - kMin[i]);
}

struct Settings {
  float x[18];
};
const Settings kDefault = {{1, 1, 1, 0.955f, 0.98f, 0, 0, 0.392f, 0, 0.5f, 0.75f, 0.333333f,
                            0.0769231f, 0.487179f, 0.5f, 0.023569f, 0.5f, 0.186992f}};
// A busier setting: every group differs from the defaults.
const Settings kBusy = {{0.97f, 0.99f, 0.9f, 0.96f, 0.97f, 0.1f, 0.2f, 0.5f, 0, 0.7f, 0.6f, 0.6f,
                         0.2f, 0.3f, 0.6f, 0.1f, 0.4f, 0.3f}};

std::vector<float> Engine(float rate, int block, const Settings& s, const std::vector<float>& l,
                          const std::vector<float>& r, int chunk) {
  auto engine = std::make_unique<TReverb>();
  engine->SetSampleRate(rate);
  engine->SetBlockSize(block);
  for (int i = 0; i < 18; ++i) engine->SetParameter(i, Physical(i, s.x[i]));
  const int frames = static_cast<int>(l.size());
  std::vector<float> out(2 * l.size());
  std::vector<float> ol(chunk), orr(chunk);
  for (int pos = 0; pos < frames; pos += chunk) {
    const int n = std::min(chunk, frames - pos);
    const float* in[2] = {l.data() + pos, r.data() + pos};
    float* o[2] = {ol.data(), orr.data()};
    engine->Process(in, o, n);
    for (int i = 0; i < n; ++i) {
      out[2 * (pos + i)] = ol[i];
      out[2 * (pos + i) + 1] = orr[i];
    }
  }
  return out;
}

void SetAll(Plugin& p, const Settings& s) {
  for (int i = 0; i < 18; ++i) p.Set(i, s.x[i]);
}

// Program 8 ("Long Ambience") as the factory bank holds it.
const Settings kLongAmbience = {{1, 1, 0.972594f, 0.91137f, 0.923541f, 0.87f, 0.155f, 0.895f, 0,
                                 1, 1, 0.705f, 0.332792f, 1, 0.59f, 0.0602456f, 0.42f,
                                 0.324556f}};

float Peak(const std::vector<float>& v) {
  float m = 0;
  for (float x : v) m = std::max(m, std::fabs(x));
  return m;
}

// Bit-exact: the binary runs the same code as the engine linked here.
void ExpectSame(const std::vector<float>& a, const std::vector<float>& b) {
  ASSERT_EQ(a.size(), b.size());
  size_t diffs = 0, first = 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && diffs++ == 0) first = i;
  EXPECT_EQ(diffs, 0u) << "first difference at " << first << ": " << a[first] << " vs "
                       << b[first];
  EXPECT_GT(Peak(a), 0.01f);  // not trivially silent
}

// After blocks have run (even silent ones), the engine's equaliser bands have
// already glided to their settings while a fresh instance glides into them
// over its first blocks, and its filter states hold tiny anti-denormal
// offsets a rebuild keeps. So: equal to a whisper once a fresh glide is over.
void ExpectClose(const std::vector<float>& a, const std::vector<float>& b) {
  ASSERT_EQ(a.size(), b.size());
  constexpr size_t kGlide = 2 * 8 * 512;  // eight blocks of 512 stereo frames
  float worst = 0;
  for (size_t i = kGlide; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
  EXPECT_LT(worst, 1e-5f);
  EXPECT_GT(Peak(a), 0.01f);
}

// Test signal: a few decaying noise bursts and a sine, deterministic.
void MakeSignal(std::vector<float>& l, std::vector<float>& r, int frames, unsigned seed = 1) {
  l.assign(frames, 0.0f);
  r.assign(frames, 0.0f);
  unsigned s = seed * 2654435761u + 12345u;
  const auto noise = [&s] {
    s = s * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int>(s >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
  };
  for (int i = 0; i < frames; ++i) {
    const int t = i % 11025;
    const float env = t < 2000 ? std::exp(-static_cast<float>(t) / 300.0f) : 0.0f;
    const float tone = 0.25f * std::sin(0.0313f * static_cast<float>(i));
    l[i] = env * noise() * 0.8f + tone;
    r[i] = env * noise() * 0.6f - 0.5f * tone;
  }
}

class Audio : public ::testing::Test {
 protected:
  void SetUp() override { MakeSignal(l, r, kFrames); }
  static constexpr int kFrames = 44100;
  std::vector<float> l, r;

  std::vector<float> Plain(const Settings& s, float rate = 44100, int block = 512) {
    Plugin p;
    SetAll(p, s);
    p.Start(rate, block);
    return p.Run(l, r, block);
  }
};
}  // namespace

TEST_F(Audio, StandardSequenceMatchesTheEngine) {
  ExpectSame(Plain(kDefault), Engine(44100, 512, kDefault, l, r, 512));
  ExpectSame(Plain(kBusy), Engine(44100, 512, kBusy, l, r, 512));
  ExpectSame(Plain(kBusy, 48000, 256), Engine(48000, 256, kBusy, l, r, 256));
}

TEST_F(Audio, FactoryProgramMatchesTheEngine) {
  Plugin p;
  p.Dispatch(effSetProgram, 0, 8);
  p.Start(44100, 512);
  ExpectSame(p.Run(l, r, 512), Engine(44100, 512, kLongAmbience, l, r, 512));
}

TEST_F(Audio, RateChangeKeepsEveryParameter) {
  // Silence first: what is compared is the shell's re-application of the
  // parameters at the new rate, not leftovers of an earlier signal.
  const std::vector<float> silence(l.size(), 0.0f);
  Plugin p;
  SetAll(p, kBusy);
  p.Start(44100, 512);
  p.Run(silence, silence, 512);
  p.Dispatch(effMainsChanged, 0, 0);
  float before[18];
  for (int i = 0; i < 18; ++i) before[i] = p.Get(i);
  p.Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(p.Get(i), before[i]);
  p.Dispatch(effMainsChanged, 0, 1);
  ExpectClose(p.Run(l, r, 512), Engine(96000, 512, kBusy, l, r, 512));
}

TEST_F(Audio, ScanningInstanceIsHarmless) {
  {
    Plugin scan;
    scan.Dispatch(effOpen);
    char buf[64];
    scan.Dispatch(effGetEffectName, 0, 0, buf);
    scan.Dispatch(effGetVendorString, 0, 0, buf);
    scan.Dispatch(effGetPlugCategory);
    scan.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo"));
    scan.Dispatch(effMainsChanged, 0, 0);  // suspend without any resume
  }  // closed, never a sample rate
  ExpectSame(Plain(kBusy), Engine(44100, 512, kBusy, l, r, 512));
}

TEST_F(Audio, ResumeTwiceInARow) {
  Plugin p;
  SetAll(p, kBusy);
  p.Start(44100, 512);
  p.Dispatch(effMainsChanged, 0, 1);
  ExpectSame(p.Run(l, r, 512), Plain(kBusy));
}

TEST_F(Audio, ProcessingBeforeRateAndBlockSize) {
  // Hosts that process before setting up send silence: afterwards the
  // plug-in must play exactly as if set up first.
  const std::vector<float> silence(l.size(), 0.0f);
  Plugin p;
  SetAll(p, kBusy);
  p.Dispatch(effOpen);
  p.Dispatch(effMainsChanged, 0, 1);
  const std::vector<float> early = p.Run(silence, silence, 4096);  // beyond the default block
  EXPECT_LT(Peak(early), 1e-6f);
  p.Dispatch(effMainsChanged, 0, 0);
  p.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  p.Dispatch(effSetBlockSize, 0, 512);
  p.Dispatch(effMainsChanged, 0, 1);
  ExpectClose(p.Run(l, r, 512), Plain(kBusy));

  // With a real signal before the setup the result stays sound.
  Plugin q;
  q.Dispatch(effOpen);
  for (float v : q.Run(l, r, 4096)) ASSERT_TRUE(std::isfinite(v));
  q.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  q.Dispatch(effSetBlockSize, 0, 512);
  q.Dispatch(effMainsChanged, 0, 1);
  const std::vector<float> out = q.Run(l, r, 512);
  for (float v : out) ASSERT_TRUE(std::isfinite(v));
  EXPECT_LT(Peak(out), 8.0f);
}

TEST_F(Audio, BlockSize8192SetWhileSuspended) {
  Plugin p;
  SetAll(p, kBusy);
  p.Start(44100, 512);
  p.Dispatch(effMainsChanged, 0, 0);
  p.Dispatch(effSetBlockSize, 0, 8192);
  p.Dispatch(effMainsChanged, 0, 1);
  ExpectSame(p.Run(l, r, 8192), Plain(kBusy, 44100, 8192));
  ExpectSame(Plain(kBusy, 44100, 8192), Engine(44100, 8192, kBusy, l, r, 8192));
}

TEST_F(Audio, ParametersRestoredOneByOneAroundResume) {
  Plugin p;
  p.Dispatch(effOpen);
  p.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  p.Dispatch(effSetBlockSize, 0, 512);
  SetAll(p, kBusy);
  p.Dispatch(effMainsChanged, 0, 1);
  SetAll(p, kBusy);
  ExpectSame(p.Run(l, r, 512), Plain(kBusy));
}

TEST_F(Audio, RefusedRatesAndBlockSizesChangeNothing) {
  Plugin p;
  SetAll(p, kBusy);
  p.Dispatch(effOpen);
  p.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  p.Dispatch(effSetBlockSize, 0, 512);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float rate : {0.0f, -44100.0f, nan, inf, -inf, 1e12f, 10.0f})
    p.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  for (VstIntPtr n : {VstIntPtr{0}, VstIntPtr{-512}, VstIntPtr{1} << 21, VstIntPtr{1} << 40,
                      -(VstIntPtr{1} << 40)})
    p.Dispatch(effSetBlockSize, 0, n);
  p.Dispatch(effMainsChanged, 0, 1);
  ExpectSame(p.Run(l, r, 512), Plain(kBusy));
}

TEST_F(Audio, InPlaceProcessingMatches) {
  Plugin p;
  SetAll(p, kBusy);
  p.Start(44100, 512);
  std::vector<float> out(2 * l.size());
  std::vector<float> bl(512), br(512);
  for (int pos = 0; pos < kFrames; pos += 512) {
    const int n = std::min(512, kFrames - pos);
    std::copy_n(l.begin() + pos, n, bl.begin());
    std::copy_n(r.begin() + pos, n, br.begin());
    float* io[2] = {bl.data(), br.data()};
    p.effect()->processReplacing(p.effect(), io, io, n);
    for (int i = 0; i < n; ++i) {
      out[2 * (pos + i)] = bl[i];
      out[2 * (pos + i) + 1] = br[i];
    }
  }
  ExpectSame(out, Plain(kBusy));
}

TEST_F(Audio, SuspendClearsTheTailAndResumeKeepsIt) {
  std::vector<float> silence(8192, 0.0f);
  Plugin keep, clear;
  for (Plugin* p : {&keep, &clear}) {
    SetAll(*p, kBusy);
    p->Start(44100, 512);
    p->Run(l, r, 512);
  }
  keep.Dispatch(effMainsChanged, 0, 1);
  clear.Dispatch(effMainsChanged, 0, 0);
  clear.Dispatch(effMainsChanged, 0, 1);
  // The engine's reset leaves the late lines' filter states, which feed a
  // faint tail back in; the delay memories themselves must be gone.
  EXPECT_GT(Peak(keep.Run(silence, silence, 512)), 0.03f);
  EXPECT_LT(Peak(clear.Run(silence, silence, 512)), 0.025f);
}

TEST_F(Audio, HostileProcessCallsAreSafe) {
  Plugin p;
  p.Start(44100, 256);
  std::vector<float> a(4096, 0.5f), b(4096, 0.5f), c(4096), d(4096);
  float* in[2] = {a.data(), b.data()};
  float* out[2] = {c.data(), d.data()};
  float* holes[2] = {a.data(), nullptr};
  AEffect* e = p.effect();
  e->processReplacing(e, in, out, 4096);  // longer than the block size
  for (float v : c) ASSERT_TRUE(std::isfinite(v));
  e->processReplacing(e, in, out, 0);
  e->processReplacing(e, in, out, -5);
  e->processReplacing(e, nullptr, out, 64);
  e->processReplacing(e, in, nullptr, 64);
  e->processReplacing(e, holes, out, 64);
  e->processReplacing(e, in, holes, 64);
  e->process(e, in, out, 64);  // the deprecated accumulating call does nothing
}

// The host's automation thread sets parameters while its audio thread
// processes and its UI thread reads texts back (ThreadSanitizer checks this).
TEST_F(Audio, ParametersFromAnotherThreadWhileProcessing) {
  Plugin p;
  p.Start(44100, 256);
  std::atomic<bool> done{false};
  std::thread automation([&p, &done] {
    unsigned s = 7;
    while (!done.load()) {
      s = s * 1664525u + 1013904223u;
      const int index = static_cast<int>(s % 18);
      if (index == kSize) continue;  // a size change rebuilds cells: keep the run short
      p.Set(index, static_cast<float>(s >> 8) / 16777216.0f);
    }
  });
  std::thread ui([&p, &done] {
    while (!done.load())
      for (int i = 0; i < 18; ++i) {
        p.Get(i);
        p.Display(i);
      }
  });
  std::vector<float> bl(256), br(256), ol(256), orr(256);
  bool finite = true;
  for (int block = 0; block < 400; ++block) {
    for (int i = 0; i < 256; ++i) bl[i] = br[i] = l[(block * 256 + i) % kFrames];
    float* in[2] = {bl.data(), br.data()};
    float* out[2] = {ol.data(), orr.data()};
    p.effect()->processReplacing(p.effect(), in, out, 256);
    for (int i = 0; i < 256; ++i) finite = finite && std::isfinite(ol[i]) && std::isfinite(orr[i]);
  }
  done = true;
  automation.join();
  ui.join();
  EXPECT_TRUE(finite);
}
