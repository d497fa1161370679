#include "DisplayScale.h"

#include <cmath>

namespace fw {

long DevicePixelAt(double points, double scale) { return long(std::ceil(points * scale - 0.5)); }

long PointAt(long d, double scale) { return long(std::floor((double(d) + 0.5) / scale)); }

}  // namespace fw
