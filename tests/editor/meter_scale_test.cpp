#include "editor/meter_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "editor/image_pack.h"
#include "editor/png_image.h"

namespace {
float FromDb(float db) { return std::pow(10.0f, db / 20.0f); }
}  // namespace

// Unlit pixels of a bar (-position) for 0, 1.0, -6, -36, -50 and -80 dB, and silence.
TEST(MeterScale, PositionsOfTheScale) {
  EXPECT_EQ(meter::Position(0.0f), -257);
  EXPECT_EQ(meter::Position(1.0f), 0);
  EXPECT_EQ(meter::Position(3.0f), 0);
  EXPECT_EQ(meter::Position(0.5012f), -36);
  EXPECT_EQ(meter::Position(FromDb(-36.0f)), -216);
  EXPECT_EQ(meter::Position(FromDb(-50.0f)), -230);
  EXPECT_EQ(meter::Position(FromDb(-80.0f)), -257);
  EXPECT_EQ(meter::Position(NAN), -257);
}

// A -6 dB peak followed by silence: held at row 36 for nine ticks, then falling
// by 0.3, 0.6, 0.9 ... pixels per tick, first at row 37 after two falls.
TEST(MeterScale, PeakHoldAndFall) {
  meter::TPeakHold hold;
  EXPECT_EQ(hold.Tick(0), -1);    // at the top: the bar itself is the peak
  EXPECT_EQ(hold.Tick(-36), 0);   // the old peak at the top is still held
  meter::TPeakHold p;
  p.position = -100.0f;
  EXPECT_EQ(p.Tick(-36), -1);     // a new peak at -6 dB
  for (int tick = 0; tick < 9; ++tick) EXPECT_EQ(p.Tick(-257), 36) << tick;
  EXPECT_EQ(p.Tick(-257), 36);    // falls by 0.3 after drawing
  EXPECT_EQ(p.Tick(-257), 36);    // falls by 0.6
  EXPECT_NEAR(p.position, -36.89f, 1e-4f);
  EXPECT_EQ(p.Tick(-257), 37);
  int last = 37, ticks = 0;
  for (int row; (row = p.Tick(-257)) != -1 && ticks < 100; ++ticks) {
    EXPECT_GE(row, last);
    last = row;
  }
  EXPECT_EQ(p.Tick(-257), -1);  // at the bottom no marker is drawn
  EXPECT_NEAR(p.position, -257.0f, 0.02f);
}

// The marker colours are the lit half of the scale image, row for row.
TEST(MeterScale, PeakColoursMatchTheScaleImage) {
  std::vector<TPackEntry> entries;
  ASSERT_TRUE(ReadImagePack(kImagePack, kImagePackSize, entries));
  TPngImage scale;
  ASSERT_TRUE(DecodePng(entries[6].data, entries[6].size, scale));
  ASSERT_EQ(entries[6].name, "VU_SCALE");
  for (int row = 0; row < meter::kBarHeight; ++row) {
    const uint8_t* px = scale.Pixel(7, row);  // opaque: premultiplied is the colour
    const meter::TRgb c = meter::kPeakColour[row];
    EXPECT_EQ(px[2], c.r) << row;
    EXPECT_EQ(px[1], c.g) << row;
    EXPECT_EQ(px[0], c.b) << row;
  }
  EXPECT_EQ(meter::kPeakColour[0].r, 255);
  EXPECT_EQ(meter::kPeakColour[216].g, 154);  // the knee
  EXPECT_EQ(meter::kPeakColour[256].b, 250);
}
