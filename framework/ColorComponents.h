#pragma once
#include "Color.h"

namespace fw {

// Hue as a fraction of a full turn, at least 0 and below 1; red 0, yellow 1/6,
// green 1/3, cyan 1/2, blue 2/3, magenta 5/6. A grey (all channels equal) has hue 0.
double readColorHue(Color c);
// Amounts of cyan, magenta and yellow, 0..1 each: (255 - channel) / 255,
// nudged so that CMYK percentages truncate to their exact values; 1 only
// for a channel of 0.
double readColorCyan(Color c);
double readColorMagenta(Color c);
double readColorYellow(Color c);

}  // namespace fw
