#pragma once
// What the program tells screencapture through the environment, so that both
// count points and pixels alike.
namespace capture {
// The display scale it draws with: device pixels per point, the shortest
// decimal that reads back as the same double ("1.5", "1.1458333333333333").
inline constexpr const char* kScaleVariable = "TINTBEACON_SCALE_FACTOR";
// The device pixel under the pointer's hot spot when the tick read it, "x,y"
// in device pixels of the X screen; empty when the program knows only the
// pointer's point.
inline constexpr const char* kPointerVariable = "TINTBEACON_POINTER";
}  // namespace capture
