#pragma once

// The cells one sample at a time: the definitions the engine's block and run
// forms are checked against.
#include "engine/cells.h"
#include "engine/early_refl.h"

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

// One pre-delay sample: the write comes first, so a delay of 0 passes x through.
inline float Tick(TVDelay& v, float x) {
  v.Data()[v.writePos] = x;
  if (++v.writePos == v.Size()) v.writePos = 0;
  const float y = v.Data()[v.Pos()];
  v.Skip(1);
  return y;
}

// One early-reflection sample: x stored in both copies of the ring (the buffer
// holds the ring twice), then the taps summed in order 0..17.
inline float Tick(TEarlyRefl& e, float x, const float* gains) {
  const int ring = e.Capacity() / 2;
  if (++e.writePos == ring) e.writePos = 0;
  e.Data()[e.writePos] = x;
  e.Data()[e.writePos + ring] = x;
  float sum = 0.0f;
  for (int j = 0; j < kEarlyTaps; ++j)
    sum += e.Data()[e.writePos + ring - e.tapDelay[j]] * gains[j];
  return sum;
}
