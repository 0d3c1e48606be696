#pragma once
// PNG files from pixels in memory, through libpng: the demos' screenshots, the tests'
// screenshots and the PNG decoder's test inputs. No shipped binary links it; it sits
// with the demos, below the tests, so that the demos include nothing of tests/.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {
// `height` rows of `width` pixels of 8-bit RGB (3 channels) or RGBA (4), top row first,
// as the bytes of a PNG file (Adam7-interlaced when asked); empty when it cannot be made.
std::vector<uint8_t> encodePng(const uint8_t* rows, int width, int height, int channels,
                               bool interlaced = false);

// Pixels 0x..RRGGBB (the top byte ignored), rows top to bottom, written to `path` as an
// 8-bit RGB PNG; false with the reason in `error`.
bool writePng(const std::string& path, const uint32_t* pixels, int width, int height,
              std::string& error);
}  // namespace demo
