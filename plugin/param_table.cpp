#include "plugin/param.h"

#include "engine/param_ranges.h"

namespace {

constexpr bool kLog = true;

// A parameter as hosts see it: the engine's physical range with a name, a
// unit label, a display kind and its scale.
constexpr TParamDescriptor Row(EParam index, EParamKind kind, const char* name, const char* label,
                               bool logarithmic = false) {
  const TParamRange& r = kParamRanges[index];
  return {kind, name, label, r.def, r.min, r.max, r.step, logarithmic};
}

}  // namespace

// In index order; the numbers come from kParamRanges.
const TParamDescriptor kParamTable[kNumParams] = {
    Row(kInputLevel, EParamKind::kLevel, "Input Level", "dB"),
    Row(kOutputLevel, EParamKind::kLevel, "Output Level", "dB"),
    Row(kDryLevel, EParamKind::kLevel, "Dry Level", "dB"),
    Row(kERLevel, EParamKind::kLevel, "ER Level", "dB"),
    Row(kLateLevel, EParamKind::kLevel, "Late Level", "dB"),
    Row(kPredelayLeft, EParamKind::kPlain, "Predelay Left", "ms"),
    Row(kPredelayRight, EParamKind::kPlain, "Predelay Right", "ms"),
    Row(kDecayTime, EParamKind::kDecade, "Decay Time", "sec"),  // shown in seconds
    Row(kDecayFreeze, EParamKind::kSwitch, "Decay Freeze", ""),
    Row(kSize, EParamKind::kPlain, "Size", "%"),
    Row(kWide, EParamKind::kPlain, "Wide", "%"),
    Row(kBassRatio, EParamKind::kPlain, "Bass Ratio", "x"),
    Row(kCrossover, EParamKind::kFrequency, "Crossover", "Hz", kLog),
    Row(kHighDamping, EParamKind::kFrequency, "High Damping", "Hz", kLog),
    Row(kEqLowLevel, EParamKind::kPlain, "EQ Low Band Level", "dB"),
    Row(kEqLowFreq, EParamKind::kFrequency, "EQ Low Band Freq", "Hz", kLog),
    Row(kEqHiLevel, EParamKind::kPlain, "EQ Hi Band Level", "dB"),
    Row(kEqHiFreq, EParamKind::kFrequency, "EQ Hi Band Freq", "Hz", kLog),
};
