#include "editor/image_pack.h"

#include <gtest/gtest.h>

#include "editor/png_image.h"

// The linked pack holds the editor's seven images in order, each a PNG of its size.
TEST(ImagePack, SevenImagesInPackOrder) {
  std::vector<TPackEntry> entries;
  ASSERT_TRUE(ReadImagePack(kImagePack, kImagePackSize, entries));
  const char* names[] = {"ABOUT", "BACKGROUND", "BIG_KNOB", "SMALL_KNOB", "MID_KNOB", "SWITCH", "VU_SCALE"};
  const int sizes[][2] = {{773, 491}, {773, 491}, {96, 12384}, {48, 6192}, {72, 9288}, {56, 118}, {10, 257}};
  const bool noAlpha[] = {false, true, false, false, false, false, true};
  ASSERT_EQ(entries.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(entries[i].name, names[i]);
    TPngImage img;
    ASSERT_TRUE(DecodePng(entries[i].data, entries[i].size, img)) << names[i];
    EXPECT_EQ(img.width, sizes[i][0]) << names[i];
    EXPECT_EQ(img.height, sizes[i][1]) << names[i];
    EXPECT_EQ(img.noAlpha, noAlpha[i]) << names[i];
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
