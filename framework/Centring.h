#pragma once
#include <cstdint>

#include "Backend.h"
#include "System.h"

namespace fw {

// How far a window manager's frame reaches past a window's own area on each
// side, in points; all 0 where there is no frame or it is not known.
struct FrameMargins {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Where a window's own area of width x height points starts so that its
// frame lies in the middle of area (rounded towards the top left).
Point CentredOrigin(const ScreenRect& area, int32_t width, int32_t height, const FrameMargins& frame = {});

}  // namespace fw
