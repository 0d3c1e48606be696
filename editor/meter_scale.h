#pragma once

#include <cstdint>

// The level meter's scale: 6 pixels per dB from 0 dB (the top) down to the
// knee at -36 dB (216 pixels), then 1 pixel per dB, -77 dB and below at the
// bottom (257 pixels).
namespace meter {

constexpr int kBarHeight = 257;

// Bar position of a linear peak level: 0 at the top, -257 at the bottom.
int Position(float level);

// The peak-hold marker of one bar: held for nine ticks, then falling faster
// and faster (0.3, 0.6, 0.9 ... pixels per tick).
struct TPeakHold {
  float position = 0.0f;  // pixels, negative downwards
  int32_t count = 0;      // ticks since the peak

  // One tick with the bar at position d; answers the marker row to draw
  // (0..256 from the top) or -1 when no marker is drawn.
  int Tick(int d);
};

// The marker colour of each row, equal to the lit half of the scale image.
struct TRgb {
  uint8_t r, g, b, a;
};
extern const TRgb kPeakColour[kBarHeight];

}  // namespace meter
