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

double readColorCyan(Color c) { return 1 - c.Red() / 255.0; }

double readColorMagenta(Color c) { return 1 - c.Green() / 255.0; }

double readColorYellow(Color c) { return 1 - c.Blue() / 255.0; }

}  // namespace fw
