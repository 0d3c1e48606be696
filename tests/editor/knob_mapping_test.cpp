#include "editor/knob_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

// Level knobs follow a power curve of 2^2.88 = 7.3615.
TEST(KnobMapping, LevelCurve) {
  const TKnobMapping level(2.88f, false, -200.0f, 0.0f);
  EXPECT_FLOAT_EQ(level.ToPosition(1.0f), 1.0f);
  EXPECT_NEAR(level.ToPosition(0.5f), 0.0061f, 0.00005f);
  EXPECT_NEAR(level.ToValue(0.5f), 0.9101f, 0.00005f);
  EXPECT_EQ(level.ToPosition(0.0f), 0.0f);
}

// Frequency knobs are logarithmic between the parameter's limits.
TEST(KnobMapping, LogarithmicFrequency) {
  const TKnobMapping cross(0.0f, true, 50.0f, 2000.0f);
  const float v = cross.ToValue(0.5f);
  EXPECT_NEAR(v, (std::sqrt(40.0f) - 1.0f) / 39.0f, 1e-6f);  // 0.13653
  EXPECT_NEAR(50.0f + v * 1950.0f, 316.23f, 0.01f);
  EXPECT_NEAR(cross.ToValue(0.0f), 0.0f, 1e-7f);
  EXPECT_NEAR(cross.ToValue(1.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(cross.ToPosition(v), 0.5f, 1e-6f);
}

// Position and value map back onto each other, so a knob stays where it was left.
TEST(KnobMapping, DirectionsAreInverse) {
  const TKnobMapping maps[] = {{2.88f, false, -200, 0}, {0, true, 30, 3000}, {0, false, 0, 200}};
  for (const auto& m : maps)
    for (float p = 0.05f; p < 1.0f; p += 0.05f) EXPECT_NEAR(m.ToPosition(m.ToValue(p)), p, 2e-6f);
}
