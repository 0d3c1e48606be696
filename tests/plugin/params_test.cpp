// Parameters through the host interface: values, display texts, labels, names,
// refused input and the size of what is written into host buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/param_ranges.h"
#include "tests/support/vst2/plugin.h"

namespace {
// The smallest normalised value whose physical value reaches `target`.
float XFor(int index, float target) {
  const float lo = kParamRanges[index].min, range = kParamRanges[index].max - lo;
  float x = (target - lo) / range;
  while (lo + x * range < target) x = std::nextafter(x, 2.0f);
  while (lo + std::nextafter(x, -1.0f) * range >= target) x = std::nextafter(x, -1.0f);
  return x;
}

std::string Shown(Plugin& p, int index) { return p.Display(index) + " " + p.Label(index); }
}  // namespace

TEST(Params, DefaultsAfterCreation) {
  Plugin p;
  const float expected[18] = {1, 1, 1, 0.955f, 0.98f, 0, 0, 0.392f, 0, 0.5f, 0.75f,
                              0.333333f, 0.0769231f, 0.487179f, 0.5f, 0.023569f, 0.5f, 0.186992f};
  for (int i = 0; i < 18; ++i) EXPECT_NEAR(p.Get(i), expected[i], 1e-6) << i;
  const char* shown[18] = {"0.00 dB", "0.00 dB", "0.00 dB", "-9.00 dB", "-4.00 dB", "0.00 ms",
                           "0.00 ms", "1.50 sec", "Off ", "50.0 %", "150 %", "1.00 x", "200 Hz",
                           "10.0 kHz", "0.00 dB", "100 Hz", "0.00 dB", "2.00 kHz"};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(Shown(p, i), shown[i]) << i;
}

// What hosts have stored sessions with: each parameter's two ends, as shown.
TEST(Params, RangeEndsAsHostsSeeThem) {
  Plugin p;
  const char* bottom[18] = {"-oo dB", "-oo dB", "-oo dB", "-oo dB", "-oo dB", "0.00 ms",
                            "0.00 ms", "0.10 sec", "Off ", "0.00 %", "0.00 %", "0.00 x",
                            "50.0 Hz", "500 Hz", "-15.0 dB", "30.0 Hz", "-15.0 dB", "160 Hz"};
  const char* top[18] = {"0.00 dB", "0.00 dB", "0.00 dB", "0.00 dB", "0.00 dB", "200 ms",
                         "200 ms", "100 sec", "On ", "100 %", "200 %", "3.00 x", "2.00 kHz",
                         "20.0 kHz", "15.0 dB", "3.00 kHz", "15.0 dB", "10.0 kHz"};
  for (int i = 0; i < 18; ++i) {
    p.Set(i, 0.0f);
    EXPECT_EQ(Shown(p, i), bottom[i]) << i;
    p.Set(i, 1.0f);
    EXPECT_EQ(Shown(p, i), top[i]) << i;
  }
}

TEST(Params, Names) {
  Plugin p;
  const char* names[18] = {"Input Level", "Output Level", "Dry Level", "ER Level", "Late Level",
                           "Predelay Left", "Predelay Right", "Decay Time", "Decay Freeze",
                           "Size", "Wide", "Bass Ratio", "Crossover", "High Damping",
                           "EQ Low Band Level", "EQ Low Band Freq", "EQ Hi Band Level",
                           "EQ Hi Band Freq"};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(p.Name(i), names[i]);
}

