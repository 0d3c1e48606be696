#include "editor/image_table.h"

#include <gtest/gtest.h>

// Images are found by their exact, whole name and share one decoded bitmap.
TEST(ImageTable, ExactNameLookup) {
  TZBitmap* sw = findImage("SWITCH");
  ASSERT_NE(sw, nullptr);
  EXPECT_EQ(findImage("SWITCH"), sw);
  EXPECT_EQ(sw->getWidth(), 56);
  EXPECT_EQ(sw->getHeight(), 118);
  for (const char* wrong : {"SWITCHES", "SWITC", "switch", "", "ABOUT "})
    EXPECT_EQ(findImage(wrong), nullptr) << wrong;
  EXPECT_EQ(findImage(nullptr), nullptr);
}

TEST(ImageTable, SizesAndAlpha) {
  const TZBitmap* background = findImage("BACKGROUND");
  const TZBitmap* about = findImage("ABOUT");
  const TZBitmap* mid = findImage("MID_KNOB");
  ASSERT_TRUE(background && about && mid);
  EXPECT_EQ(background->getWidth(), 773);
  EXPECT_EQ(background->getHeight(), 491);
  EXPECT_TRUE(background->noAlpha());
  EXPECT_FALSE(about->noAlpha());
  EXPECT_EQ(mid->getWidth(), 72);
  EXPECT_EQ(mid->getHeight(), 9288);
  // The about image's margin is 60 % opaque; premultiplied, its alpha byte is 153.
  EXPECT_EQ(about->pixels()[0] >> 24, 153u);
}

TEST(ImageTable, SizeFromTheHeaderAlone) {
  int w = 0, h = 0;
  ASSERT_TRUE(imageSize("BIG_KNOB", w, h));
  EXPECT_EQ(w, 96);
  EXPECT_EQ(h, 12384);
  EXPECT_FALSE(imageSize("BIG", w, h));
  EXPECT_FALSE(imageSize(nullptr, w, h));
}

// Each zoom has its own bitmap, sized in 1x units, its pixels drawn for that zoom;
// a zoom the pack lacks gets the 1x image, which the drawing resamples.
TEST(ImageTable, ImagesForEachZoom) {
  TZBitmap* one = findImage("SWITCH");
  TZBitmap* two = findImage("SWITCH", 2.0);
  TZBitmap* oneHalf = findImage("SWITCH", 1.5);
  ASSERT_TRUE(one && two && oneHalf);
  EXPECT_NE(one, two);
  EXPECT_NE(two, oneHalf);
  for (const TZBitmap* b : {one, two, oneHalf}) {
    EXPECT_EQ(b->getWidth(), 56);
    EXPECT_EQ(b->getHeight(), 118);
  }
  EXPECT_EQ(two->getScale(), 2.0);
  EXPECT_EQ(two->getPixelWidth(), 112);
  EXPECT_EQ(two->getPixelHeight(), 236);
  EXPECT_EQ(oneHalf->getScale(), 1.5);
  EXPECT_EQ(oneHalf->getPixelWidth(), 84);
  EXPECT_EQ(oneHalf->getPixelHeight(), 178);  // two frames of 89
  EXPECT_EQ(findImage("SWITCH", 3.0), one);
  EXPECT_EQ(findImage("SWITCH@2x", 2.0), nullptr);  // zoomed names are no names of their own
}

// Decoding waits for the first look-up of each image at each zoom.
TEST(ImageTable, DecodesOnlyWhatIsLookedUp) {
  const int before = decodedImages();
  findImage("BIG_KNOB", 1.5);
  EXPECT_EQ(decodedImages(), before + 1);
  findImage("BIG_KNOB", 1.5);
  EXPECT_EQ(decodedImages(), before + 1);
}
