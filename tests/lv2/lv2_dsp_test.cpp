// Soravel.lv2's DSP library loaded as a host loads it (dlopen, lv2_descriptor)
// and run beside the VST 2.x plug-in of this build on the same input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "formats/lv2/lv2.h"
#include "formats/lv2/ports.h"
#include "plugin/vst_plugin.h"
#include "soravel_product.h"
#include "tests/engine/engine_test_util.h"
#include "tests/support/module.h"

namespace {

// Loaded once, kept for the whole process as a host keeps it.
const TModule& Library() {
  static const TModule& lib = *new TModule(SORAVEL_LV2_BUNDLE "/soravel_dsp.so");
  return lib;
}
const LV2_Descriptor* Descriptor() {
  auto entry = Library().Symbol<const LV2_Descriptor* (*)(uint32_t)>("lv2_descriptor");
  return entry ? entry(0) : nullptr;
}

// One instance with every port connected to buffers of its own.
struct Lv2Instance {
  explicit Lv2Instance(double rate = 44100.0) {
    d = Descriptor();
    if (d) h = d->instantiate(d, rate, SORAVEL_LV2_BUNDLE, nullptr);
    if (!h) return;
    for (uint32_t i = 0; i < kNumParams; ++i) d->connect_port(h, kPortControl + i, &control[i]);
    for (uint32_t i = 0; i < 4; ++i) d->connect_port(h, kPortMeter + i, &meter[i]);
    d->activate(h);
  }
  ~Lv2Instance() {
    if (h) {
      d->deactivate(h);
      d->cleanup(h);
    }
  }
  // Runs `in` in blocks of `block` frames, in place when asked.
  Stereo Run(const Stereo& in, int block, bool inPlace = false) {
    Stereo out = in;
    Stereo src = in;
    for (size_t done = 0; done < in.size(); done += block) {
      const uint32_t n = static_cast<uint32_t>(std::min<size_t>(block, in.size() - done));
      d->connect_port(h, kPortAudioIn, (inPlace ? out.l.data() : src.l.data()) + done);
      d->connect_port(h, kPortAudioIn + 1, (inPlace ? out.r.data() : src.r.data()) + done);
      d->connect_port(h, kPortAudioOut, out.l.data() + done);
      d->connect_port(h, kPortAudioOut + 1, out.r.data() + done);
      d->run(h, n);
    }
    return out;
  }
  // The port values of a VST 2.x program, as the preset carries them.
  void SetProgram(int k) {
    VstPlugin v(nullptr);
    v.setProgram(k);
    for (int i = 0; i < kNumParams; ++i) control[i] = PortValue(i, v.CurrentParam(i)->Value());
  }
  const LV2_Descriptor* d = nullptr;
  LV2_Handle h = nullptr;
  float control[kNumParams] = {};
  float meter[4] = {};
};

Stereo VstRender(int program, const Stereo& in, int block) {
  VstPlugin v(nullptr);
  v.setSampleRate(44100.0f);
  v.setBlockSize(block);
  v.setProgram(program);
  Stereo out(in.size());
  for (size_t done = 0; done < in.size(); done += block) {
    const int n = static_cast<int>(std::min<size_t>(block, in.size() - done));
    float* ins[2] = {const_cast<float*>(in.l.data()) + done, const_cast<float*>(in.r.data()) + done};
    float* outs[2] = {out.l.data() + done, out.r.data() + done};
    v.processReplacing(ins, outs, n);
  }
  return out;
}

float LargestDifference(const Stereo& a, const Stereo& b, size_t from = 0) {
  float worst = 0.0f;
  for (size_t i = from; i < a.size(); ++i)
    worst = std::max({worst, std::fabs(a.l[i] - b.l[i]), std::fabs(a.r[i] - b.r[i])});
  return worst;
}

}  // namespace

TEST(Lv2Dsp, OneDescriptorUnderTheStableUri) {
  const LV2_Descriptor* d = Descriptor();
  ASSERT_NE(d, nullptr) << Library().Error();
  EXPECT_STREQ(d->URI, SORAVEL_LV2_URI);
  EXPECT_STREQ(d->URI, "https://www.quellmark.example/plugins/soravel");
  EXPECT_EQ(d->extension_data("http://lv2plug.in/ns/ext/state#interface"), nullptr);
}

// Rates the engine refuses refuse the instance; the rest make one.
TEST(Lv2Dsp, InstantiateRefusesRatesTheEngineRefuses) {
  const LV2_Descriptor* d = Descriptor();
  ASSERT_NE(d, nullptr);
  for (double rate : {0.0, -44100.0, 999.0, 2.0e6, 1e300, double(NAN), double(INFINITY)})
    EXPECT_EQ(d->instantiate(d, rate, SORAVEL_LV2_BUNDLE, nullptr), nullptr) << rate;
  for (double rate : {1000.0, 8000.0, 44100.0, 384000.0, 1.0e6}) {
    LV2_Handle h = d->instantiate(d, rate, SORAVEL_LV2_BUNDLE, nullptr);
    EXPECT_NE(h, nullptr) << rate;
    if (h) d->cleanup(h);
  }
}