TEST(Params, DisplayEdges) {
  Plugin p;
  p.Set(0, 0.0f);
  EXPECT_EQ(Shown(p, 0), "-oo dB");
  EXPECT_EQ(p.Get(0), 0.0f);
  p.Set(0, 0.00005f);
  EXPECT_EQ(Shown(p, 0), "-200 dB");
  p.Set(7, 0.0f);
  EXPECT_EQ(Shown(p, 7), "0.10 sec");
  p.Set(7, 1.0f);
  EXPECT_EQ(Shown(p, 7), "100 sec");
  p.Set(8, 0.24f);
  EXPECT_EQ(p.Display(8), "Off");
  EXPECT_EQ(p.Get(8), 0.0f);
  p.Set(8, 0.25f);
  EXPECT_EQ(p.Display(8), "On");
  EXPECT_EQ(p.Get(8), 1.0f);
  EXPECT_EQ(p.Label(8), "");

  p.Set(12, XFor(12, 999.6f));
  EXPECT_EQ(Shown(p, 12), "1000 Hz");
  p.Set(12, XFor(12, 1000.0f));
  EXPECT_EQ(Shown(p, 12), "1.00 kHz");
  p.Set(13, XFor(13, 9995.0f));
  EXPECT_EQ(Shown(p, 13), "10.0 kHz");
  p.Set(13, XFor(13, 9994.0f));
  EXPECT_EQ(Shown(p, 13), "9.99 kHz");
  p.Set(13, 1.0f);
  EXPECT_EQ(Shown(p, 13), "20.0 kHz");
  p.Set(5, 9.996f / 200.0f);
  EXPECT_EQ(Shown(p, 5), "10.0 ms");
  p.Set(5, 99.96f / 200.0f);
  EXPECT_EQ(Shown(p, 5), "100.0 ms");
  p.Set(14, 0.0f);
  EXPECT_EQ(Shown(p, 14), "-15.0 dB");
}

TEST(Params, RefusedValuesAndIndicesChangeNothing) {
  Plugin p;
  p.Set(3, 0.5f);
  float before[18];
  std::string shown[18];
  for (int i = 0; i < 18; ++i) {
    before[i] = p.Get(i);
    shown[i] = p.Display(i);
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float x : {1.5f, -0.1f, nan, -nan, inf, -inf, 1.0000001f, -1e-30f}) {
    for (int i = 0; i < 18; ++i) p.Set(i, x);
  }
  for (int i : {18, -1, 1000, std::numeric_limits<int>::min()}) {
    p.Set(i, 0.5f);
    EXPECT_EQ(p.Get(i), 0.0f);
    EXPECT_EQ(p.Display(i), "0.");
    EXPECT_EQ(p.Label(i), "");
    EXPECT_EQ(p.Name(i), "");
  }
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(p.Get(i), before[i]) << i;
    EXPECT_EQ(p.Display(i), shown[i]) << i;
  }
}

TEST(Params, NormalisedValueReadsBackAsSet) {
  Plugin p;
  for (int i = 0; i < 18; ++i) {
    if (i == 8) continue;
    for (float x : {0.0f, 0.125f, 0.5f, 0.75f, 1.0f}) {
      p.Set(i, x);
      EXPECT_NEAR(p.Get(i), x, 1e-6) << i;
    }
  }
}

// Nothing is ever written past the bytes we document: 8 for display texts and
// labels, 32 for names, 24 for program names. A buffer of exactly that size
// is followed by canary bytes.
TEST(Params, HostBuffersAreNeverOverrun) {
  Plugin p;
  struct Guarded {
    char text[32 + 8];
    char canary[16];
  };
  const auto check = [&p](VstInt32 op, int index, size_t bytes) {
    Guarded g;
    std::memset(&g, 0x7E, sizeof g);
    char* buf = g.text + sizeof g.text - bytes;  // the canary follows the last byte
    p.Dispatch(op, index, 0, buf);
    EXPECT_LT(std::strlen(buf), bytes);
    for (char c : g.canary) ASSERT_EQ(c, 0x7E) << "opcode " << op << " index " << index;
  };
  for (int prog = 0; prog < 16; ++prog) {
    p.Dispatch(effSetProgram, 0, prog);
    for (int i = -1; i <= 18; ++i) {
      check(effGetParamDisplay, i, 8);
      check(effGetParamLabel, i, 8);
      check(effGetParamName, i, 32);
    }
    check(effGetProgramName, 0, 24);
  }
  for (int i = 0; i < 18; ++i) {
    for (float x : {0.0f, 0.00005f, 0.001f, 0.3333f, 0.4999f, 0.5f, 0.9999f, 1.0f}) {
      p.Set(i, x);
      check(effGetParamDisplay, i, 8);
      check(effGetParamLabel, i, 8);
    }
  }
}
