#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "color/ColorExchange.h"

using fw::Color;

namespace {

struct ValueCase {
  uint32_t color;
  const char* rgb;
  const char* hls;  // a grey's hue is 0
  double lightness;
  double saturation;
};

const ValueCase kValueCases[] = {
    {0xFF0000, "255,0,0", "0,50,100", 0.498046875, 1},
    {0x00FF00, "0,255,0", "120,50,100", 0.498046875, 1},
    {0x0000FF, "0,0,255", "240,50,100", 0.498046875, 1},
    {0xFFFF00, "255,255,0", "60,50,100", 0.498046875, 1},
    {0x00FFFF, "0,255,255", "180,50,100", 0.498046875, 1},
    {0xFF00FF, "255,0,255", "300,50,100", 0.498046875, 1},
    {0x800000, "128,0,0", "0,25,98", 0.25, 128.0 / 130},
    {0x402020, "64,32,32", "0,19,33", 0.1875, 32.0 / 98},
    {0x010000, "1,0,0", "0,0,33", 1.0 / 512, 1.0 / 3},
    {0x3E1010, "62,16,16", "0,15,57", 0.15234375, 0.575},
    {0x321C1C, "50,28,28", "0,15,28", 0.15234375, 0.275},
    {0xFFFFFF, "255,255,255", "0,100,0", 0.99609375, 0},
    {0x808080, "128,128,128", "0,50,0", 0.5, 0},
    {0x000000, "0,0,0", "0,0,0", 0, 0},
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << std::hex << c.color; }

class ValueTexts : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueTexts, RgbHlsLightnessAndSaturation) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(ColorExchange::ColorToRGB(Color(c.color)), c.rgb);
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(c.color)), c.hls);
  EXPECT_DOUBLE_EQ(ColorExchange::getL(Color(c.color)), c.lightness);
  EXPECT_DOUBLE_EQ(ColorExchange::getS(Color(c.color)), c.saturation);
}

INSTANTIATE_TEST_SUITE_P(Table, ValueTexts, testing::ValuesIn(kValueCases));

// S is Round of the Double saturation times 100: 0.575 and 0.275 held as
// Doubles land just below and just above the half.
TEST(ValueTexts, SaturationRoundsTheDoubleNotTheDecimal) {
  EXPECT_LT(ColorExchange::getS(Color(0x3E1010)) * 100, 57.5);
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0x3E1010)), "0,15,57");
  EXPECT_GT(ColorExchange::getS(Color(0x321C1C)) * 100, 27.5);
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0x321C1C)), "0,15,28");
}

// Greys whose L x 100 is exactly x.5 go up, as Round takes halves away from zero.
TEST(ValueTexts, LightnessOnAnExactHalfRoundsUp) {
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0x202020)), "0,13,0");
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0x606060)), "0,38,0");
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0xA0A0A0)), "0,63,0");
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0xE0E0E0)), "0,88,0");
}

// A hue less than half a degree short of the full turn shows as 360.
TEST(ValueTexts, HueJustShortOfTheFullTurnShows360) {
  // Red with a trace of blue: 60 x (1 / 255) degrees short of 360.
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(0xFF0001)), "360,50,100");
}

struct CmykCase {
  uint32_t color;
  const char* cmyk;
};

const CmykCase kCmykCases[] = {
    {0x000000, "0,0,0,100"},
    {0xFF0000, "0,100,100,0"},
    {0xFFFFFF, "0,0,0,0"},
    {0x00FFFF, "100,0,0,0"},
    // K = 1 - 128/255 = 49.80...%: truncated, not rounded.
    {0x808080, "0,0,0,49"},
    {0x800000, "0,100,100,49"},
    {0x010000, "0,100,100,99"},
    // Whole percentages that arithmetic on 1 - channel / 255 showed one short.
    {0xCCCCCC, "0,0,0,20"},
    {0x000514, "100,75,0,92"},
};

void PrintTo(const CmykCase& c, std::ostream* os) { *os << std::hex << c.color; }

class CmykTexts : public testing::TestWithParam<CmykCase> {};

TEST_P(CmykTexts, FromColour) {
  EXPECT_EQ(ColorExchange::ColorToCMYK(Color(GetParam().color)), GetParam().cmyk);
}

INSTANTIATE_TEST_SUITE_P(Table, CmykTexts, testing::ValuesIn(kCmykCases));

TEST(CmykTexts, FromGivenComponents) {
  EXPECT_EQ(ColorExchange::ComponentsToCMYK(0, 1, 1), "0,100,100,0");
  EXPECT_EQ(ColorExchange::ComponentsToCMYK(0.5, 0.75, 0.5), "0,50,0,50");
  EXPECT_EQ(ColorExchange::ComponentsToCMYK(0.25, 0.25, 0.25), "0,0,0,25");
  EXPECT_EQ(ColorExchange::ComponentsToCMYK(0, 0, 0), "0,0,0,0");
}

TEST(ValueTexts, BitsAboveTheColourChangeNothing) {
  for (uint32_t rgb : {0x000000u, 0x808080u, 0x3E1010u, 0xFFFF00u}) {
    const Color plain(rgb), marked(rgb | 0xA5000000u);
    EXPECT_EQ(ColorExchange::ColorToRGB(marked), ColorExchange::ColorToRGB(plain));
    EXPECT_EQ(ColorExchange::ColorToCMYK(marked), ColorExchange::ColorToCMYK(plain));
    EXPECT_EQ(ColorExchange::ColorToHLS(marked), ColorExchange::ColorToHLS(plain));
    EXPECT_EQ(ColorExchange::getL(marked), ColorExchange::getL(plain));
    EXPECT_EQ(ColorExchange::getS(marked), ColorExchange::getS(plain));
  }
}

}  // namespace
