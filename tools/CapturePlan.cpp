#include "CapturePlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "DisplayScale.h"

namespace capture {

namespace {

constexpr double kMinScale = 1, kMaxScale = 16;

std::optional<double> ParsePositive(std::string_view text, double max) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value) || value <= 0 || value > max) return std::nullopt;
  return value;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The value of "Xft.dpi" in an X resource string (one "name: value" a line).
std::optional<double> XftDpi(std::string_view resources) {
  constexpr std::string_view kName = "Xft.dpi:";
  while (!resources.empty()) {
    size_t end = resources.find('\n');
    std::string_view line = resources.substr(0, end);
    resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
    if (line.substr(0, kName.size()) == kName) return ParsePositive(Trim(line.substr(kName.size())), 96 * kMaxScale);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Pixel> ParsePixel(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  int32_t values[2];
  const std::string_view parts[2] = {text.substr(0, comma), text.substr(comma + 1)};
  for (int i = 0; i < 2; ++i) {
    const char* end = parts[i].data() + parts[i].size();
    auto [next, error] = std::from_chars(parts[i].data(), end, values[i]);
    if (error != std::errc() || next != end || parts[i].empty()) return std::nullopt;
  }
  return Pixel{values[0], values[1]};
}

bool ScaleServed(double scale) { return scale >= kMinScale && scale <= kMaxScale; }

std::optional<Rect> ParseRect(std::string_view text) {
  long values[4];
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    int32_t value;
    auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc() || next == p) return std::nullopt;
    values[i] = value;
    p = next;
  }
  if (p != end || values[2] < 1 || values[3] < 1) return std::nullopt;
  return Rect{values[0], values[1], values[2], values[3]};
}

std::optional<double> ParseScale(std::string_view text) {
  std::optional<double> scale = ParsePositive(text, kMaxScale);
  return scale && ScaleServed(*scale) ? scale : std::nullopt;
}

double GuessScale(std::string_view resources, const char* qtScaleFactor) {
  double scale = XftDpi(resources).value_or(96) / 96;
  if (qtScaleFactor) scale *= ParsePositive(qtScaleFactor, kMaxScale).value_or(1);
  return scale;
}

std::vector<long> Axis(long first, long count, int perPoint, double scale) {
  std::vector<long> pixels(size_t(count) * size_t(perPoint));
  for (size_t i = 0; i < pixels.size(); ++i) {
    const long point = first + long(i) / perPoint;
    const long own = fw::DevicePixelAt(double(point), scale);
    const long lastOwn = fw::DevicePixelAt(double(point + 1), scale) - 1;
    // Never a pixel of the next point, which a part of a thin point (scale
    // 1.5) would otherwise take.
    const long atPart = fw::DevicePixelAt(double(first) + double(i) / perPoint, scale);
    pixels[i] = std::max(own, std::min(atPart, lastOwn));
  }
  return pixels;
}

std::vector<long> AroundPointer(long first, long count, int perPoint, double scale, long pointer) {
  std::vector<long> pixels(size_t(count) * size_t(perPoint));
  long start = pointer - perPoint * (fw::PointAt(pointer, scale) - first);
  // A rectangle from the screen's first point keeps the screen's first
  // pixels, which a pointer inside its point would otherwise push out.
  if (first == 0) start = std::min(start, 0L);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = start + long(i);
  return pixels;
}

std::vector<long> EveryPixel(long count) {
  std::vector<long> pixels(size_t(std::max(count, 0L)));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = long(i);
  return pixels;
}

}  // namespace capture
