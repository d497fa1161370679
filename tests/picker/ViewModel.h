#pragma once
// What the picker's view picture holds, pixel by pixel, for a capture placed
// by the drawing rules: the grey background, the capture enlarged and the
// crosshair with its gap around the centre.
#include <cstdint>
#include <optional>

#include "Color.h"
#include "Picture.h"

namespace view_model {

constexpr fw::Color kBackground{0x999999};

// Where the capture lands in the view: its top-left at (x, y), each capture
// pixel covering scale x scale view pixels.
struct Placement {
  int32_t x, y, scale;
};

inline bool OnCrosshair(int32_t i, int32_t j) {
  return (i == 101 && (j <= 99 || j >= 103)) || (j == 101 && (i <= 99 || i >= 103));
}

// The view pixel (i, j); no crosshair colour: no crosshair.
inline fw::Color ExpectedPixel(const fw::Picture& capture, Placement p, std::optional<fw::Color> crosshair, int32_t i,
                               int32_t j) {
  if (crosshair && OnCrosshair(i, j)) return *crosshair;
  int32_t di = i - p.x, dj = j - p.y;
  if (di < 0 || dj < 0) return kBackground;
  int32_t ci = di / p.scale, cj = dj / p.scale;
  if (ci >= capture.Width() || cj >= capture.Height()) return kBackground;
  return capture.PixelAt(ci, cj);
}

}  // namespace view_model
