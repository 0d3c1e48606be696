#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded image as the drawing code wants it: 32-bit pixels of blue, green,
// red and alpha, premultiplied by alpha, rows stored bottom-up (the last
// memory row is the top of the image).
struct TPngImage {
  int width = 0;
  int height = 0;
  bool noAlpha = true;  // the file had no alpha channel (drawn by plain copy)
  std::vector<uint8_t> pixels;

  const uint8_t* Pixel(int x, int y) const {  // y from the top
    return pixels.data() + (std::size_t(height - 1 - y) * width + x) * 4;
  }
};

// The image size from a PNG file's header, without decoding it.
bool PngSize(const uint8_t* data, uint32_t length, int& width, int& height);

// Decodes a PNG file held in memory. Any decoder error, including data that
// ends early, answers false and leaves `out` empty.
bool DecodePng(const uint8_t* data, uint32_t length, TPngImage& out);
