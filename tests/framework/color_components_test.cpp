#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "ColorComponents.h"

using fw::Color;

namespace {

struct HueCase {
  uint32_t color;
  double hue;
};

// Two equal channels put the hue exactly on a sixth of the turn.
const HueCase kFixedPoints[] = {
    {0xFF0000, 0},       {0x010000, 0},       {0x804040, 0},       {0x00FF00, 1.0 / 3},
    {0x40C040, 1.0 / 3}, {0x0000FF, 2.0 / 3}, {0x1010FE, 2.0 / 3}, {0xFFFF00, 1.0 / 6},
    {0xC8C800, 1.0 / 6}, {0x00FFFF, 0.5},     {0x208080, 0.5},     {0xFF00FF, 5.0 / 6},
    {0x7F017F, 5.0 / 6}, {0x000000, 0},       {0x808080, 0},       {0xFFFFFF, 0},
};

TEST(ReadColorHue, FixedPointsAreExact) {
  for (const HueCase& c : kFixedPoints) EXPECT_EQ(fw::readColorHue(Color(c.color)), c.hue) << std::hex << c.color;
}

TEST(ReadColorHue, GrowsThroughTheTurnAndStaysBelowOne) {
  // Red with a trace of blue is the hue closest to the full turn.
  EXPECT_LT(fw::readColorHue(Color(0xFF0001)), 1);
  EXPECT_GT(fw::readColorHue(Color(0xFF0001)), 0.99);
  EXPECT_GT(fw::readColorHue(Color(0xFF8000)), 0);
  EXPECT_DOUBLE_EQ(fw::readColorHue(Color(0xFF8000)) * 360, 60 * 128 / 255.0);
  EXPECT_LT(fw::readColorHue(Color(0xFF8000)), 1.0 / 6);
  EXPECT_GT(fw::readColorHue(Color(0x80FF00)), 1.0 / 6);
  EXPECT_LT(fw::readColorHue(Color(0x80FF00)), 1.0 / 3);
  EXPECT_GT(fw::readColorHue(Color(0xFF0080)), 5.0 / 6);
}

TEST(ReadColorHue, EveryColourIsInRange) {
  for (uint32_t rgb = 0; rgb < (1u << 24); ++rgb) {
    const double hue = fw::readColorHue(Color(rgb));
    ASSERT_TRUE(hue >= 0 && hue < 1) << std::hex << rgb;
  }
}

// (255 - channel) / 255, a channel of 0 giving exactly 1 and any other a
// hair above the exact fraction.
TEST(ReadColorComponents, AmountsAreTheMissingShareOfEachChannel) {
  EXPECT_EQ(fw::readColorCyan(Color(0x00FFFF)), 1);
  EXPECT_NEAR(fw::readColorMagenta(Color(0x00FFFF)), 0, 1e-8);
  EXPECT_NEAR(fw::readColorYellow(Color(0x00FFFF)), 0, 1e-8);
  EXPECT_NEAR(fw::readColorCyan(Color(0x800000)), 127 / 255.0, 1e-8);
  EXPECT_GE(fw::readColorCyan(Color(0x800000)), 127 / 255.0);
  EXPECT_NEAR(fw::readColorMagenta(Color(0x004000)), 191 / 255.0, 1e-8);
  EXPECT_NEAR(fw::readColorYellow(Color(0x000001)), 254 / 255.0, 1e-8);
  EXPECT_LT(fw::readColorYellow(Color(0x000001)), 1);
}

// The least of the three stays below 1 for every colour but black; bits
// 24-31 are not read.
TEST(ReadColorComponents, LeastIsBelowOneButForBlack) {
  const auto least = [](Color c) {
    return std::min({fw::readColorCyan(c), fw::readColorMagenta(c), fw::readColorYellow(c)});
  };
  EXPECT_EQ(least(Color(0x000000)), 1);
  EXPECT_EQ(least(Color(0xFF000000)), 1);
  for (uint32_t rgb : {0x000001u, 0x000100u, 0x010000u, 0xFF000001u}) EXPECT_LT(least(Color(rgb)), 1);
}

}  // namespace
