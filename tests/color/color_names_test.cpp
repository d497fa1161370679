#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "color/ColorExchange.h"
#include "color/ColorNames.h"

using fw::Color;

namespace {

struct NameCase {
  uint32_t color;
  const char* hls;  // shows the L and S that choose the name
  const char* english;
  const char* japanese;
};

const NameCase kNameCases[] = {
    {0xFF0000, "0,50,100", "Vivid Red", "あざやかな赤"},
    {0xFFFF00, "60,50,100", "Vivid Yellow", "あざやかな黄"},
    {0xFFFF80, "60,75,100", "Soft Yellow", "やわらかい黄"},
    {0xC8C800, "60,39,99", "Deep Redish Yellow", "こい赤みの黄"},
    {0x00FF00, "120,50,100", "Vivid Green", "あざやかな緑"},
    {0x80FF80, "120,75,100", "Soft Yellow Green", "やわらかい黄緑"},
    {0x0000FF, "240,50,100", "Vivid Blue", "あざやかな青"},
    {0x8080FF, "240,75,100", "Soft Violet", "やわらかい青紫"},
    {0x00FFFF, "180,50,100", "Vivid Blue Green", "あざやかな青緑"},
    {0xFF00FF, "300,50,100", "Vivid Redish Purple", "あざやかな赤みの紫"},
    {0x800000, "0,25,98", "Dull Red", "くすんだ赤"},
    {0x402020, "0,19,33", "Dark Red", "暗い赤"},
    {0x321C1C, "0,15,28", "Dark Red", "暗い赤"},
    {0x010000, "0,0,33", "Dark Grayish Red", "ごく暗い赤"},
    {0x503C3C, "0,27,14", "Grayish Red", "暗い灰みの赤"},
    {0x966E6E, "0,51,16", "Grayish Red", "灰みの赤"},
    {0x926F6F, "0,50,14", "Grayish Red", "灰みの赤"},
    {0x906F6F, "0,50,13", "Redish Gray", "赤みを帯びた灰色"},
    {0x8C8080, "0,52,5", "Redish Gray", "赤みを帯びた灰色"},
    {0x000000, "0,0,0", "Black", "黒"},
    {0x1A1A1A, "0,10,0", "Black", "黒"},
    {0x1B1B1B, "0,11,0", "Dark Gray", "暗い灰色"},
    {0x585858, "0,34,0", "Dark Gray", "暗い灰色"},
    {0x595959, "0,35,0", "Gray", "灰色"},
    {0xA7A7A7, "0,65,0", "Gray", "灰色"},
    {0xA8A8A8, "0,66,0", "Light Gray", "明るい灰色"},
    {0xE5E5E5, "0,89,0", "Light Gray", "明るい灰色"},
    {0xE6E6E6, "0,90,0", "White", "白"},
    {0xFFFFFF, "0,100,0", "White", "白"},
    // S 13 against S 14 decides between a grey name and a hue name.
    {0x906F6F, "0,50,13", "Redish Gray", "赤みを帯びた灰色"},
    {0x926F6F, "0,50,14", "Grayish Red", "灰みの赤"},
    // hueSector comes from the unrounded hue: 2.6 degrees shows H 3 but is
    // still sector 1 (Red); 3.5 degrees is sector 2.
    {0xE60A00, "3,45,99", "Vivid Red", "あざやかな赤"},
    {0xF00E00, "4,47,99", "Vivid Yellowish Red", "あざやかな黄みの赤"},
    // 30 degrees.
    {0xFF8000, "30,50,100", "Vivid Orange", "あざやかな黄赤"},
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << std::hex << c.color; }

class ColorNames : public testing::TestWithParam<NameCase> {};

TEST_P(ColorNames, EnglishAndJapanese) {
  const NameCase& c = GetParam();
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(c.color)), c.hls);
  EXPECT_EQ(ColorExchange::ColorToName(Color(c.color)), c.english);
  EXPECT_EQ(ColorExchange::ColorToNameJ(Color(c.color)), c.japanese);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorNames, testing::ValuesIn(kNameCases));

struct ToneCase {
  int32_t lightness, saturation;
  const char* english;
  const char* japanese;
};

const ToneCase kToneCases[] = {
    {50, 100, "Vivid ", "あざやかな"},      {59, 100, "Vivid ", "あざやかな"},
    {60, 100, "Bright ", "明るい"},         {41, 100, "Vivid ", "あざやかな"},
    {40, 100, "Deep ", "こい"},             {50, 70, "Strong ", "つよい"},
    {25, 70, "Dull ", "くすんだ"},          {80, 100, "Light ", "うすい"},
    {95, 100, "Pale ", "ごくうすい"},       {50, 40, "Dull ", "くすんだ"},
    {51, 40, "Soft ", "やわらかい"},        {85, 40, "Light ", "うすい"},
    {90, 40, "Pale ", "ごくうすい"},        {15, 40, "Dark ", "暗い"},
    {5, 40, "Dark Grayish ", "ごく暗い"},   {85, 20, "Pale ", "ごくうすい"},
    {70, 20, "Light Grayish ", "明るい灰みの"}, {50, 20, "Grayish ", "灰みの"},
    {30, 20, "Grayish ", "暗い灰みの"},     {15, 20, "Dark Grayish ", "ごく暗い"},
    // The bounds of the saturation groups.
    {50, 27, "Grayish ", "灰みの"},         {50, 28, "Dull ", "くすんだ"},
    {50, 60, "Dull ", "くすんだ"},          {50, 61, "Strong ", "つよい"},
    {50, 80, "Strong ", "つよい"},          {50, 81, "Vivid ", "あざやかな"},
};

void PrintTo(const ToneCase& c, std::ostream* os) { *os << "L " << c.lightness << ", S " << c.saturation; }

