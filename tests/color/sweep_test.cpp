#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "color/ColorExchange.h"
#include "color/ColorNames.h"
#include "framework/ColorComponents.h"

using fw::Color;

namespace {

// Reads exactly `count` whole numbers in plain digits (no sign, no leading
// zero) joined by "," with no blanks; false for any other text.
bool ReadFields(const std::string& text, int count, int* fields) {
  size_t i = 0;
  for (int f = 0; f < count; ++f) {
    if (f > 0 && (i >= text.size() || text[i++] != ',')) return false;
    const size_t start = i;
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 4) value = value * 10 + (text[i++] - '0');
    if (i == start || (text[start] == '0' && i - start > 1)) return false;
    fields[f] = value;
  }
  return i == text.size();
}

bool InRange(const int* fields, int count, int least, int most) {
  return std::all_of(fields, fields + count, [&](int v) { return v >= least && v <= most; });
}

// The name is built from the L and S that the HLS text shows: a tone and a
// hue name above S 13, else a tint (none at S 0) and the grey name of L.
bool NameAgrees(const std::string& name, int l, int s, const char* ColorExchange::NameTexts::*column) {
  if (name.empty()) return false;
  if (s > 13) {
    const std::string tone = ColorExchange::ToneName(l, s).*column;
    return name.size() > tone.size() && name.compare(0, tone.size(), tone) == 0 && name[tone.size()] != ' ';
  }
  const std::string gray = ColorExchange::GrayName(l).*column;
  if (name.size() < gray.size() || name.compare(name.size() - gray.size(), gray.size(), gray) != 0) return false;
  return (name.size() == gray.size()) == (s == 0);
}

// The hue the fixed points give: two equal smaller channels put it at the
// third, two equal larger ones midway between them; -1 for any other colour.
double FixedHue(int r, int g, int b) {
  if (g == b && r > g) return 0;
  if (r == b && g > r) return 1.0 / 3;
  if (r == g && b > r) return 2.0 / 3;
  if (r == g && r > b) return 1.0 / 6;
  if (g == b && g > r) return 0.5;
  if (r == b && r > g) return 5.0 / 6;
  return -1;
}

// The CMYK text in whole-number arithmetic: K = (255 - max) / 255 and each
// of C, M, Y = (max - channel) / max, in percent, truncated.
std::string ExactCMYK(int r, int g, int b) {
  const int mx = std::max({r, g, b});
  if (mx == 0) return "0,0,0,100";
  return std::to_string(100 * (mx - r) / mx) + "," + std::to_string(100 * (mx - g) / mx) + "," +
         std::to_string(100 * (mx - b) / mx) + "," + std::to_string(100 * (255 - mx) / 255);
}

// Checks every colour in [first, last); returns the texts of the faults found.
std::vector<std::string> CheckColours(uint32_t first, uint32_t last) {
  std::vector<std::string> faults;
  const auto fault = [&](uint32_t rgb, const std::string& what) {
    if (faults.size() < 20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%06X", rgb);
      faults.push_back(std::string(hex) + ": " + what);
    } else {
      faults.back() = "...and more";
    }
  };
  for (uint32_t rgb = first; rgb < last; ++rgb) {
    const Color c(rgb);
    const int r = c.Red(), g = c.Green(), b = c.Blue();

    const std::string rgbText = ColorExchange::ColorToRGB(c);
    int channels[3];
    if (!ReadFields(rgbText, 3, channels) || channels[0] != r || channels[1] != g || channels[2] != b)
      fault(rgb, "RGB text " + rgbText);

    // The colour components: amounts within 0..1 whose least is below 1
    // for every colour but black; the hue below 1 and on its fixed points.
    const double amounts[3] = {fw::readColorCyan(c), fw::readColorMagenta(c), fw::readColorYellow(c)};
    if (!std::all_of(amounts, amounts + 3, [](double a) { return a >= 0 && a <= 1; }) ||
        (std::min({amounts[0], amounts[1], amounts[2]}) < 1) != (rgb != 0))
      fault(rgb, "colour amounts out of range");
    const double hue = fw::readColorHue(c), fixedHue = FixedHue(r, g, b);
    if (!(hue >= 0 && hue < 1) || (fixedHue >= 0 && hue != fixedHue)) fault(rgb, "hue " + std::to_string(hue));

    // Every CMYK percentage is the exact one, truncated.
    const std::string cmyk = ColorExchange::ColorToCMYK(c);
    if (cmyk != ExactCMYK(r, g, b)) fault(rgb, "CMYK text " + cmyk + ", exactly " + ExactCMYK(r, g, b));

    const double lightness = ColorExchange::getL(c), saturation = ColorExchange::getS(c);
    if (!(lightness >= 0 && lightness <= 0.99609375) || !(saturation >= 0 && saturation <= 1) ||
        (saturation == 0) != (r == g && g == b))
      fault(rgb, "L or S out of range");

    const std::string hls = ColorExchange::ColorToHLS(c);
    int hlsFields[3];
    if (!ReadFields(hls, 3, hlsFields) || hlsFields[0] > 360 || !InRange(hlsFields + 1, 2, 0, 100) ||
        hlsFields[1] != std::lround(lightness * 100) || hlsFields[2] != std::lround(saturation * 100)) {
      fault(rgb, "HLS text " + hls);
      continue;
    }

    const std::string english = ColorExchange::ColorToName(c);
    const std::string japanese = ColorExchange::ColorToNameJ(c);
    if (!NameAgrees(english, hlsFields[1], hlsFields[2], &ColorExchange::NameTexts::english))
      fault(rgb, "name " + english + " for HLS " + hls);
    if (!NameAgrees(japanese, hlsFields[1], hlsFields[2], &ColorExchange::NameTexts::japanese))
      fault(rgb, "name " + japanese + " for HLS " + hls);

    // A different, never zero, value in bits 24-31 for each colour.
    const Color marked(rgb | (((rgb * 2654435761u) >> 24) | 1u) << 24);
    if (ColorExchange::ColorToRGB(marked) != rgbText || ColorExchange::ColorToCMYK(marked) != cmyk ||
        ColorExchange::ColorToHLS(marked) != hls || ColorExchange::getL(marked) != lightness ||
        ColorExchange::getS(marked) != saturation || ColorExchange::ColorToName(marked) != english ||
        ColorExchange::ColorToNameJ(marked) != japanese)
      fault(rgb, "bits 24-31 change a result");
  }
  return faults;
}

TEST(Sweep, EveryColourKeepsTheInvariants) {
  constexpr uint32_t kColours = 1u << 24;
  const uint32_t threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::vector<std::string>> faults(threads);
  std::vector<std::thread> workers;
  for (uint32_t t = 0; t < threads; ++t) {
    const uint32_t first = uint32_t(uint64_t(kColours) * t / threads);
    const uint32_t last = uint32_t(uint64_t(kColours) * (t + 1) / threads);
    workers.emplace_back([&faults, t, first, last] { faults[t] = CheckColours(first, last); });
  }
  for (std::thread& worker : workers) worker.join();
  for (const auto& part : faults) {
    for (const std::string& f : part) ADD_FAILURE() << f;
  }
}

}  // namespace
