#include "Centring.h"

namespace fw {

namespace {

int32_t CentredStart(int32_t areaStart, int32_t areaLength, int32_t before, int32_t length, int32_t after) {
  const int64_t frameLength = int64_t(before) + length + after;
  return int32_t(areaStart + (int64_t(areaLength) - frameLength) / 2 + before);
}

}  // namespace

Point CentredOrigin(const ScreenRect& area, int32_t width, int32_t height, const FrameMargins& frame) {
  return {CentredStart(area.Left, area.Width, frame.left, width, frame.right),
          CentredStart(area.Top, area.Height, frame.top, height, frame.bottom)};
}

}  // namespace fw
