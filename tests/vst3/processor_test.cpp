// Soravel.vst3's processor through the built module: buses, set-up, the orders
// hosts call in, parameter queues at sample offsets against the engine driven
// directly, program changes, renders against Soravel.so, and a host that sets
// state from its GUI thread while the audio thread processes.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/reverb.h"
#include "formats/vst3/params.h"
#include "plugin/param.h"
#include "plugin/program.h"
#include "tests/support/vst2/plugin.h"
#include "tests/vst3/vst3_host.h"

namespace vst3test {
namespace {

float Physical(int i, double x) {
  TParam p;
  p.Init(kParamTable[i]);
  p.SetNormalized(static_cast<float>(x));
  return p.Value();
}

// The engine as the processor should drive it: set up like setupProcessing, the
// defaults applied before the first sample.
struct TEngine {
  explicit TEngine(int block = 512) {
    r.SetSampleRate(44100.0f);
    r.SetBlockSize(block);
    for (int i = 0; i < kNumParams; ++i) r.SetParameter(i, Physical(i, DefaultNormalized(i)));
  }
  // Frames [from, to) of interleaved `in` into `out`.
  void Run(const std::vector<float>& in, std::vector<float>& out, size_t from, size_t to) {
    std::vector<float> l(to - from), rr(to - from), ol(to - from), orr(to - from);
    for (size_t i = from; i < to; ++i) {
      l[i - from] = in[2 * i];
      rr[i - from] = in[2 * i + 1];
    }
    const float* ins[2] = {l.data(), rr.data()};
    float* outs[2] = {ol.data(), orr.data()};
    r.Process(ins, outs, static_cast<int>(to - from));
    for (size_t i = from; i < to; ++i) {
      out[2 * i] = ol[i - from];
      out[2 * i + 1] = orr[i - from];
    }
  }
  TReverb r;
};

std::vector<float> Noise(int frames) {
  std::vector<float> s(2 * static_cast<size_t>(frames));
  uint32_t seed = 99;
  for (float& x : s) {
    seed = seed * 1664525u + 1013904223u;
    x = 0.4f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
  }
  return s;
}

// One process call of interleaved frames [from, to) through `p`.
void Block(TPlugin& p, const std::vector<float>& in, std::vector<float>& out, size_t from, size_t to,
           TChanges* changes = nullptr, TChanges* reported = nullptr) {
  const size_t n = to - from;
  std::vector<float> l(n), r(n), ol(n), orr(n);
  for (size_t i = 0; i < n; ++i) {
    l[i] = in[2 * (from + i)];
    r[i] = in[2 * (from + i) + 1];
  }
  TChanges none;
  EXPECT_EQ(p.Process(l.data(), r.data(), ol.data(), orr.data(), static_cast<int32>(n),
                      changes ? changes : &none, reported),
            kResultOk);
  for (size_t i = 0; i < n; ++i) {
    out[2 * (from + i)] = ol[i];
    out[2 * (from + i) + 1] = orr[i];
  }
}

}  // namespace

// One stereo bus each way; stereo is the only arrangement; 32-bit only; no latency,
// and a tail without end (Decay Freeze rings for ever).
TEST(Vst3Processor, StereoBusesOnly) {
  TPlugin p;
  ASSERT_TRUE(p.Ok()) << TLoadedModule::Get().error;
  IComponent* c = p.component;
  EXPECT_EQ(c->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(c->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(c->getBusCount(kEvent, kInput), 0);
  BusInfo bus{};
  ASSERT_EQ(c->getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.busType, kMain);
  EXPECT_EQ(bus.flags, BusInfo::kDefaultActive);
  EXPECT_EQ(c->getBusInfo(kAudio, kOutput, 1, bus), kInvalidArgument);
  EXPECT_EQ(c->getBusInfo(kEvent, kInput, 0, bus), kInvalidArgument);

  IAudioProcessor* a = p.processor;
  SpeakerArrangement stereo = kStereo, mono = kSpeakerL, surround = 0x3F;
  SpeakerArrangement two[2] = {kStereo, kStereo};
  EXPECT_EQ(a->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
  EXPECT_EQ(a->setBusArrangements(&mono, 1, &mono, 1), kResultFalse);
  EXPECT_EQ(a->setBusArrangements(&stereo, 1, &surround, 1), kResultFalse);
  EXPECT_EQ(a->setBusArrangements(two, 2, two, 2), kResultFalse);
  EXPECT_EQ(a->setBusArrangements(nullptr, 1, &stereo, 1), kResultFalse);
  SpeakerArrangement now = 0;
  EXPECT_EQ(a->getBusArrangement(kInput, 0, now), kResultOk);
  EXPECT_EQ(now, kStereo);
  EXPECT_EQ(a->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(a->canProcessSampleSize(kSample64), kResultFalse);
  EXPECT_EQ(a->getLatencySamples(), 0u);
  EXPECT_EQ(a->getTailSamples(), kInfiniteTail);
}

// Rates, block sizes and sample sizes the engine refuses are refused and change
// nothing: afterwards the processor renders as a fresh one.
TEST(Vst3Processor, SetupRefusesWhatTheEngineRefuses) {
  TPlugin p, fresh;
  ASSERT_TRUE(p.Ok() && fresh.Ok());
  for (double rate : {0.0, -48000.0, 999.0, 2.0e6, double(NAN), double(INFINITY)}) {
    ProcessSetup s{0, kSample32, 512, rate};
    EXPECT_EQ(p.processor->setupProcessing(s), kResultFalse) << rate;
  }
  for (int32 block : {0, -1, TReverb::kMaxBlockSize + 1}) {
    ProcessSetup s{0, kSample32, block, 48000.0};
    EXPECT_EQ(p.processor->setupProcessing(s), kResultFalse) << block;
  }
  ProcessSetup wide{0, kSample64, 512, 48000.0};
  EXPECT_EQ(p.processor->setupProcessing(wide), kResultFalse);
  ASSERT_TRUE(p.Start(48000.0));
  ProcessSetup whileActive{0, kSample32, 512, 96000.0};
  EXPECT_EQ(p.processor->setupProcessing(whileActive), kResultFalse);
  ASSERT_TRUE(fresh.Start(48000.0));
  const std::vector<float> in = Noise(8000);
  EXPECT_EQ(LargestDifference(p.Run(in, 512), fresh.Run(in, 512)), 0.0f);
}

// Hosts call in any order: processing before set-up runs at 44.1 kHz; in place
// equals out of place; a call without samples still takes its changes; a call
// without usable input is answered with silence, without output with nothing, and
// 64-bit samples with silence.
TEST(Vst3Processor, AnyOrderInPlaceAndMissingBuffers) {
  const std::vector<float> in = Noise(3000);
  TPlugin early, set;
  ASSERT_TRUE(early.Ok() && set.Ok());
  std::vector<float> a(in.size()), b(in.size());
  for (size_t f = 0; f < 3000; f += 500) Block(early, in, a, f, f + 500);
  ASSERT_TRUE(set.Start(44100.0, 500));
  for (size_t f = 0; f < 3000; f += 500) Block(set, in, b, f, f + 500);
  EXPECT_EQ(LargestDifference(a, b), 0.0f);

  TPlugin inPlace;
  ASSERT_TRUE(inPlace.Ok() && inPlace.Start(44100.0, 500));
  std::vector<float> l(3000), r(3000);
  for (size_t i = 0; i < 3000; ++i) {
    l[i] = in[2 * i];
    r[i] = in[2 * i + 1];
  }
  for (int f = 0; f < 3000; f += 500) inPlace.Process(&l[f], &r[f], &l[f], &r[f], 500);
  for (size_t i = 0; i < 3000; ++i) {
    ASSERT_EQ(l[i], b[2 * i]) << i;
    ASSERT_EQ(r[i], b[2 * i + 1]) << i;
  }

  TChanges size;
  size.Add(kSize, 0, 0.25);
  float silent[8] = {};
  EXPECT_EQ(inPlace.Process(silent, silent, silent, silent, 0, &size), kResultOk);
  EXPECT_EQ(inPlace.controller->getParamNormalized(kSize), DefaultNormalized(kSize))
      << "the controller hears of it from the host, not from the processor";

  float out[2][8];
  float* outs[2] = {out[0], out[1]};
  AudioBusBuffers output{};
  output.numChannels = 2;
  output.channelBuffers32 = outs;
  ProcessData d{};
  d.numSamples = 8;
  d.numOutputs = 1;
  d.outputs = &output;
  for (auto& c : out)
    for (float& x : c) x = 1.0f;
  EXPECT_EQ(inPlace.processor->process(d), kResultOk);  // no input bus
  for (auto& c : out)
    for (float x : c) EXPECT_EQ(x, 0.0f);
  d.numOutputs = 0;
  EXPECT_EQ(inPlace.processor->process(d), kResultOk);  // nothing to write
  d.numOutputs = 1;
  output.channelBuffers32 = nullptr;
  EXPECT_EQ(inPlace.processor->process(d), kResultOk);
  double wide[2][8] = {{1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}};
  double* wides[2] = {wide[0], wide[1]};
  output.channelBuffers64 = wides;
  d.symbolicSampleSize = kSample64;
  EXPECT_EQ(inPlace.processor->process(d), kResultFalse);
  for (auto& c : wide)
    for (double x : c) EXPECT_EQ(x, 0.0);
}

// Each point takes effect at its sample offset: the block is split there and the
// engine's rule applies to each piece, exactly as the engine driven piece by
// piece; the last point of a queue holds into the next block.
TEST(Vst3Queues, ChangesTakeEffectAtTheirOffsets) {
  const std::vector<float> in = Noise(1024);
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start());
  TChanges changes;
  changes.Add(kDryLevel, 100, 0.5);
  changes.Add(kDryLevel, 300, 0.2);
  changes.Add(kSize, 300, 0.8);
  changes.Add(kDecayTime, 511, 0.9);
  std::vector<float> got(in.size());
  Block(p, in, got, 0, 512, &changes);
  Block(p, in, got, 512, 1024);

  TEngine e;
  std::vector<float> want(in.size());
  e.Run(in, want, 0, 100);
  e.r.SetParameter(kDryLevel, Physical(kDryLevel, 0.5));
  e.Run(in, want, 100, 300);
  e.r.SetParameter(kDryLevel, Physical(kDryLevel, 0.2));
  e.r.SetParameter(kSize, Physical(kSize, 0.8));
  e.Run(in, want, 300, 511);
  e.r.SetParameter(kDecayTime, Physical(kDecayTime, 0.9));
  e.Run(in, want, 511, 512);
  e.Run(in, want, 512, 1024);
  EXPECT_EQ(LargestDifference(got, want), 0.0f);
}

// Points the other formats would not take are ignored (NaN, outside 0..1, unknown
// ids); an offset before the block counts as its start, one beyond it as its end.
TEST(Vst3Queues, BadPointsAreIgnoredAndOffsetsLimitedToTheBlock) {
  const std::vector<float> in = Noise(1024);
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start());
  TChanges changes;
  changes.Add(kSize, 0, NAN);
  changes.Add(kSize, 10, 1.5);
  changes.Add(kSize, 20, -0.25);
  changes.Add(999, 30, 0.5);
  changes.Add(kWide, -40, 0.1);
  changes.Add(kLateLevel, 5000, 0.5);
  std::vector<float> got(in.size());
  Block(p, in, got, 0, 512, &changes);
  Block(p, in, got, 512, 1024);

  TEngine e;
  std::vector<float> want(in.size());
  e.r.SetParameter(kWide, Physical(kWide, 0.1));
  e.Run(in, want, 0, 512);
  e.r.SetParameter(kLateLevel, Physical(kLateLevel, 0.5));
  e.Run(in, want, 512, 1024);
  EXPECT_EQ(LargestDifference(got, want), 0.0f);
  TStream s(p.State());
  s.at = 0;
  EXPECT_EQ(p.controller->setComponentState(&s), kResultOk);
  EXPECT_EQ(p.controller->getParamNormalized(kSize), DefaultNormalized(kSize));
}

// A program change sets the factory program at its offset and reports its 18
// values back at that offset, for the host to show.
TEST(Vst3Programs, AProgramChangeTakesEffectAtItsOffsetAndIsReported) {
  const std::vector<float> in = Noise(512);
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start());
  TChanges changes, reported;
  changes.Add(vst3::kProgramChangeId, 200, 5.0 / 15.0);
  std::vector<float> got(in.size());
  Block(p, in, got, 0, 512, &changes, &reported);
  ASSERT_EQ(reported.getParameterCount(), kNumParams);
  for (int i = 0; i < kNumParams; ++i) {
    const TQueue* q = reported.Find(static_cast<ParamID>(i));
    ASSERT_NE(q, nullptr) << i;
    ASSERT_EQ(q->points.size(), 1u);
    EXPECT_EQ(q->points[0].first, 200);
    EXPECT_EQ(q->points[0].second, FactoryNormalized(5, i)) << i;
  }
  TEngine e;
  std::vector<float> want(in.size());
  e.Run(in, want, 0, 200);
  TProgram large;
  LoadFactoryProgram(5, large);
  for (int i = 0; i < kNumParams; ++i) e.r.SetParameter(i, large.params[i].Value());
  e.Run(in, want, 200, 512);
  EXPECT_EQ(LargestDifference(got, want), 0.0f);
}

// The same programs through both formats: Soravel.so and Soravel.vst3 render the
// same samples once the first second (silence) has passed.
TEST(Vst3Render, ProgramsRenderAsSoravelSoRendersThem) {
  const std::vector<float> in = TestSignal(3 * 44100);
  std::vector<float> l(in.size() / 2), r(in.size() / 2);
  for (size_t i = 0; i < l.size(); ++i) {
    l[i] = in[2 * i];
    r[i] = in[2 * i + 1];
  }
  for (int k : {0, 1, 5, 10, 15}) {
    Plugin vst2;
    vst2.Start(44100.0f, 512);
    vst2.Dispatch(effSetProgram, 0, k);
    const std::vector<float> want = vst2.Run(l, r, 512);
    TPlugin p;
    ASSERT_TRUE(p.Ok() && p.Start(44100.0, 512));
    TChanges program;
    if (k > 0) program.Add(vst3::kProgramChangeId, 0, k / 15.0);
    const std::vector<float> got = p.Run(in, 512, &program);
    float peak = 0.0f;
    for (size_t i = 2 * 44100; i < got.size(); ++i) peak = std::max(peak, std::fabs(got[i]));
    EXPECT_GT(peak, 1e-3f) << k;
    EXPECT_EQ(LargestDifference(got, want, 44100), 0.0f) << "program " << k;
  }
}

// The GUI thread sets and gets the state while the audio thread processes with
// automation of another parameter: every state set is whole, the last one stays
// (and, under ThreadSanitizer, nothing races).
TEST(Vst3Threads, StateFromTheGuiThreadWhileTheAudioThreadProcesses) {
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start(44100.0, 256));
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> l(256, 0.1f), r(256, -0.1f);
    for (int n = 0; !stop.load(); ++n) {
      TChanges c;
      c.Add(kWide, n % 256, (n % 100) / 100.0);
      p.Process(l.data(), r.data(), l.data(), r.data(), 256, &c);
    }
  });
  const size_t at = 12 + 8 * kSize;  // Size in the record (state.h)
  double size = 0.0;
  for (int n = 0; n < 300; ++n) {
    std::vector<unsigned char> s = p.State();
    size = n / 300.0;
    std::memcpy(&s[at], &size, sizeof size);  // little-endian, as the record
    TStream in(s);
    ASSERT_EQ(p.component->setState(&in), kResultOk);
  }
  stop = true;
  audio.join();
  const std::vector<unsigned char> s = p.State();
  double kept = -1.0;
  std::memcpy(&kept, &s[at], sizeof kept);
  EXPECT_EQ(kept, size);
}

}  // namespace vst3test
