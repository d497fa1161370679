#pragma once
// What the picker's view picture holds, device pixel by device pixel, for a
// capture placed by the drawing rules: the grey background, every capture
// pixel as 2 x 2 view pixels, and the crosshair one point wide with its gap
// around the centre. A point of the 202-point view is the device pixels it
// owns at the display's scale.
#include <cstdint>
#include <optional>

#include "Color.h"
#include "DisplayScale.h"
#include "Picture.h"

namespace view_model {

constexpr fw::Color kBackground{0x999999};

// The view's device pixels on a display of `scale`.
struct Grid {
  explicit Grid(double scale)
      : size(At(202, scale)), sample(At(100, scale)), line(At(101, scale)), lineEnd(At(102, scale)),
        gapEnd(At(103, scale)) {}
  static int32_t At(int32_t point, double scale) { return int32_t(fw::DevicePixelAt(point, scale)); }
  int32_t size, sample, line, lineEnd, gapEnd;
};

// Where the capture lands: its pixel 0 at view pixel (x, y), each pixel 2 x 2;
// the first skipX columns (skipY rows) are not drawn.
struct Placement {
  int32_t x, y, skipX = 0, skipY = 0;
};

inline bool OnCrosshair(const Grid& g, int32_t i, int32_t j) {
  auto onLine = [&g](int32_t across, int32_t along) {
    return across >= g.line && across < g.lineEnd && (along < g.sample || along >= g.gapEnd);
  };
  return onLine(i, j) || onLine(j, i);
}

// The view pixel (i, j); no crosshair colour: no crosshair.
inline fw::Color ExpectedPixel(const fw::Picture& capture, Placement p, const Grid& g,
                               std::optional<fw::Color> crosshair, int32_t i, int32_t j) {
  if (crosshair && OnCrosshair(g, i, j)) return *crosshair;
  int32_t di = i - p.x, dj = j - p.y;
  if (di < 0 || dj < 0) return kBackground;
  int32_t ci = di / 2, cj = dj / 2;
  if (ci < p.skipX || cj < p.skipY || ci >= capture.Width() || cj >= capture.Height()) return kBackground;
  return capture.PixelAt(ci, cj);
}

}  // namespace view_model
