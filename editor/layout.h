#pragma once

#include <cstdint>

// Where the editor's controls sit, in frame pixels.
struct TKnobPlace {
  int32_t tag;
  int32_t left, top, size;  // square knob
  const char* image;        // filmstrip of 129 frames of size x size
  float curve;              // power curve exponent 2^curve (levels), 0 for none
  int32_t displayLeft, displayTop;  // its 48 x 14 value display
};

// Seventeen knobs in tag order; the freeze parameter (tag 8) has a switch instead.
extern const TKnobPlace kKnobPlaces[17];
