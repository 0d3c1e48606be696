// The program bank through the host interface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/vst2/plugin.h"

namespace {
const char* const kNames[16] = {"Default", "Cathedral", "Station", "Small Hall", "Medium Hall",
                                "Large Hall", "Stadium", "Far Space", "Long Ambience",
                                "Spring Reverb", "Metal And Vacuum", "Mellow", "Garage",
                                "Input In A Cave", "Dark Ambience", "Deep Underground"};

// Every cell as the host reads it; a trailing "k" marks kilohertz.
const char* const kShown[18][16] = {
    {"0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"},
    {"0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"},
    {"0.00", "0.00", "-4.21", "0.00", "0.00", "0.00", "0.00", "-4.21", "-5.48", "0.00", "0.00", "0.00", "0.00", "0.00", "-3.44", "-4.37"},
    {"-9.00", "-5.97", "-5.97", "-4.84", "-10.2", "-10.2", "-10.8", "-6.81", "-17.7", "-10.6", "-oo", "-8.73", "-9.64", "-7.32", "-22.5", "-oo"},
    {"-4.00", "-7.09", "-2.94", "-4.94", "-9.39", "-9.95", "-9.03", "-7.43", "-15.3", "-7.43", "-11.9", "-6.24", "-7.09", "-7.95", "-10.9", "-15.3"},
    {"0.00", "76.0", "75.0", "42.0", "39.0", "42.0", "120", "16.0", "174", "20.0", "0.00", "18.0", "14.0", "200", "0.00", "184"},
    {"0.00", "65.0", "78.0", "38.0", "72.0", "38.0", "137", "61.0", "31.0", "13.0", "0.00", "15.0", "14.0", "150", "0.00", "106"},
    {"1.50", "4.62", "2.02", "1.43", "2.66", "4.62", "4.62", "10.2", "48.4", "2.09", "3.16", "6.31", "1.95", "15.5", "33.1", "100"},
    {"Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off", "Off"},
    {"50.0", "90.5", "58.0", "33.5", "33.5", "55.0", "59.5", "100", "100", "8.00", "0.00", "11.5", "7.00", "65.5", "70.5", "100"},
    {"150", "152", "121", "122", "149", "122", "176", "176", "200", "163", "190", "162", "190", "42.0", "200", "200"},
    {"1.00", "1.51", "1.40", "0.50", "0.50", "1.03", "0.79", "3.00", "2.12", "1.61", "1.61", "0.54", "1.61", "2.54", "3.00", "3.00"},
    {"200", "316", "347", "511", "511", "511", "328", "699", "699", "699", "699", "520", "699", "73.7", "2.00k", "699"},
    {"10.0k", "3.16k", "8.25k", "4.09k", "4.57k", "5.20k", "2.83k", "5.01k", "20.0k", "5.01k", "5.01k", "6.49k", "5.01k", "1.60k", "6.49k", "20.0k"},
    {"0.00", "0.00", "-5.55", "-4.65", "-3.30", "0.00", "-5.55", "-5.55", "2.70", "-6.45", "0.00", "-6.60", "-3.60", "0.00", "-15.0", "3.60"},
    {"100", "490", "263", "102", "102", "490", "417", "417", "209", "417", "417", "100.0", "417", "417", "3.00k", "389"},
    {"0.00", "-4.80", "-4.80", "-5.40", "-3.90", "0.00", "-4.80", "-4.80", "-2.40", "-4.80", "0.00", "-6.00", "-2.70", "0.00", "0.00", "-11.7"},
    {"2.00k", "2.17k", "2.00k", "5.18k", "5.18k", "2.17k", "6.63k", "2.00k", "3.35k", "2.00k", "2.00k", "3.96k", "2.90k", "2.00k", "3.96k", "6.50k"},
};
const char* const kUnit[18] = {"dB", "dB", "dB", "dB", "dB", "ms", "ms", "sec", "", "%", "%",
                               "x", "Hz", "Hz", "dB", "Hz", "dB", "Hz"};

std::string IndexedName(Plugin& p, int index) {
  char buf[24];
  std::memset(buf, 'X', sizeof buf);
  if (p.Dispatch(effGetProgramNameIndexed, index, -1, buf) != 1) return "<refused>";
  return buf;
}
}  // namespace

TEST(Programs, NamesInOrder) {
  Plugin p;
  for (int k = 0; k < 16; ++k) EXPECT_EQ(IndexedName(p, k), kNames[k]);
  char buf[24] = "untouched";
  EXPECT_EQ(p.Dispatch(effGetProgramNameIndexed, 16, 0, buf), 0);
  EXPECT_EQ(p.Dispatch(effGetProgramNameIndexed, -1, 0, buf), 0);
  EXPECT_STREQ(buf, "untouched");
}

