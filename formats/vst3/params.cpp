#include "formats/vst3/params.h"

#include <cmath>
#include <cstring>

#include "formats/vst3/text16.h"
#include "plugin/param.h"

namespace vst3 {

namespace {

void Load(TParam& p, int index, ParamValue x) {
  p.Init(kParamTable[index]);
  p.SetNormalized(static_cast<float>(x));  // limited to 0..1; NaN leaves the default
}

ParamValue Limited(ParamValue x) { return x > 1.0 ? 1.0 : x >= 0.0 ? x : 0.0; }  // NaN: 0

}  // namespace

ParamValue Kept(int index, ParamValue x) {
  if (kParamTable[index].step <= 0.0f) return x;
  TParam p;
  Load(p, index, x);
  return p.Normalized();
}

float Physical(int index, ParamValue x) {
  TParam p;
  Load(p, index, x);
  return p.Value();
}

ParamValue DefaultNormalized(int index) {
  TParam p;
  p.Init(kParamTable[index]);
  return p.Normalized();
}

ParamValue ProgramToNormalized(int program) {
  return static_cast<ParamValue>(program) / static_cast<ParamValue>(kNumPrograms - 1);
}

int NormalizedToProgram(ParamValue x) {
  const int k = static_cast<int>(Limited(x) * kNumPrograms);
  return k < kNumPrograms ? k : kNumPrograms - 1;
}

bool FillParameterInfo(int32 index, ParameterInfo& info) {
  if (index < 0 || index >= kNumParamIds) return false;
  std::memset(&info, 0, sizeof info);
  info.unitId = kRootUnitId;
  info.flags = ParameterInfo::kCanAutomate;
  if (index == kNumParams) {
    info.id = kProgramChangeId;
    ToUtf16("Program", info.title, 128);
    ToUtf16("Program", info.shortTitle, 128);
    info.stepCount = kNumPrograms - 1;
    info.defaultNormalizedValue = 0.0;
    info.flags |= ParameterInfo::kIsList | ParameterInfo::kIsProgramChange;
    return true;
  }
  TParam p;
  p.Init(kParamTable[index]);
  info.id = static_cast<ParamID>(index);
  ToUtf16(p.name, info.title, 128);
  ToUtf16(p.name, info.shortTitle, 128);
  // A frequency's unit follows its value (Hz, kHz): its text carries it instead.
  ToUtf16(p.kind == EParamKind::kFrequency ? "" : p.label, info.units, 128);
  info.stepCount = p.stepped ? p.count - 1 : 0;
  info.defaultNormalizedValue = p.Normalized();
  return true;
}

bool DisplayText(ParamID id, ParamValue x, String128 text) {
  if (id == kProgramChangeId) {
    ToUtf16(kFactoryProgramNames[NormalizedToProgram(x)], text, 128);
    return true;
  }
  if (!IsParameter(id)) return false;
  TParam p;
  Load(p, static_cast<int>(id), x);
  char buffer[32];
  if (p.kind == EParamKind::kFrequency) p.DisplayWithLabel(buffer, sizeof buffer);
  else p.Display(buffer, kParamDisplayBytes);
  ToUtf16(buffer, text, 128);
  return true;
}

bool ParseText(ParamID id, const char16* text, ParamValue& x) {
  char typed[256];
  FromUtf16(text, typed, sizeof typed);
  if (id == kProgramChangeId) {
    // A program's name, or its number.
    for (int k = 0; k < kNumPrograms; ++k)
      if (std::strcmp(typed, kFactoryProgramNames[k]) == 0) {
        x = ProgramToNormalized(k);
        return true;
      }
    const double k = std::floor(ReadNumber(typed) + 0.5);
    x = ProgramToNormalized(k < 0.0 ? 0 : k > kNumPrograms - 1 ? kNumPrograms - 1 : static_cast<int>(k));
    return true;
  }
  if (!IsParameter(id)) return false;
  // As the editor reads a typed value: a fresh record, the parameter's own rules.
  TParam p;
  p.Init(kParamTable[id]);
  p.Parse(typed);
  x = p.Normalized();
  return true;
}

ParamValue ToPlain(ParamID id, ParamValue x) {
  if (id == kProgramChangeId) return NormalizedToProgram(x);
  return IsParameter(id) ? Physical(static_cast<int>(id), Limited(x)) : 0.0;
}

ParamValue FromPlain(ParamID id, ParamValue plain) {
  if (id == kProgramChangeId) {
    const double k = std::floor(plain + 0.5);
    return k >= 0.0 ? ProgramToNormalized(k < kNumPrograms - 1 ? static_cast<int>(k) : kNumPrograms - 1) : 0.0;
  }
  if (!IsParameter(id)) return 0.0;
  TParam p;
  p.Init(kParamTable[id]);
  p.SetValue(static_cast<float>(plain));  // limited; NaN leaves the default
  const float value = p.Value(), x = p.Normalized();
  // The normalised form of a value may map back to a neighbour of it (the float's
  // last bit): hosts that keep plain values (Ardour saves them with a session and
  // sets them again) must get the value itself back, so the nearest normalised
  // value that maps to it exactly is answered where there is one.
  const float up = std::nextafter(x, 2.0f), down = std::nextafter(x, -1.0f);
  for (float c : {x, up, down, std::nextafter(up, 2.0f), std::nextafter(down, -1.0f)})
    if (c >= 0.0f && c <= 1.0f && Physical(static_cast<int>(id), c) == value) return c;
  return x;
}

}  // namespace vst3
