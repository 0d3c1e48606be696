#pragma once

#include <cstdint>

#include "gui/draw.h"

// A bitmap decoded from PNG bytes held in memory. A file that cannot be
// decoded gives an empty bitmap, which draws nothing.
class TZBitmap : public CBitmap {
 public:
  TZBitmap(const uint8_t* data, uint32_t length);
  // Pixels drawn for `scale`, standing for an image of width x height units.
  TZBitmap(const uint8_t* data, uint32_t length, double scale, int32_t width, int32_t height);

 private:
  struct Decoded;
  TZBitmap(const Decoded& d, double scale, int32_t width, int32_t height);
};
