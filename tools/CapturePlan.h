#pragma once
// Which device pixels of the screen a capture shows: the arguments read, the
// display scale worked out and every picture pixel mapped to the device
// pixel it copies. No display is needed here.
#include <optional>
#include <string_view>
#include <vector>

namespace capture {

// A rectangle in points.
struct Rect {
  long x, y, width, height;
};

// "x,y,w,h": four decimal integers, width and height at least 1.
std::optional<Rect> ParseRect(std::string_view text);

// A device pixel: "x,y", two decimal integers.
struct Pixel {
  long x, y;
};
std::optional<Pixel> ParsePixel(std::string_view text);

// The display scales a capture serves: 1 to 16 device pixels per point.
bool ScaleServed(double scale);

// Device pixels per point written as a decimal ("1.5"); nullopt unless it is
// a scale served.
std::optional<double> ParseScale(std::string_view text);

// The scale a person running the tool by hand most likely has: Xft.dpi from
// the X resources (96 being 1) times QT_SCALE_FACTOR, each 1 when absent or
// unreadable. It may lie outside the scales served.
double GuessScale(std::string_view resources, const char* qtScaleFactor);

// The device column (row) of every picture column (row): `count` points
// from `first`, `perPoint` pixels each. Every pixel is one the point owns:
// the first whose centre lies at or after where its part of the point
// starts (fw::DevicePixelAt), else the point's last. A point's first picture
// pixel is thus its first device pixel.
std::vector<long> Axis(long first, long count, int perPoint, double scale);

// The rectangle form when the device pixel under the pointer is known:
// consecutive device pixels, the pointer's at perPoint x (its point -
// first), where the view expects the pointer's point to start; from the
// screen's first point (first 0), at that or at the pointer's own device
// position, whichever is further, so that the screen's first pixels are
// there. So the view shows the pixel under the pointer, not its point's
// first, and magnifies every device pixel alike.
std::vector<long> AroundPointer(long first, long count, int perPoint, double scale, long pointer);

// The whole-screen form: the screen's `count` device pixels in order.
std::vector<long> EveryPixel(long count);

}  // namespace capture
