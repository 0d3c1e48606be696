#pragma once

// Parameter indices shared by the engine, the plug-in shell and the editor.
// The same number is the host's parameter index and the editor control's tag.
enum EParam : int {
  kInputLevel,
  kOutputLevel,
  kDryLevel,
  kERLevel,
  kLateLevel,
  kPredelayLeft,
  kPredelayRight,
  kDecayTime,
  kDecayFreeze,
  kSize,
  kWide,
  kBassRatio,
  kCrossover,
  kHighDamping,
  kEqLowLevel,
  kEqLowFreq,
  kEqHiLevel,
  kEqHiFreq,
  kNumParams
};
