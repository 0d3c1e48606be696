#include "editor/png_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gui/demo/png_write.h"
#include "gui/draw.h"

namespace {

// Encodes rows of 8-bit RGB or RGBA pixels (top row first) as a PNG file.
std::vector<uint8_t> Encode(int w, int h, bool alpha, bool interlaced, const std::vector<uint8_t>& rgb) {
  return demo::encodePng(rgb.data(), w, h, alpha ? 4 : 3, interlaced);
}

std::vector<uint8_t> Gradient(int w, int h, int channels) {
  std::vector<uint8_t> px(size_t(w) * h * channels);
  for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 37 + i / 7);
  return px;
}

}  // namespace

// Premultiplied by alpha and rounded: an opaque channel keeps its value.
TEST(PngImage, PremultipliedBlueGreenRedAlpha) {
  TPngImage img;
  auto rgb = Encode(1, 1, false, false, {255, 128, 1});
  ASSERT_TRUE(DecodePng(rgb.data(), uint32_t(rgb.size()), img));
  EXPECT_TRUE(img.noAlpha);
  const uint8_t* p = img.Pixel(0, 0);
  EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{1, 128, 255, 255}));

  auto rgba = Encode(2, 1, true, false, {200, 100, 50, 128, 90, 80, 70, 0});
  ASSERT_TRUE(DecodePng(rgba.data(), uint32_t(rgba.size()), img));
  EXPECT_FALSE(img.noAlpha);
  p = img.Pixel(0, 0);
  EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{25, 50, 100, 128}));
  p = img.Pixel(1, 0);  // fully transparent: all zero whatever its colour
  EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{0, 0, 0, 0}));
}

// Rows are stored bottom-up: the last memory row is the top of the image.
TEST(PngImage, RowsAreStoredBottomUp) {
  TPngImage img;
  auto png = Encode(1, 2, false, false, {10, 20, 30, 40, 50, 60});
  ASSERT_TRUE(DecodePng(png.data(), uint32_t(png.size()), img));
  EXPECT_EQ(int(img.pixels[4 + 2]), 10);  // memory row 1 = top row, red byte
  EXPECT_EQ(int(img.pixels[2]), 40);      // memory row 0 = bottom row
}

// Every channel value at every alpha is premultiplied as the framework's own drawing
// does it, so that an image and a colour drawn next to it agree.
TEST(PngImage, PremultipliesAsTheFrameworkDraws) {
  std::vector<uint8_t> rgba;
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c)
      rgba.insert(rgba.end(), {uint8_t(c), uint8_t(255 - c), uint8_t(c / 3), uint8_t(a)});
  auto png = Encode(256, 256, true, false, rgba);
  TPngImage img;
  ASSERT_TRUE(DecodePng(png.data(), uint32_t(png.size()), img));
  int wrong = 0;
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; ++c) {
      uint32_t word;
      std::memcpy(&word, img.Pixel(c, a), 4);
      wrong += word != premultiplyRGBA(uint8_t(c), uint8_t(255 - c), uint8_t(c / 3), uint8_t(a));
    }
  EXPECT_EQ(wrong, 0);
}

TEST(PngImage, InterlacedDecodesToTheSamePixels) {
  for (bool alpha : {false, true}) {
    const auto px = Gradient(13, 11, alpha ? 4 : 3);
    TPngImage plain, interlaced;
    auto a = Encode(13, 11, alpha, false, px);
    auto b = Encode(13, 11, alpha, true, px);
    ASSERT_NE(a, b);
    ASSERT_TRUE(DecodePng(a.data(), uint32_t(a.size()), plain));
    ASSERT_TRUE(DecodePng(b.data(), uint32_t(b.size()), interlaced));
    EXPECT_EQ(plain.pixels, interlaced.pixels);
    EXPECT_EQ(interlaced.width, 13);
    EXPECT_EQ(interlaced.height, 11);
  }
}

// Data that ends early, or is no PNG at all, fails cleanly with nothing decoded.
TEST(PngImage, ShortOrBrokenDataFailsCleanly) {
  auto png = Encode(8, 8, true, false, Gradient(8, 8, 4));
  TPngImage img;
  for (size_t cut : {size_t(0), size_t(7), size_t(30), png.size() / 2, png.size() - 1}) {
    EXPECT_FALSE(DecodePng(png.data(), uint32_t(cut), img)) << cut;
    EXPECT_EQ(img.width, 0);
    EXPECT_TRUE(img.pixels.empty());
  }
  std::vector<uint8_t> junk(100, 0x42);
  EXPECT_FALSE(DecodePng(junk.data(), 100, img));
  EXPECT_FALSE(DecodePng(nullptr, 10, img));
  auto broken = png;
  broken[png.size() / 2] ^= 0xff;  // a damaged compressed stream
  EXPECT_FALSE(DecodePng(broken.data(), uint32_t(broken.size()), img));
}
