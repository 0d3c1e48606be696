#pragma once

// The late network's cells one sample at a time: the definitions the engine's
// run forms are checked against.
#include "engine/cells.h"

// A delay's output: the sample written `size` samples ago.
inline float Read(const TDelay& d) { return d.Data()[d.Pos()]; }

// Stores the delay's input in place of the output just read, then moves on.
inline void Write(TDelay& d, float x) {
  d.Data()[d.Pos()] = x;
  d.Skip(1);
}

// One step of the all-pass diffuser on input u.
inline float Tick(TDiff& d, float u) {
  float& slot = d.Data()[d.Pos()];
  const float old = slot;
  const float v = u - d.coef * old;
  slot = v;
  d.Skip(1);
  return d.coef * v + old;
}
