#include "Centring.h"

#include <gtest/gtest.h>

namespace {

// The frame, not the window's own area, lies in the middle of the area: a
// title bar pushes the own area down by half its height.
TEST(CentredOrigin, PutsTheFrameInTheMiddleOfTheArea) {
  struct Case {
    const char* name;
    fw::ScreenRect area;
    int32_t width, height;
    fw::FrameMargins frame;
    int32_t left, top;
  };
  const Case cases[] = {
      {"no frame", {0, 0, 800, 600}, 280, 244, {}, 260, 178},
      {"title bar and borders", {0, 0, 800, 600}, 280, 244, {1, 21, 1, 1}, 260, 188},
      {"a wider frame on one side", {0, 0, 800, 600}, 280, 244, {10, 0, 0, 0}, 265, 178},
      {"odd sizes round towards the top left", {0, 0, 801, 601}, 280, 243, {0, 3, 0, 0}, 260, 180},
      {"an area away from the origin", {1920, 100, 1280, 1024}, 280, 244, {1, 21, 1, 1}, 2420, 500},
      {"larger than the area", {0, 0, 200, 100}, 280, 244, {1, 21, 1, 1}, -40, -62},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fw::Point at = fw::CentredOrigin(c.area, c.width, c.height, c.frame);
    EXPECT_EQ(at.x, c.left);
    EXPECT_EQ(at.y, c.top);
  }
}

}  // namespace
