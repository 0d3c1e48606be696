#pragma once

// How a knob's position (0..1, the filmstrip frame) relates to its
// parameter's normalised value: a logarithmic frequency scale, a power curve
// (levels), or the identity. The two directions are inverses of each other.
class TKnobMapping {
 public:
  // curve: exponent 2^curve when non-zero; log: frequency scale between min and max (> 0).
  TKnobMapping(float curve, bool log, float min, float max);

  float ToPosition(float value) const;
  float ToValue(float position) const;

 private:
  float curve;
  float exponent;
  bool log;
  float minimum = 1.0f, maximum = 1.0f, ratio = 1.0f, range = 0.0f, invRatioMinusOne = 0.0f,
        logRatio = 0.0f;
};