// The same program through both formats: the same output, from the first
// block on, within float rounding (Decay Time goes through seconds and back).
TEST(Lv2Dsp, ProgramsRenderAsTheVstPluginRendersThem) {
  const Stereo in = NoiseBurst(44100, 8000);
  for (int k : {0, 3, 8, 13}) {
    Lv2Instance lv2;
    ASSERT_NE(lv2.h, nullptr);
    lv2.SetProgram(k);
    const Stereo a = VstRender(k, in, 512), b = lv2.Run(in, 512);
    EXPECT_LT(LargestDifference(a, b), 2e-6f) << "program " << k;
    EXPECT_GT(Rms(b.l, 20000, 44100), 1e-4) << "program " << k << " has no tail";
  }
}

// In place, in odd block lengths, or with a port changing now and then: the
// same output; a value is applied once, when it changes.
TEST(Lv2Dsp, InPlaceAndBlockSplitsChangeNothing) {
  const Stereo in = NoiseBurst(20000, 3000);
  Lv2Instance a, b, c;
  ASSERT_TRUE(a.h && b.h && c.h);
  for (auto* x : {&a, &b, &c}) x->SetProgram(5);
  const Stereo ref = a.Run(in, 256);
  EXPECT_EQ(LargestDifference(ref, b.Run(in, 256, true)), 0.0f);
  // The first block sets the ramps; after it, any split gives the same samples.
  Stereo split(in.size());
  Stereo first(256), rest(in.size() - 256);
  std::copy_n(in.l.begin(), 256, first.l.begin());
  std::copy_n(in.r.begin(), 256, first.r.begin());
  std::copy(in.l.begin() + 256, in.l.end(), rest.l.begin());
  std::copy(in.r.begin() + 256, in.r.end(), rest.r.begin());
  const Stereo head = c.Run(first, 256), tail = c.Run(rest, 77);
  std::copy(head.l.begin(), head.l.end(), split.l.begin());
  std::copy(head.r.begin(), head.r.end(), split.r.begin());
  std::copy(tail.l.begin(), tail.l.end(), split.l.begin() + 256);
  std::copy(tail.r.begin(), tail.r.end(), split.r.begin() + 256);
  EXPECT_EQ(LargestDifference(ref, split), 0.0f);
}

// Values no host should send: NaN is ignored, out-of-range values are limited
// like the VST 2.x plug-in's, a Decay Time of 0 s or less reads as 0.1 s.
TEST(Lv2Dsp, BadPortValuesAreIgnoredOrLimited) {
  const Stereo in = NoiseBurst(30000, 3000);
  Lv2Instance ref, bad;
  ASSERT_TRUE(ref.h && bad.h);
  ref.SetProgram(0);
  bad.SetProgram(0);
  ref.control[kSize] = 100.0f;
  bad.control[kSize] = 1.0e9f;
  ref.control[kDecayTime] = 0.1f;
  bad.control[kDecayTime] = -5.0f;
  Stereo head(512);
  EXPECT_EQ(LargestDifference(ref.Run(head, 512), bad.Run(head, 512)), 0.0f);
  bad.control[kWide] = NAN;  // ignored: the engine keeps 150 %
  EXPECT_LT(LargestDifference(ref.Run(in, 512), bad.Run(in, 512)), 1e-6f);
}

// The meters: silence at first, the input's and the output's peaks after a burst.
TEST(Lv2Dsp, MetersFollowTheAudio) {
  Lv2Instance p;
  ASSERT_NE(p.h, nullptr);
  p.SetProgram(0);
  p.Run(Stereo(512), 512);
  for (float m : p.meter) EXPECT_EQ(m, 0.0f);
  Stereo in(512);
  in.l[500] = 0.5f;
  in.r[500] = 0.25f;
  p.Run(in, 512);
  EXPECT_NEAR(p.meter[0], 0.5f * std::pow(0.999f, 11.0f), 1e-4f);
  EXPECT_NEAR(p.meter[1], 0.25f * std::pow(0.999f, 11.0f), 1e-4f);
  EXPECT_GT(p.meter[2], 0.1f);
  EXPECT_GT(p.meter[3], 0.05f);
}

// A host may run without connecting everything: nothing happens, nothing breaks.
TEST(Lv2Dsp, UnconnectedPortsAreSafe) {
  const LV2_Descriptor* d = Descriptor();
  ASSERT_NE(d, nullptr);
  LV2_Handle h = d->instantiate(d, 48000.0, SORAVEL_LV2_BUNDLE, nullptr);
  ASSERT_NE(h, nullptr);
  d->connect_port(h, kNumPorts, nullptr);  // no such port
  d->connect_port(h, 1000, nullptr);
  d->activate(h);
  d->run(h, 64);
  float l[64] = {}, r[64] = {};
  d->connect_port(h, kPortAudioIn, l);
  d->connect_port(h, kPortAudioOut, l);
  d->run(h, 64);  // the right channel still unconnected
  d->connect_port(h, kPortAudioIn + 1, r);
  d->connect_port(h, kPortAudioOut + 1, r);
  d->run(h, 64);
  d->run(h, 0);
  d->deactivate(h);
  d->cleanup(h);
}
