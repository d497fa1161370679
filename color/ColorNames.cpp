#include "ColorNames.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace ColorExchange {
namespace {

// A channel value that a pure-colour rule does not look at.
constexpr int kAny = -1;

struct HueRow {
  int32_t first, last;  // hueSector range, inclusive
  NameTexts name;
  // The pure-colour rule: when every channel that it names has its value,
  // pureName replaces name. No rule where pureName.english is null.
  int pureRed, pureGreen, pureBlue;
  NameTexts pureName;
};

constexpr HueRow kHueRows[] = {
    {1, 1, {"Red", "赤"}, kAny, kAny, kAny, {}},
    {2, 3, {"Yellowish Red", "黄みの赤"}, kAny, kAny, kAny, {}},
    {4, 9, {"Orange", "黄赤"}, kAny, kAny, kAny, {}},
    {10, 11, {"Redish Yellow", "赤みの黄"}, 255, 255, kAny, {"Yellow", "黄"}},
    {12, 13, {"Yellow", "黄"}, kAny, kAny, kAny, {}},
    {14, 15, {"Greenish Yellow", "緑みの黄"}, kAny, kAny, kAny, {}},
    {16, 21, {"Yellow Green", "黄緑"}, 0, kAny, 0, {"Green", "緑"}},
    {22, 23, {"Yellowish Green", "黄みの緑"}, kAny, kAny, kAny, {}},
    {24, 25, {"Green", "緑"}, kAny, kAny, kAny, {}},
    {26, 27, {"Bluish Green", "青みの緑"}, kAny, kAny, kAny, {}},
    {28, 33, {"Blue Green", "青緑"}, kAny, kAny, kAny, {}},
    {34, 35, {"Greenish Blue", "緑みの青"}, kAny, kAny, kAny, {}},
    {36, 37, {"Blue", "青"}, kAny, kAny, kAny, {}},
    {38, 39, {"Purplish Blue", "紫みの青"}, kAny, kAny, kAny, {}},
    {40, 45, {"Violet", "青紫"}, 0, 0, kAny, {"Blue", "青"}},
    {46, 47, {"Bluish Purple", "青みの紫"}, kAny, kAny, kAny, {}},
    {48, 49, {"Purple", "紫"}, kAny, kAny, kAny, {}},
    {50, 51, {"Redish Purple", "赤みの紫"}, kAny, kAny, kAny, {}},
    {52, 57, {"Red Purple", "赤紫"}, kAny, kAny, kAny, {}},
    {58, 59, {"Purplish Red", "紫みの赤"}, kAny, kAny, kAny, {}},
    {60, 61, {"Red", "赤"}, kAny, kAny, kAny, {}},
};

// Tried in order; the last row that holds wins.
struct ToneRow {
  int32_t leastL, mostL, leastS;
  NameTexts name;
};

constexpr ToneRow kToneRows[] = {
    {81, 100, 0, {"Pale ", "ごくうすい"}},
    {61, 80, 0, {"Light Grayish ", "明るい灰みの"}},
    {41, 60, 0, {"Grayish ", "灰みの"}},
    {21, 40, 0, {"Grayish ", "暗い灰みの"}},
    {0, 20, 0, {"Dark Grayish ", "ごく暗い"}},
    {78, 89, 28, {"Light ", "うすい"}},
    {51, 77, 28, {"Soft ", "やわらかい"}},
    {23, 50, 28, {"Dull ", "くすんだ"}},
    {11, 22, 28, {"Dark ", "暗い"}},
    {58, 71, 61, {"Bright ", "明るい"}},
    {43, 57, 61, {"Strong ", "つよい"}},
    {29, 42, 61, {"Deep ", "こい"}},
    {41, 59, 81, {"Vivid ", "あざやかな"}},
};

struct RangeRow {
  int32_t first, last;  // inclusive
  NameTexts name;
};

constexpr RangeRow kTintRows[] = {
    {1, 1, {"Redish ", "赤みを帯びた"}},
    {2, 3, {"Yellowish ", "黄みの"}},
    {4, 5, {"Greenish ", "緑みを帯びた"}},
    {6, 7, {"Bluish ", "青みの"}},
    {8, 9, {"Purplish ", "紫みの"}},
    {10, 11, {"Redish ", "赤みを帯びた"}},
};

constexpr RangeRow kGrayRows[] = {
    {0, 10, {"Black", "黒"}},
    {11, 34, {"Dark Gray", "暗い灰色"}},
    {35, 65, {"Gray", "灰色"}},
    {66, 89, {"Light Gray", "明るい灰色"}},
    {90, 100, {"White", "白"}},
};

// For every key Lo..Hi the index of the row whose range holds it. Evaluated
// at compile time, so a key without a row or with two rows fails the build.
template <int32_t Lo, int32_t Hi, typename Row, size_t N>
constexpr std::array<unsigned char, Hi - Lo + 1> IndexByKey(const Row (&rows)[N]) {
  std::array<unsigned char, Hi - Lo + 1> index{};
  std::array<bool, Hi - Lo + 1> seen{};
  for (size_t i = 0; i < N; ++i) {
    for (int32_t key = rows[i].first; key <= rows[i].last; ++key) {
      if (key < Lo || key > Hi || seen[key - Lo]) throw "row outside the keys or overlapping";
      seen[key - Lo] = true;
      index[key - Lo] = static_cast<unsigned char>(i);
    }
  }
  for (bool s : seen) {
    if (!s) throw "key without a row";
  }
  return index;
}

constexpr auto kHueRowBySector = IndexByKey<1, 61>(kHueRows);
constexpr auto kTintRowBySector = IndexByKey<1, 11>(kTintRows);
constexpr auto kGrayRowByLightness = IndexByKey<0, 100>(kGrayRows);

// The tone rows without a saturation bound must cover every lightness, so
// that some tone always holds.
constexpr bool EveryLightnessHasATone() {
  for (int32_t l = 0; l <= 100; ++l) {
    bool held = false;
    for (const ToneRow& row : kToneRows) held = held || (row.leastS == 0 && row.leastL <= l && l <= row.mostL);
    if (!held) return false;
  }
  return true;
}
static_assert(EveryLightnessHasATone());

constexpr bool Matches(int want, int channel) { return want == kAny || want == channel; }

}  // namespace

const NameTexts& HueName(int32_t hueSector, int red, int green, int blue) {
  const HueRow& row = kHueRows[kHueRowBySector[std::clamp(hueSector, 1, 61) - 1]];
  if (row.pureName.english && Matches(row.pureRed, red) && Matches(row.pureGreen, green) &&
      Matches(row.pureBlue, blue)) {
    return row.pureName;
  }
  return row.name;
}

const NameTexts& ToneName(int32_t lightness, int32_t saturation) {
  lightness = std::clamp(lightness, 0, 100);
  // Set by one of the first five rows at the latest (checked above).
  const NameTexts* tone = nullptr;
  for (const ToneRow& row : kToneRows) {
    if (row.leastL <= lightness && lightness <= row.mostL && saturation >= row.leastS) tone = &row.name;
  }
  return *tone;
}

const NameTexts& TintName(int32_t tintSector) {
  return kTintRows[kTintRowBySector[std::clamp(tintSector, 1, 11) - 1]].name;
}

const NameTexts& GrayName(int32_t lightness) {
  return kGrayRows[kGrayRowByLightness[std::clamp(lightness, 0, 100)]].name;
}

}  // namespace ColorExchange
