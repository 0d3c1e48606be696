#include "editor/knob_mapping.h"

#include <cmath>

TKnobMapping::TKnobMapping(float c, bool logScale, float min, float max)
    : curve(c), exponent(std::pow(2.0f, c)), log(logScale && min > 0.0f && max > min) {
  if (!log) return;
  minimum = min;
  maximum = max;
  ratio = max / min;
  range = max - min;
  invRatioMinusOne = 1.0f / (ratio - 1.0f);
  logRatio = std::log(ratio);
}

float TKnobMapping::ToPosition(float v) const {
  if (log) return std::log((v * range + minimum) / minimum) / logRatio;
  if (curve != 0.0f) return std::pow(v, exponent);
  return v;
}

float TKnobMapping::ToValue(float p) const {
  if (log) return (std::pow(ratio, p) - 1.0f) * invRatioMinusOne;
  if (curve != 0.0f) return std::pow(p, 1.0f / exponent);
  return p;
}
