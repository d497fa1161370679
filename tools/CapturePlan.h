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

// Device pixels per point written as a decimal ("1.5"); nullopt unless it is
// greater than 0 and at most 64.
std::optional<double> ParseScale(std::string_view text);

// The scale a person running the tool by hand most likely has: Xft.dpi from
// the X resources (96 being 1) times QT_SCALE_FACTOR, each 1 when absent or
// unreadable.
double GuessScale(std::string_view resources, const char* qtScaleFactor);

// The whole points of a screen `devicePixels` wide, the last one owning
// its last device pixel.
long PointsOnScreen(long devicePixels, double scale);

// Picture pixels per point in the rectangle form: two on a high-resolution
// display (scale above 1), as the program draws such a capture at its own
// size, twice enlarged; one otherwise.
int PixelsPerPoint(double scale);

// The device column (row) of every picture column (row): `count` points
// from `first`, `perPoint` pixels each. Every pixel is one the point owns:
// the first whose centre lies at or after where its part of the point
// starts (fw::DevicePixelAt), else the point's last. A point's first picture
// pixel is thus its first device pixel.
std::vector<long> Axis(long first, long count, int perPoint, double scale);

}  // namespace capture
