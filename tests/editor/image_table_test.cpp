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
