#include "editor/tz_bitmap.h"

#include <cstring>
#include <vector>

#include "editor/png_image.h"

struct TZBitmap::Decoded {
  int width = 0, height = 0;
  bool noAlpha = true;
  std::vector<uint32_t> words;  // premultiplied BGRA, top row first

  Decoded(const uint8_t* data, uint32_t length) {
    TPngImage img;
    if (!DecodePng(data, length, img)) return;
    width = img.width;
    height = img.height;
    noAlpha = img.noAlpha;
    words.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)  // the decoder stores rows bottom-up
      std::memcpy(&words[size_t(y) * width], img.Pixel(0, y), size_t(width) * 4);
  }
};

TZBitmap::TZBitmap(const uint8_t* data, uint32_t length)
    : TZBitmap(Decoded(data, length), 1.0, 0, 0) {}

TZBitmap::TZBitmap(const uint8_t* data, uint32_t length, double scale, int32_t width,
                   int32_t height)
    : TZBitmap(Decoded(data, length), scale, width, height) {}

// A size of 0 x 0 units stands for the pixels' own size (a 1x image).
TZBitmap::TZBitmap(const Decoded& d, double scale, int32_t width, int32_t height)
    : CBitmap(d.width, d.height, d.words.empty() ? nullptr : d.words.data(), d.noAlpha, scale,
              width > 0 ? width : d.width, height > 0 ? height : d.height) {}
