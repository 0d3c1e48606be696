// The state record through the built module: it round-trips exactly (bytes and
// sound), the controller gets the same values from it, and any stream that is not
// exactly one record of ours is refused without a change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "formats/vst3/params.h"
#include "plugin/program.h"
#include "tests/vst3/vst3_host.h"

namespace vst3test {
namespace {

// A processor with edits of its own: Far Space, then Size, Decay Time and Freeze.
TChanges& Edits() {
  static TChanges c;
  if (c.queues.empty()) {
    c.Add(vst3::kProgramChangeId, 0, 7.0 / 15.0);
    c.Add(kSize, 0, 0.3);
    c.Add(kDecayTime, 0, 0.123456789);
    c.Add(kDecayFreeze, 0, 0.6);  // kept as the switch's step: 1
  }
  return c;
}

std::vector<float> Noise(int frames) {
  std::vector<float> s(2 * static_cast<size_t>(frames));
  uint32_t seed = 7;
  for (float& x : s) {
    seed = seed * 1664525u + 1013904223u;
    x = 0.3f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
  }
  return s;
}

double Value(const std::vector<unsigned char>& state, int i) {
  double v;
  std::memcpy(&v, &state[12 + 8 * i], sizeof v);
  return v;
}

}  // namespace

// getState, setState, getState: the same bytes; a processor given the state
// renders as the one that made it (with the edits from its first sample); the
// controller reads the same values; a stream that moves one byte a call works.
TEST(Vst3State, RoundTripsExactly) {
  const std::vector<float> in = Noise(6000);
  TPlugin made;
  ASSERT_TRUE(made.Ok() && made.Start());
  const std::vector<float> madeOut = made.Run(in, 512, &Edits());
  const std::vector<unsigned char> state = made.State();
  ASSERT_EQ(state.size(), 156u);
  EXPECT_EQ(std::memcmp(state.data(), "QMNL", 4), 0);
  EXPECT_EQ(state[8], 7);
  EXPECT_EQ(Value(state, kSize), 0.3);
  EXPECT_EQ(Value(state, kDecayTime), 0.123456789);
  EXPECT_EQ(Value(state, kDecayFreeze), 1.0);
  EXPECT_EQ(Value(state, kWide), FactoryNormalized(7, kWide));

  TPlugin restored;
  ASSERT_TRUE(restored.Ok());
  TStream s(state);
  s.step = 1;
  ASSERT_EQ(restored.component->setState(&s), kResultOk);  // before set-up and activation
  EXPECT_EQ(restored.State(), state);
  ASSERT_TRUE(restored.Start());
  EXPECT_EQ(LargestDifference(restored.Run(in, 512), madeOut), 0.0f);

  s.at = 0;
  ASSERT_EQ(restored.controller->setComponentState(&s), kResultOk);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(restored.controller->getParamNormalized(static_cast<ParamID>(i)), Value(state, i)) << i;
  EXPECT_EQ(restored.controller->getParamNormalized(vst3::kProgramChangeId), 7.0 / 15.0);

  TStream again(state);
  ASSERT_EQ(made.component->setState(&again), kResultOk);  // while active
  EXPECT_EQ(made.State(), state);
}

// Fewer or more bytes, another mark or version, a program or value out of range,
// no stream: refused by the component and the controller, and nothing changes.
TEST(Vst3State, OtherStreamsAreRefusedWithoutAChange) {
  TPlugin p;
  ASSERT_TRUE(p.Ok() && p.Start());
  const std::vector<float> in = Noise(512);
  p.Run(in, 512, &Edits());
  const std::vector<unsigned char> good = p.State();
  TStream sync(good);
  ASSERT_EQ(p.controller->setComponentState(&sync), kResultOk);

  std::vector<std::vector<unsigned char>> bad;
  bad.emplace_back();                                        // empty
  bad.emplace_back(good.begin(), good.end() - 1);            // truncated
  bad.push_back(good);
  bad.back().push_back(0);                                   // one byte more
  bad.push_back(good);
  bad.back()[0] = 'X';                                       // another plug-in's
  bad.push_back(good);
  bad.back()[4] = 2;                                         // a later version
  bad.push_back(good);
  bad.back()[8] = 16;                                        // no such program
  for (double v : {double(NAN), 1.5, -0.5}) {
    bad.push_back(good);
    std::memcpy(&bad.back()[12 + 8 * kWide], &v, sizeof v);  // a value out of range
  }
  for (size_t n = 0; n < bad.size(); ++n) {
    TStream a(bad[n]), b(bad[n]);
    EXPECT_EQ(p.component->setState(&a), kResultFalse) << n;
    EXPECT_EQ(p.controller->setComponentState(&b), kResultFalse) << n;
  }
  EXPECT_EQ(p.component->setState(nullptr), kResultFalse);
  EXPECT_EQ(p.controller->setComponentState(nullptr), kResultFalse);
  EXPECT_EQ(p.component->getState(nullptr), kResultFalse);
  EXPECT_EQ(p.State(), good);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(p.controller->getParamNormalized(static_cast<ParamID>(i)), Value(good, i)) << i;
}

}  // namespace vst3test
