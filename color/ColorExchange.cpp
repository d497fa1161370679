#include "color/ColorExchange.h"

#include "color/ColorNames.h"
#include "framework/ColorComponents.h"
#include "framework/Text.h"

using fw::Color;

namespace ColorExchange {

double getL(Color c) {
  const double r = c.Red(), g = c.Green(), b = c.Blue();
  const double mx = fw::Max(fw::Max(r, g), b);
  const double mn = fw::Min(fw::Min(r, g), b);
  return ((mx + mn) / 2) / 256;
}

double getS(Color c) {
  const double r = (c.Red() + 1) / 256.0, g = (c.Green() + 1) / 256.0, b = (c.Blue() + 1) / 256.0;
  const double mx = fw::Max(fw::Max(r, g), b);
  const double mn = fw::Min(fw::Min(r, g), b);
  const double l = (mx + mn) / 2;
  const double d = mx - mn;
  if (d == 0) return 0;
  if (l <= 0.5) return d / (mx + mn);
  return d / (2 - (mx + mn));
}

std::string ColorToHLS(Color c) {
  const double hue = fw::readColorHue(c);
  const double lightness = getL(c);
  const double saturation = getS(c);
  const double h = fw::Round(hue * 360);
  const double l = fw::Round(lightness * 100);
  const double s = fw::Round(saturation * 100);
  return fw::Str(h) + "," + fw::Str(l) + "," + fw::Str(s);
}

std::string ComponentsToCMYK(double cyan, double magenta, double yellow) {
  const double k = fw::Min(fw::Min(cyan, magenta), yellow);
  const double c = (cyan - k) / (1 - k);
  const double m = (magenta - k) / (1 - k);
  const double y = (yellow - k) / (1 - k);
  return fw::Str(fw::ToInt32(c * 100)) + "," + fw::Str(fw::ToInt32(m * 100)) + "," +
         fw::Str(fw::ToInt32(y * 100)) + "," + fw::Str(fw::ToInt32(k * 100));
}

std::string ColorToCMYK(Color c) {
  // Black is the one colour whose K is 1, which the division could not take.
  if (c.Red() == 0 && c.Green() == 0 && c.Blue() == 0) return "0,0,0,100";
  return ComponentsToCMYK(fw::readColorCyan(c), fw::readColorMagenta(c), fw::readColorYellow(c));
}

std::string ColorToRGB(Color c) {
  return fw::Str(int32_t(c.Red())) + "," + fw::Str(int32_t(c.Green())) + "," + fw::Str(int32_t(c.Blue()));
}

namespace {

// Both languages run the same steps; only the column of the tables differs.
using Column = const char* NameTexts::*;

std::string Name(Color c, Column column) {
  // L and S come back out of the HLS text so the name agrees with what it shows.
  const std::string hls = ColorToHLS(c);
  const int32_t l = fw::ToInt32(fw::Val(fw::NthField(hls, ",", 2)));
  const int32_t s = fw::ToInt32(fw::Val(fw::NthField(hls, ",", 3)));
  const double hue = fw::readColorHue(c);

  if (s > 13) {
    const int32_t hueSector = fw::ToInt32(fw::Round((hue * 360) / 6) + 1);
    const NameTexts& hueName = HueName(hueSector, c.Red(), c.Green(), c.Blue());
    return std::string(ToneName(l, s).*column) + hueName.*column;
  }
  const int32_t tintSector = fw::ToInt32(fw::Round((hue * 360) / 36) + 1);
  const std::string tint = s == 0 ? "" : TintName(tintSector).*column;
  return tint + GrayName(l).*column;
}

}  // namespace

std::string ColorToName(Color c) { return Name(c, &NameTexts::english); }

std::string ColorToNameJ(Color c) { return Name(c, &NameTexts::japanese); }

}  // namespace ColorExchange
