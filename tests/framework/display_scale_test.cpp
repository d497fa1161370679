#include "DisplayScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kScales[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};

TEST(DisplayScale, EveryDevicePixelBelongsToOnePointWhosePixelsRunWithoutGaps) {
  for (double scale : kScales) {
    SCOPED_TRACE(scale);
    long expectedPoint = 0;
    for (long d = 0; d < 4000; ++d) {
      const long p = fw::PointAt(d, scale);
      // Points advance one at a time, at the first pixel of each.
      if (p != expectedPoint) {
        ASSERT_EQ(p, expectedPoint + 1) << "device pixel " << d;
        expectedPoint = p;
        ASSERT_EQ(fw::DevicePixelAt(double(p), scale), d);
      }
      // A point's first pixel is the one nearest to where it starts.
      ASSERT_LE(std::abs(double(fw::DevicePixelAt(double(p), scale)) - double(p) * scale), 0.5);
    }
  }
}

TEST(DisplayScale, TheLastDevicePixelOfAScreenIsInItsLastPoint) {
  // Rounding the device position to the nearest point would put 799 at
  // scale 2 in point 400, beyond a screen of 400 points.
  struct Case {
    long pixels;
    double scale;
    long points;
  };
  const Case cases[] = {{800, 2, 400},    {1080, 3, 360},  {1280, 1.5, 854},  {1920, 1.25, 1536},
                        {1280, 1.75, 732}, {2560, 2.5, 1024}, {1281, 3, 427}, {7, 1, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pixels) + " at " + std::to_string(c.scale));
    EXPECT_EQ(fw::PointAt(c.pixels - 1, c.scale), c.points - 1);
    EXPECT_LE(fw::DevicePixelAt(double(c.points - 1), c.scale), c.pixels - 1);
    EXPECT_GE(fw::DevicePixelAt(double(c.points), c.scale), c.pixels);
  }
}

TEST(DisplayScale, HalfPointsAndTies) {
  EXPECT_EQ(fw::DevicePixelAt(10.5, 2), 21);
  EXPECT_EQ(fw::DevicePixelAt(1, 1.5), 1);    // 1.5: the lower at a tie
  EXPECT_EQ(fw::DevicePixelAt(1.5, 1.5), 2);  // 2.25
  EXPECT_EQ(fw::DevicePixelAt(0.5, 3), 1);    // 1.5
  EXPECT_EQ(fw::DevicePixelAt(-1, 2), -2);
  EXPECT_EQ(fw::PointAt(-1, 2), -1);
}

}  // namespace
