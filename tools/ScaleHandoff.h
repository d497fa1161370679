#pragma once
// What the program tells screencapture through the environment, and what both
// take as given, so that both count points and pixels alike.
#include <cmath>

namespace capture {
// The display scale it draws with: device pixels per point, the shortest
// decimal that reads back as the same double ("1.5", "1.1458333333333333").
inline constexpr const char* kScaleVariable = "TINTBEACON_SCALE_FACTOR";
// The device pixel under the pointer's hot spot when the tick read it, "x,y"
// in device pixels of the X screen; empty when the program knows only the
// pointer's point.
inline constexpr const char* kPointerVariable = "TINTBEACON_POINTER";
// Picture pixels per point in the rectangle form: every device pixel of the
// point on a high-resolution display, one otherwise. The view shows each
// device pixel twice enlarged, so the rectangle's 101 points then cover the
// view.
inline int RectanglePixelsPerPoint(double scale) { return scale > 1 ? int(std::ceil(scale)) : 1; }
}  // namespace capture