class Tones : public testing::TestWithParam<ToneCase> {};

TEST_P(Tones, ByLightnessAndSaturationAlone) {
  const ToneCase& c = GetParam();
  const ColorExchange::NameTexts& tone = ColorExchange::ToneName(c.lightness, c.saturation);
  EXPECT_STREQ(tone.english, c.english);
  EXPECT_STREQ(tone.japanese, c.japanese);
}

INSTANTIATE_TEST_SUITE_P(Table, Tones, testing::ValuesIn(kToneCases));

// Fully saturated colours (one channel 255, one 0, L 50, S 100) in the middle
// of each hue row, built from the hue in degrees.
Color FullHue(double degrees) {
  const double sixths = degrees / 60;
  const int sector = int(sixths);
  const int rising = int(std::lround((sixths - sector) * 255));
  const int falling = 255 - rising;
  switch (sector) {
    case 0: return Color::FromRGB(255, rising, 0);
    case 1: return Color::FromRGB(falling, 255, 0);
    case 2: return Color::FromRGB(0, 255, rising);
    case 3: return Color::FromRGB(0, falling, 255);
    case 4: return Color::FromRGB(rising, 0, 255);
    default: return Color::FromRGB(255, 0, falling);
  }
}

struct HueCase {
  double degrees;
  const char* english;
  const char* japanese;
};

const HueCase kHueCases[] = {
    {1.5, "Red", "赤"},
    {9, "Yellowish Red", "黄みの赤"},
    {33, "Orange", "黄赤"},
    {55, "Redish Yellow", "赤みの黄"},
    {69, "Yellow", "黄"},
    {81, "Greenish Yellow", "緑みの黄"},
    {105, "Yellow Green", "黄緑"},
    {129, "Yellowish Green", "黄みの緑"},
    {141, "Green", "緑"},
    {153, "Bluish Green", "青みの緑"},
    {177, "Blue Green", "青緑"},
    {201, "Greenish Blue", "緑みの青"},
    {213, "Blue", "青"},
    {225, "Purplish Blue", "紫みの青"},
    {249, "Violet", "青紫"},
    {273, "Bluish Purple", "青みの紫"},
    {285, "Purple", "紫"},
    {297, "Redish Purple", "赤みの紫"},
    {321, "Red Purple", "赤紫"},
    {345, "Purplish Red", "紫みの赤"},
    {355, "Red", "赤"},
};

void PrintTo(const HueCase& c, std::ostream* os) { *os << c.degrees << " degrees"; }

class HueSectors : public testing::TestWithParam<HueCase> {};

TEST_P(HueSectors, NameTheRowOfTheHue) {
  const HueCase& c = GetParam();
  const Color colour = FullHue(c.degrees);
  EXPECT_EQ(ColorExchange::ColorToName(colour), std::string("Vivid ") + c.english);
  EXPECT_EQ(ColorExchange::ColorToNameJ(colour), std::string("あざやかな") + c.japanese);
}

INSTANTIATE_TEST_SUITE_P(Table, HueSectors, testing::ValuesIn(kHueCases));

// The pure-colour rules look only at the channels they name.
TEST(HueSectors, PureColourRulesNeedTheirChannels) {
  // Yellow needs R and G both at 255; C8C800 has the hue of yellow but not them.
  EXPECT_EQ(ColorExchange::ColorToName(Color(0xFFFF00)), "Vivid Yellow");
  EXPECT_EQ(ColorExchange::ColorToName(Color(0xC8C800)), "Deep Redish Yellow");
  // Green and blue need only the two other channels at 0, at any lightness.
  EXPECT_EQ(ColorExchange::ColorToName(Color(0x008000)), "Dull Green");
  EXPECT_EQ(ColorExchange::ColorToName(Color(0x000080)), "Dull Blue");
  // Off the pure colour by one step in a zero channel, the row's own name.
  EXPECT_EQ(ColorExchange::ColorToName(Color(0x01FF00)), "Vivid Yellow Green");
  EXPECT_EQ(ColorExchange::ColorToName(Color(0x0001FF)), "Vivid Violet");
}

struct TintCase {
  uint32_t color;  // L 52, S 5, at the hue given
  int degrees;
  const char* english;
  const char* japanese;
};

const TintCase kTintCases[] = {
    {0x8C8280, 10, "Redish Gray", "赤みを帯びた灰色"},
    {0x8C8C80, 60, "Yellowish Gray", "黄みの灰色"},
    {0x808C80, 120, "Greenish Gray", "緑みを帯びた灰色"},
    {0x808C8C, 180, "Bluish Gray", "青みの灰色"},
    {0x80808C, 240, "Purplish Gray", "紫みの灰色"},
    {0x8C808C, 300, "Purplish Gray", "紫みの灰色"},
    {0x8C8086, 330, "Redish Gray", "赤みを帯びた灰色"},
    {0x8C8082, 350, "Redish Gray", "赤みを帯びた灰色"},
};

void PrintTo(const TintCase& c, std::ostream* os) { *os << std::hex << c.color; }

class Tints : public testing::TestWithParam<TintCase> {};

TEST_P(Tints, NearNeutralTakesTheTintOfItsHue) {
  const TintCase& c = GetParam();
  EXPECT_EQ(ColorExchange::ColorToHLS(Color(c.color)), std::to_string(c.degrees) + ",52,5");
  EXPECT_EQ(ColorExchange::ColorToName(Color(c.color)), c.english);
  EXPECT_EQ(ColorExchange::ColorToNameJ(Color(c.color)), c.japanese);
}

INSTANTIATE_TEST_SUITE_P(Table, Tints, testing::ValuesIn(kTintCases));

}  // namespace