TEST(Programs, EveryFactoryCellWithItsLabel) {
  Plugin p;
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(p.Dispatch(effSetProgram, 0, k), 0);
    EXPECT_EQ(p.Dispatch(effGetProgram), k);
    EXPECT_EQ(p.ProgramName(), kNames[k]);
    for (int i = 0; i < 18; ++i) {
      std::string text = kShown[i][k];
      std::string unit = kUnit[i];
      if (text.back() == 'k') {
        text.pop_back();
        unit = "kHz";
      }
      EXPECT_EQ(p.Display(i), text) << "program " << k << " parameter " << i;
      EXPECT_EQ(p.Label(i), unit) << "program " << k << " parameter " << i;
    }
  }
}

TEST(Programs, SelectionEdges) {
  Plugin p;
  p.Dispatch(effSetProgram, 0, 10);
  EXPECT_EQ(p.Get(3), 0.0f);
  EXPECT_EQ(p.Display(3), "-oo");
  EXPECT_FLOAT_EQ(p.Get(7), 0.5f);
  p.Dispatch(effSetProgram, 0, 15);
  EXPECT_EQ(p.Display(7), "100");
  EXPECT_EQ(p.Get(9), 1.0f);

  float before[18];
  for (int i = 0; i < 18; ++i) before[i] = p.Get(i);
  for (VstIntPtr bad : {VstIntPtr{16}, VstIntPtr{-1}, VstIntPtr{1} << 40}) {
    p.Dispatch(effSetProgram, 0, bad);
    EXPECT_EQ(p.Dispatch(effGetProgram), 15);
  }
  for (int i = 0; i < 18; ++i) EXPECT_EQ(p.Get(i), before[i]);
}

TEST(Programs, EditsStayWithTheirProgram) {
  Plugin p;
  p.Dispatch(effSetProgram, 0, 1);
  p.Set(9, 0.25f);
  p.Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(p.Display(9), "58.0");
  p.Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(p.Get(9), 0.25f);
  EXPECT_EQ(p.Display(9), "25.0");
}

TEST(Programs, SwitchingBackAndForthKeepsEveryValueExactly) {
  Plugin p;
  float stored[16][18];
  for (int k = 0; k < 16; ++k) {
    p.Dispatch(effSetProgram, 0, k);
    for (int i = 0; i < 18; ++i) stored[k][i] = p.Get(i);
  }
  for (int round = 0; round < 50; ++round)
    for (int k = 0; k < 16; ++k) p.Dispatch(effSetProgram, 0, k);
  for (int k = 0; k < 16; ++k) {
    p.Dispatch(effSetProgram, 0, k);
    for (int i = 0; i < 18; ++i) EXPECT_EQ(p.Get(i), stored[k][i]) << k << " " << i;
  }
}

TEST(Programs, RenamingTouchesOnlyTheCurrentProgram) {
  Plugin p;
  p.Dispatch(effSetProgram, 0, 3);
  p.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("My Room"));
  EXPECT_EQ(p.ProgramName(), "My Room");
  for (int k = 0; k < 16; ++k) EXPECT_EQ(IndexedName(p, k), k == 3 ? "My Room" : kNames[k]);
  p.Dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(p.ProgramName(), "Medium Hall");
  p.Dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(p.ProgramName(), "My Room");
  p.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(""));
  EXPECT_EQ(p.ProgramName(), "");
}

TEST(Programs, LongNamesAreCutSafely) {
  Plugin p;
  std::string longName(5000, 'a');
  p.Dispatch(effSetProgramName, 0, 0, longName.data());
  struct {
    char text[24];
    char canary[16];
  } g;
  std::memset(&g, 0x7E, sizeof g);
  p.Dispatch(effGetProgramName, 0, 0, g.text);
  EXPECT_EQ(std::string(g.text), std::string(23, 'a'));
  for (char c : g.canary) EXPECT_EQ(c, 0x7E);
  std::memset(&g, 0x7E, sizeof g);
  EXPECT_EQ(p.Dispatch(effGetProgramNameIndexed, 0, 0, g.text), 1);
  for (char c : g.canary) EXPECT_EQ(c, 0x7E);

  // A cut never leaves half a UTF-8 character: 22 ASCII bytes then "é" (2 bytes).
  std::string utf8 = std::string(22, 'b') + "\xC3\xA9" + "cd";
  p.Dispatch(effSetProgramName, 0, 0, utf8.data());
  EXPECT_EQ(p.ProgramName(), std::string(22, 'b'));
}
