#pragma once
// Points and device pixels on a display of `scale` device pixels per point
// (scale at least 1, fractional ones included). Device pixel d spans the
// positions d to d + 1, point p the positions p x scale to (p + 1) x scale,
// and a point owns the pixels whose centres lie in it: every device pixel
// belongs to exactly one point, a screen's last pixel to its last point.

namespace fw {

// The first device pixel whose centre lies at or after the position
// `points` (whole or not) x scale. For a whole point, its first pixel.
long DevicePixelAt(double points, double scale);

// The point that owns device pixel d.
long PointAt(long d, double scale);

}  // namespace fw
