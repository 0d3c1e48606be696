#pragma once

#include "engine/default_settings.h"
#include "engine/reverb.h"

inline void BenchProgram(TReverb& r, bool eq = false) {
  for (int i = 0; i < kNumParams; ++i) r.SetParameter(i, kDefaultSettings[i]);
  if (eq) {
    r.SetParameter(kEqLowLevel, -6.0f);
    r.SetParameter(kEqHiLevel, 4.0f);
  }
}
