#include "editor/meter_scale.h"

#include <cmath>

namespace meter {

const TRgb kPeakColour[kBarHeight] =
#include "editor/meter_colours.inc"
    ;

int Position(float level) {
  if (!(level > 0.0f)) return -kBarHeight;  // silence (or a NaN)
  const float x = 20.0f * std::log10(level);
  if (x > 0.0f) return 0;
  if (x >= -36.0f) return static_cast<int>(std::floor(x * 6.0f + 0.5f));
  if (x > -77.0f) return static_cast<int>(std::floor((x + 36.0f) * 1.0f - 216.0f + 0.5f));
  return -kBarHeight;
}

int TPeakHold::Tick(int d) {
  const int m = static_cast<int>(std::floor(position));
  if (d >= m) {  // a new peak: the bar's top is the marker
    position = static_cast<float>(d) + 0.01f;
    count = 0;
    return -1;
  }
  int row = -1;
  if (m > -kBarHeight) {
    row = -static_cast<int>(std::floor(position + 0.5f));
    if (row < 0) row = 0;
    if (row > kBarHeight - 1) row = -1;
  }
  if (count >= 8) position = static_cast<float>(position - (count - 8) * 0.3);
  if (position < -kBarHeight)
    position = -kBarHeight;
  else
    ++count;
  return row;
}

}  // namespace meter
