#pragma once

#include <cstdint>

#include "gui/draw.h"

// A bitmap decoded from PNG bytes held in memory. A file that cannot be
// decoded gives an empty bitmap, which draws nothing.
class TZBitmap : public CBitmap {
 public:
  TZBitmap(const uint8_t* data, uint32_t length);

 private:
  struct Decoded;
  explicit TZBitmap(const Decoded& d);
};
