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

TZBitmap::TZBitmap(const uint8_t* data, uint32_t length) : TZBitmap(Decoded(data, length)) {}

TZBitmap::TZBitmap(const Decoded& d)
    : CBitmap(d.width, d.height, d.words.empty() ? nullptr : d.words.data(), d.noAlpha) {}
