#include "ColorComponents.h"

namespace fw {

double readColorHue(Color c) {
  const int r = c.Red(), g = c.Green(), b = c.Blue();
  const int mx = r >= g ? (r >= b ? r : b) : (g >= b ? g : b);
  const int mn = r <= g ? (r <= b ? r : b) : (g <= b ? g : b);
  if (mx == mn) return 0;
  const double d = mx - mn;
  // Sixths of a turn. Ties for the largest channel go to red, then green, so
  // that two equal channels land exactly on 0, 1, 2, 3, 4 or 5 sixths.
  double sixths;
  if (mx == r) sixths = (g - b) / d;
  else if (mx == g) sixths = (b - r) / d + 2;
  else sixths = (r - g) / d + 4;
  // The red sector runs from -1 to 1; its negative half belongs at the end of
  // the turn. Its least magnitude is 1/255, so the hue stays clearly below 1.
  if (sixths < 0) sixths += 6;
  return sixths / 6;
}

namespace {

// (255 - channel) / 255, raised by a billionth for every channel above 0.
// The CMYK text takes the least amount as K and divides the differences by
// 1 - K; in doubles that lands a hair below a whole percentage for some
// colours (000514 would show M 74 where the exact value is 75), and the
// truncation then drops a whole point. The nudge lifts every such result
// back over its whole number, stays far below the least gap between a
// percentage that is not whole and the next whole one (1/255), and keeps
// the amounts within 0..1 with 1 only for a channel of 0.
double Amount(int channel) { return channel == 0 ? 1.0 : (255 - channel) / 255.0 + 1e-9; }

}  // namespace

double readColorCyan(Color c) { return Amount(c.Red()); }

double readColorMagenta(Color c) { return Amount(c.Green()); }

double readColorYellow(Color c) { return Amount(c.Blue()); }

}  // namespace fw
