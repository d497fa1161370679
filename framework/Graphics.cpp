#include "Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "Picture.h"

namespace fw {
namespace {

// Coordinates are Int32 but their differences are not: 64-bit arithmetic,
// and 128-bit where two differences are multiplied.
using Wide = int64_t;

}  // namespace

void Graphics::FillRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  Wide left = std::max<Wide>(x, 0), top = std::max<Wide>(y, 0);
  Wide right = std::min<Wide>(Wide(x) + width, target_.Width());
  Wide bottom = std::min<Wide>(Wide(y) + height, target_.Height());
  uint32_t colour = ForeColor.RGB();
  for (Wide row = top; row < bottom; ++row) {
    uint32_t* line = target_.Data() + size_t(row) * size_t(target_.Width());
    std::fill(line + left, line + std::max(left, right), colour);
  }
}

void Graphics::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Walk the major axis only over the part inside the picture, so a line
  // with far-away ends costs no more than one across the picture; the minor
  // coordinate of step i is the exact rounding of i * minor / major.
  Wide dx = Wide(x2) - x1, dy = Wide(y2) - y1;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  Wide major = xMajor ? std::llabs(dx) : std::llabs(dy), minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1, minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  Wide majorStart = xMajor ? x1 : y1, minorStart = xMajor ? y1 : x1;
  Wide majorLimit = xMajor ? target_.Width() : target_.Height();
  Wide minorLimit = xMajor ? target_.Height() : target_.Width();

  // Steps i with 0 <= majorStart + majorStep * i < majorLimit.
  Wide first = majorStep > 0 ? -majorStart : majorStart - (majorLimit - 1);
  Wide last = majorStep > 0 ? majorLimit - 1 - majorStart : majorStart;
  first = std::max<Wide>(first, 0);
  last = std::min(last, major);
  uint32_t colour = ForeColor.RGB();
  for (Wide i = first; i <= last; ++i) {
    Wide offset = major == 0 ? 0 : Wide((__int128(2) * i * minor + major) / (__int128(2) * major));
    Wide a = majorStart + majorStep * i, b = minorStart + minorStep * offset;
    if (b < 0 || b >= minorLimit) continue;
    Wide px = xMajor ? a : b, py = xMajor ? b : a;
    target_.Data()[size_t(py) * size_t(target_.Width()) + size_t(px)] = colour;
  }
}

void Graphics::DrawPicture(const Picture& picture, int32_t x, int32_t y, int32_t destWidth,
                           int32_t destHeight, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                           int32_t sourceHeight) {
  Wide dw = destWidth == OmittedSize ? picture.Width() : destWidth;
  Wide dh = destHeight == OmittedSize ? picture.Height() : destHeight;
  Wide sw = sourceWidth == OmittedSize ? picture.Width() : sourceWidth;
  Wide sh = sourceHeight == OmittedSize ? picture.Height() : sourceHeight;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

  // Drawing a picture onto itself reads from a copy, so no pixel is read
  // after it was written.
  std::optional<Picture> copy;
  const Picture* source = &picture;
  if (&picture == &target_) {
    copy.emplace(picture.Width(), picture.Height());
    std::copy_n(picture.Data(), size_t(picture.Width()) * size_t(picture.Height()), copy->Data());
    source = &*copy;
  }

  // Destination column x + i shows source column sourceX + floor(i * sw / dw);
  // only destination pixels inside the target whose source pixel lies inside
  // the picture are drawn.
  Wide iFirst = std::max<Wide>(0, -Wide(x)), iLast = std::min<Wide>(dw, Wide(target_.Width()) - x);
  Wide jFirst = std::max<Wide>(0, -Wide(y)), jLast = std::min<Wide>(dh, Wide(target_.Height()) - y);
  std::vector<int32_t> columns;
  columns.reserve(size_t(std::max<Wide>(iLast - iFirst, 0)));
  for (Wide i = iFirst; i < iLast; ++i) {
    Wide column = sourceX + Wide(__int128(i) * sw / dw);
    columns.push_back(column >= 0 && column < source->Width() ? int32_t(column) : -1);
  }
  for (Wide j = jFirst; j < jLast; ++j) {
    Wide row = sourceY + Wide(__int128(j) * sh / dh);
    if (row < 0 || row >= source->Height()) continue;
    const uint32_t* from = source->Data() + size_t(row) * size_t(source->Width());
    uint32_t* to = target_.Data() + size_t(y + j) * size_t(target_.Width()) + size_t(x + iFirst);
    for (size_t k = 0; k < columns.size(); ++k) {
      if (columns[k] >= 0) to[k] = from[columns[k]];
    }
  }
}

Color Graphics::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return Color(0x000000);
  return target_.PixelAt(x, y);
}

}  // namespace fw
