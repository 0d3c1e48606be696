#include "editor/image_pack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "editor/png_image.h"

// The linked pack holds the editor's seven images in order at 1x, then at 1.5x and
// 2x, each a PNG of its size at that zoom: an edge at u units lies at pixel
// floor(u * zoom + 1/2), filmstrip frames at their zoomed height each.
TEST(ImagePack, SevenImagesAtEachZoomInPackOrder) {
  std::vector<TPackEntry> entries;
  ASSERT_TRUE(ReadImagePack(kImagePack, kImagePackSize, entries));
  const char* names[] = {"ABOUT", "BACKGROUND", "BIG_KNOB", "SMALL_KNOB", "MID_KNOB", "SWITCH", "VU_SCALE"};
  // Frame width, frame height and frame count at 1x.
  const int frames[][3] = {{773, 491, 1}, {773, 491, 1}, {96, 96, 129}, {48, 48, 129},
                           {72, 72, 129}, {56, 59, 2},   {10, 257, 1}};
  const bool noAlpha[] = {false, true, false, false, false, false, true};
  const struct {
    double zoom;
    const char* suffix;
  } zooms[] = {{1.0, ""}, {1.5, "@1.5x"}, {2.0, "@2x"}};
  ASSERT_EQ(entries.size(), 21u);
  auto px = [](int units, double zoom) { return static_cast<int>(std::floor(units * zoom + 0.5)); };
  for (int z = 0; z < 3; ++z)
    for (int i = 0; i < 7; ++i) {
      const TPackEntry& e = entries[z * 7 + i];
      const std::string name = std::string(names[i]) + zooms[z].suffix;
      EXPECT_EQ(e.name, name);
      TPngImage img;
      ASSERT_TRUE(DecodePng(e.data, e.size, img)) << name;
      // The meter's scale is an unlit and a lit half of equal width.
      const int width = i == 6 ? 2 * px(5, zooms[z].zoom) : px(frames[i][0], zooms[z].zoom);
      EXPECT_EQ(img.width, width) << name;
      EXPECT_EQ(img.height, frames[i][2] * px(frames[i][1], zooms[z].zoom)) << name;
      EXPECT_EQ(img.noAlpha, noAlpha[i]) << name;
    }
}

// A damaged pack is refused whole, never read past its end.
TEST(ImagePack, MalformedPacksAreRefused) {
  std::vector<TPackEntry> entries;
  EXPECT_FALSE(ReadImagePack(kImagePack, kImagePackSize - 1, entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(ReadImagePack(kImagePack, 1, entries));
  const uint8_t lying[] = {1, 0, 3, 100, 0, 0, 0, 'A', 'B', 'C', 1, 2};  // claims 100 bytes
  EXPECT_FALSE(ReadImagePack(lying, sizeof(lying), entries));
  const uint8_t negative[] = {1, 0, 1, 0xff, 0xff, 0xff, 0xff, 'A'};
  EXPECT_FALSE(ReadImagePack(negative, sizeof(negative), entries));
  const uint8_t good[] = {1, 0, 1, 2, 0, 0, 0, 'A', 7, 8};
  ASSERT_TRUE(ReadImagePack(good, sizeof(good), entries));
  EXPECT_EQ(entries[0].name, "A");
  EXPECT_EQ(entries[0].size, 2u);
}
