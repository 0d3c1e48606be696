// Soravel.vst3's controller through the built module: the parameters hosts list
// and their texts against Soravel.so's, bad values, and the program list with a
// program change that calls the host back only later, from the GUI thread's tick.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "formats/vst3/params.h"
#include "plugin/param.h"
#include "plugin/program.h"
#include "tests/support/vst2/plugin.h"
#include "tests/vst3/vst3_host.h"

namespace vst3test {
namespace {

std::string Ascii(const char16* t) {
  std::string s;
  for (; *t; ++t) s += static_cast<char>(*t);
  return s;
}

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

// The 18 parameters with Soravel.so's names, units, steps and defaults, all
// automatable in the root unit, and the program change.
TEST(Vst3Params, ListedAsSoravelSoListsThem) {
  TPlugin p;
  ASSERT_TRUE(p.Ok()) << TLoadedModule::Get().error;
  Plugin vst2;
  ASSERT_EQ(p.controller->getParameterCount(), kNumParams + 1);
  for (int32 i = 0; i < kNumParams; ++i) {
    ParameterInfo info{};
    ASSERT_EQ(p.controller->getParameterInfo(i, info), kResultOk);
    EXPECT_EQ(info.id, static_cast<ParamID>(i));
    EXPECT_EQ(Ascii(info.title), vst2.Name(i));
    const bool frequency = kParamTable[i].kind == EParamKind::kFrequency;
    EXPECT_EQ(Ascii(info.units), frequency ? "" : vst2.Label(i)) << i;
    EXPECT_EQ(info.stepCount, i == kDecayFreeze ? 1 : 0);
    // The bank's value, which maps to Soravel.so's default; Soravel.so reports that
    // default normalised again, which may differ in the float's last bit.
    EXPECT_EQ(info.defaultNormalizedValue, FactoryNormalized(0, i)) << i;
    EXPECT_NEAR(info.defaultNormalizedValue, vst2.Get(i), 1e-7) << i;
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    EXPECT_EQ(info.unitId, kRootUnitId);
  }
  ParameterInfo program{};
  ASSERT_EQ(p.controller->getParameterInfo(kNumParams, program), kResultOk);
  EXPECT_EQ(program.id, vst3::kProgramChangeId);
  EXPECT_EQ(program.stepCount, kNumPrograms - 1);
  EXPECT_EQ(program.flags & ParameterInfo::kIsProgramChange, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(p.controller->getParameterInfo(kNumParams + 1, program), kInvalidArgument);
  EXPECT_EQ(p.controller->getParameterInfo(-1, program), kInvalidArgument);
}

// Every program's every value reads as Soravel.so shows it (a frequency with its
// Hz or kHz, which follows the value); typed texts read as its editor reads them.
TEST(Vst3Params, TextsAreSoravelSosTexts) {
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  Plugin vst2;
  String128 text{};
  for (int k = 0; k < kNumPrograms; ++k) {
    vst2.Dispatch(effSetProgram, 0, k);
    for (int i = 0; i < kNumParams; ++i) {
      ASSERT_EQ(p.controller->getParamStringByValue(static_cast<ParamID>(i), FactoryNormalized(k, i), text),
                kResultOk);
      std::string expected = vst2.Display(i);
      if (kParamTable[i].kind == EParamKind::kFrequency) expected.append(" ").append(vst2.Label(i));
      EXPECT_EQ(Ascii(text), expected) << k << " " << i;
    }
  }
  for (const auto& [index, typed] : std::vector<std::pair<int, std::string>>{
           {kEqLowFreq, "1.5 kHz"}, {kCrossover, "2k"}, {kERLevel, "-oo"}, {kDecayTime, "500"},
           {kDryLevel, "-6 dB"}, {kSize, "  42.5"}, {kWide, "nothing"}, {kHighDamping, "1e999"}}) {
    TParam expected;
    expected.Init(kParamTable[index]);
    expected.Parse(typed.c_str());
    std::u16string w = Wide(typed);
    ParamValue x = -1.0;
    ASSERT_EQ(p.controller->getParamValueByString(static_cast<ParamID>(index), w.data(), x), kResultOk);
    EXPECT_EQ(static_cast<float>(x), expected.Normalized()) << typed;
  }
  ASSERT_EQ(p.controller->getParamStringByValue(vst3::kProgramChangeId, 5.0 / 15.0, text), kResultOk);
  EXPECT_EQ(Ascii(text), "Large Hall");
  std::u16string name = u"Large Hall";
  ParamValue x = 0.0;
  ASSERT_EQ(p.controller->getParamValueByString(vst3::kProgramChangeId, name.data(), x), kResultOk);
  EXPECT_EQ(x, 5.0 / 15.0);
  EXPECT_EQ(p.controller->getParamStringByValue(999, 0.5, text), kInvalidArgument);
  EXPECT_EQ(p.controller->getParamStringByValue(kSize, 0.5, nullptr), kInvalidArgument);
  EXPECT_EQ(p.controller->getParamValueByString(kSize, nullptr, x), kInvalidArgument);
}

// Values outside 0..1 and NaN are ignored, as by the other formats; the freeze
// switch keeps its step; plain values are the physical ones and program numbers.
TEST(Vst3Params, BadValuesAreIgnoredAndTheSwitchKeepsItsStep) {
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  IEditController* c = p.controller;
  ASSERT_EQ(c->setParamNormalized(kSize, 0.25), kResultOk);
  for (double bad : {double(NAN), 1.5, -0.1, double(INFINITY)}) {
    EXPECT_EQ(c->setParamNormalized(kSize, bad), kResultFalse);
    EXPECT_EQ(c->setParamNormalized(vst3::kProgramChangeId, bad), kResultFalse);
  }
  EXPECT_EQ(c->setParamNormalized(999, 0.5), kResultFalse);
  EXPECT_EQ(c->getParamNormalized(kSize), 0.25);
  EXPECT_EQ(c->getParamNormalized(999), 0.0);
  c->setParamNormalized(kDecayFreeze, 0.24);
  EXPECT_EQ(c->getParamNormalized(kDecayFreeze), 0.0);
  c->setParamNormalized(kDecayFreeze, 0.25);
  EXPECT_EQ(c->getParamNormalized(kDecayFreeze), 1.0);
  EXPECT_EQ(c->normalizedParamToPlain(kSize, 0.5), 50.0);
  EXPECT_EQ(c->plainParamToNormalized(kSize, 50.0), 0.5);
  EXPECT_EQ(c->plainParamToNormalized(kSize, 500.0), 1.0);
  EXPECT_EQ(c->normalizedParamToPlain(vst3::kProgramChangeId, 5.0 / 15.0), 5.0);
  EXPECT_EQ(c->plainParamToNormalized(vst3::kProgramChangeId, 15.0), 1.0);
}

// Hosts keep plain values (Ardour saves them with a session and sets them again
// after loading): each program's every plain value maps back to itself.
TEST(Vst3Params, PlainValuesMapBackToThemselves) {
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  IEditController* c = p.controller;
  for (int k = 0; k < kNumPrograms; ++k)
    for (int i = 0; i < kNumParams; ++i) {
      const ParamID id = static_cast<ParamID>(i);
      const ParamValue plain = c->normalizedParamToPlain(id, FactoryNormalized(k, i));
      EXPECT_EQ(c->normalizedParamToPlain(id, c->plainParamToNormalized(id, plain)), plain) << k << " " << i;
    }
}

// One root unit with one list of the 16 factory programs. Selecting one takes
// its values at once but tells the host nothing from inside the call (a host may
// hold a lock there); the restart goes out from the next tick of the host's run
// loop (Linux) or the thread timer (Windows), once.
TEST(Vst3Programs, ListAndAProgramChangeThatCallsTheHostOnlyLater) {
  TRunLoop context;
  THandler handler;
  {
    TPlugin p(&context, &handler);
    ASSERT_TRUE(p.Ok());
    void* obj = nullptr;
    ASSERT_EQ(p.controller->queryInterface(IUnitInfo::iid.bytes, &obj), kResultOk);
    auto* units = static_cast<IUnitInfo*>(obj);
    ASSERT_EQ(units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, unit.programListId);
    ASSERT_EQ(list.programCount, kNumPrograms);
    Plugin vst2;
    for (int k = 0; k < kNumPrograms; ++k) {
      String128 name{};
      ASSERT_EQ(units->getProgramName(list.id, k, name), kResultOk);
      char vst2Name[64] = {};
      vst2.Dispatch(effGetProgramNameIndexed, k, 0, vst2Name);
      EXPECT_EQ(Ascii(name), vst2Name);
    }
    String128 name{};
    EXPECT_EQ(units->getProgramName(list.id, kNumPrograms, name), kInvalidArgument);
    EXPECT_EQ(units->getProgramName(list.id + 1, 0, name), kInvalidArgument);
    units->release();

    handler.log.clear();
    ASSERT_EQ(p.controller->setParamNormalized(vst3::kProgramChangeId, 5.0 / 15.0), kResultOk);
    EXPECT_TRUE(handler.log.empty()) << handler.log.front();
    for (int i = 0; i < kNumParams; ++i)
      EXPECT_EQ(p.controller->getParamNormalized(static_cast<ParamID>(i)), FactoryNormalized(5, i)) << i;
    EXPECT_TRUE(context.RunUntil([&] { return !handler.log.empty(); }));
    context.RunFor(150);
    EXPECT_EQ(handler.log, std::vector<std::string>{"restart 4"});
  }
  EXPECT_TRUE(handler.Balanced());
  EXPECT_TRUE(context.Balanced());
}

}  // namespace vst3test
