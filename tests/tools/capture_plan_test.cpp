#include "CapturePlan.h"
#include "ScaleHandoff.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "DisplayScale.h"

namespace {

TEST(CapturePlan, RectangleArguments) {
  struct Case {
    const char* text;
    std::optional<capture::Rect> rect;
  };
  const Case cases[] = {
      {"762,381,101,101", capture::Rect{762, 381, 101, 101}},
      {"-30,-40,5,6", capture::Rect{-30, -40, 5, 6}},
      {"1,2,3", std::nullopt},
      {"1,2,3,4,5", std::nullopt},
      {"1,2,0,5", std::nullopt},
      {"1,2,5,-5", std::nullopt},
      {"1, 2,3,4", std::nullopt},
      {"a,b,c,d", std::nullopt},
      {"1,2,3,4 ", std::nullopt},
      {"99999999999,0,1,1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<capture::Rect> r = capture::ParseRect(c.text);
    ASSERT_EQ(r.has_value(), c.rect.has_value());
    if (r) {
      EXPECT_EQ(r->x, c.rect->x);
      EXPECT_EQ(r->y, c.rect->y);
      EXPECT_EQ(r->width, c.rect->width);
      EXPECT_EQ(r->height, c.rect->height);
    }
  }
}

TEST(CapturePlan, ScaleHandedOverOrGuessed) {
  EXPECT_EQ(capture::ParseScale("1.5"), 1.5);
  EXPECT_EQ(capture::ParseScale("2"), 2.0);
  EXPECT_EQ(capture::ParseScale("1"), 1.0);
  EXPECT_EQ(capture::ParseScale("16"), 16.0);
  EXPECT_EQ(capture::ParseScale("1.1458333333333333"), 110.0 / 96);
  // Only the scales a capture serves: below 1 a point is less than a pixel,
  // and a tiny scale would overflow the pixel counts.
  for (const char* bad : {"", "0", "1e-300", "0.5", "0.9999", "17", "16.01", "-1", "nan", "inf", "1,5", "1.5x", " 2",
                          "1e300"}) {
    EXPECT_EQ(capture::ParseScale(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(capture::GuessScale("", nullptr), 1.0);
  EXPECT_EQ(capture::GuessScale("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", nullptr), 1.5);
  EXPECT_EQ(capture::GuessScale("Xft.dpi: 192", "1.5"), 3.0);
  EXPECT_EQ(capture::GuessScale("Xft.dpi:\tlots\n", "2"), 2.0);
  EXPECT_EQ(capture::GuessScale("Xft.dpi:\t-96\n", "bad"), 1.0);
  EXPECT_FALSE(capture::ScaleServed(capture::GuessScale("", "1e-300")));
  EXPECT_FALSE(capture::ScaleServed(capture::GuessScale("Xft.dpi: 48", nullptr)));
}

TEST(CapturePlan, RectangleFormSamplesTheNearestDevicePixelEveryPixelOfAPoint) {
  // Enough pixels per point for the view's 2 x 2 device pixels each.
  EXPECT_EQ(capture::RectanglePixelsPerPoint(1), 1);
  EXPECT_EQ(capture::RectanglePixelsPerPoint(0.75), 1);
  EXPECT_EQ(capture::RectanglePixelsPerPoint(1.25), 2);
  EXPECT_EQ(capture::RectanglePixelsPerPoint(2), 2);
  EXPECT_EQ(capture::RectanglePixelsPerPoint(2.5), 3);
  // Scale 1: the points themselves; scale 2: every device pixel once.
  EXPECT_EQ(capture::Axis(7, 3, 1, 1), (std::vector<long>{7, 8, 9}));
  EXPECT_EQ(capture::Axis(7, 3, 2, 2), (std::vector<long>{14, 15, 16, 17, 18, 19}));
  // 1.5: points 0 to 3 own the pixels {0}, {1, 2}, {3}, {4, 5}; half
  // points start at 0, 0.75, 1.5, 2.25, 3, 3.75, 4.5, 5.25.
  EXPECT_EQ(capture::Axis(0, 4, 2, 1.5), (std::vector<long>{0, 0, 1, 2, 3, 3, 4, 5}));
  // 3: a point's first pixel and the one in its middle.
  EXPECT_EQ(capture::Axis(10, 2, 2, 3), (std::vector<long>{30, 31, 33, 34}));
  for (double scale : {1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
    SCOPED_TRACE(scale);
    // Each point's first picture pixel is the device pixel of the point,
    // which the desktop reads back as that point: the view's pixel 100 of
    // a rectangle starting 50 points before the pointer shows the pointer's.
    const std::vector<long> axis = capture::Axis(700, 101, 2, scale);
    for (long k = 0; k < 101; ++k) {
      EXPECT_EQ(axis[size_t(2 * k)], fw::DevicePixelAt(double(700 + k), scale));
      EXPECT_EQ(fw::PointAt(axis[size_t(2 * k)], scale), 700 + k);
      EXPECT_EQ(fw::PointAt(axis[size_t(2 * k + 1)], scale), 700 + k);
    }
  }
}

TEST(CapturePlan, PointerPixelArgument) {
  EXPECT_EQ(capture::ParsePixel("1001,601")->x, 1001);
  EXPECT_EQ(capture::ParsePixel("1001,601")->y, 601);
  EXPECT_EQ(capture::ParsePixel("-3,0")->x, -3);
  for (const char* bad : {"", ",", "1,", ",1", "1,2,3", "1;2", "1, 2", "a,b", "99999999999,1"}) {
    EXPECT_FALSE(capture::ParsePixel(bad).has_value()) << bad;
  }
}

// With the pointer's device pixel known, the view's place for the pointer's
// point (perPoint x (point - first) in the capture) shows that pixel, at
// every scale and on every pixel of a point, and its neighbours are the
// screen's neighbours: every device pixel magnified alike.
TEST(CapturePlan, RectangleFormCentresOnThePixelUnderThePointer) {
  struct Case {
    double scale;
    long pointer;  // device pixel
    long first;    // the rectangle's first point: the pointer's point - 50, or 0
  };
  std::vector<Case> cases;
  for (double scale : {1.0, 100.0 / 96, 110.0 / 96, 1.25, 140.0 / 96, 1.5, 2.0, 3.0})
    for (long pointer : {0L, 1L, 2L, 57L, 1000L, 1001L, 1002L, 1919L}) {
      const long point = fw::PointAt(pointer, scale);
      cases.push_back({scale, pointer, point < 50 ? 0 : point - 50});
    }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.scale) + " at " + std::to_string(c.pointer));
    const int perPoint = capture::RectanglePixelsPerPoint(c.scale);
    const std::vector<long> axis = capture::AroundPointer(c.first, 101, perPoint, c.scale, c.pointer);
    ASSERT_EQ(axis.size(), size_t(101 * perPoint));
    long at = perPoint * (fw::PointAt(c.pointer, c.scale) - c.first);
    if (c.first == 0) {
      at = std::max(at, c.pointer);
      EXPECT_LE(axis.front(), 0) << "the screen's first pixel is left out";
    }
    EXPECT_EQ(axis[size_t(at)], c.pointer);
    for (size_t i = 1; i < axis.size(); ++i) ASSERT_EQ(axis[i], axis[i - 1] + 1);
  }
}

TEST(CapturePlan, WholeScreenFormIsEveryDevicePixel) {
  EXPECT_EQ(capture::EveryPixel(3), (std::vector<long>{0, 1, 2}));
  EXPECT_TRUE(capture::EveryPixel(0).empty());
  EXPECT_TRUE(capture::EveryPixel(-1).empty());
}

}  // namespace
