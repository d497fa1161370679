#pragma once
#include <string>

#include "framework/Color.h"

// Colour value texts and colour names: plain functions without state.
// Every text is UTF-8; numbers are plain decimal digits joined by ",".
namespace ColorExchange {

// Lightness on channels divided by 256: 0..0.99609375.
double getL(fw::Color c);
// Saturation on channels plus one, divided by 256: 0..1 (0 for a grey).
double getS(fw::Color c);

// "H,L,S": hue in degrees 0..360 (red is 0, or 360 when less than half a
// degree short of the full turn), lightness and saturation in percent 0..100.
std::string ColorToHLS(fw::Color c);
// "C,M,Y,K" in percent 0..100 each, truncated; black is "0,0,0,100".
std::string ColorToCMYK(fw::Color c);
// "C,M,Y,K" from given cyan, magenta and yellow amounts (0..1, the least
// below 1): the steps of ColorToCMYK after it has asked the components.
std::string ComponentsToCMYK(double cyan, double magenta, double yellow);
// "R,G,B", 0..255 each.
std::string ColorToRGB(fw::Color c);

// The colour's name in English ("Vivid Red", "Redish Gray") and in Japanese
// ("あざやかな赤", "赤みを帯びた灰色"); never empty.
std::string ColorToName(fw::Color c);
std::string ColorToNameJ(fw::Color c);

}  // namespace ColorExchange
