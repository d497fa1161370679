#pragma once
// The environment variable through which the program tells screencapture the
// display scale it draws with (device pixels per point, a decimal such as
// "1.5"), so that both count points alike.
namespace capture {
inline constexpr const char* kScaleVariable = "TINTBEACON_SCALE_FACTOR";
}
