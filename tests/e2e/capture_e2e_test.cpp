// The running program under Xvfb and openbox with the real tools: every
// device pixel of the screen names its own coordinates, the pointer is moved
// with xdotool, and the window's view and swatch in a screenshot are compared
// with the screen pixels the drawing rules place there, at display scales
// from 1 to 3 set the ways a desktop sets them, in both capture forms.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>

#include "../picker/ViewModel.h"
#include "Program.h"
#include "Xvfb.h"

namespace {


struct Display {
  const char* name;
  double scale;          // device pixels per point, as the program should see it
  int xftDpi;            // 0: no X resource
  e2e::EnvChanges env;   // Qt's scale variables
  bool rectangleForm;    // sw_vers says 10.9 or later
  // The screen in device pixels: a whole number of points at the scale.
  int screenW = 1920, screenH = 1200;
};

void PrintTo(const Display& d, std::ostream* out) { *out << d.name; }

// The point whose span holds the centre of device pixel d.
int PointOf(int d, double s) { return int(std::floor((d + 0.5) / s)); }

// The device pixel a capture shows for part k of n of point p: of the
// pixels whose centres lie in the point, the first whose centre is at or
// after where the part starts, else the point's last.
int Sample(int p, int k, int n, double s) {
  int last = 0;
  for (int d = int(std::floor(s * p)) - 1; d <= int(std::ceil(s * (p + 1))); ++d) {
    if (PointOf(d, s) != p) continue;
    if (d + 0.5 >= s * (p + double(k) / n)) return d;
    last = d;
  }
  return last;
}

fw::Color ScreenAt(int x, int y, const Display& d) {
  return x >= 0 && y >= 0 && x < d.screenW && y < d.screenH ? e2e::PatternColor(x, y) : fw::Color(0);
}

// Floor division: view pixels left of the sample belong to earlier pixels.
int Div2(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

// The device pixels a capture holds along one axis, for the pointer at
// device pixel p of point `point`: in the rectangle form consecutive ones
// around the pointer, from the screen's first when the rectangle starts
// there; in the whole-screen form the screen's.
std::pair<int, int> Held(int p, int point, int screen, const Display& d) {
  if (!d.rectangleForm) return {0, screen};
  const int n = d.scale > 1 ? int(std::ceil(d.scale)) : 1, first = std::max(point - 50, 0);
  int start = p - n * (point - first);
  if (first == 0) start = std::min(start, 0);
  return {start, start + 101 * n};
}

// The view the program should draw, in device pixels: every screen pixel as
// 2 x 2 of them, the pointer's on the view's point (100, 100), a black
// crosshair one point wide, grey where the capture holds no screen pixel and
// black beyond the screen inside a rectangle.
std::shared_ptr<fw::Picture> ExpectedView(int px, int py, const Display& d) {
  const view_model::Grid grid(d.scale);
  const auto [fromX, toX] = Held(px, PointOf(px, d.scale), d.screenW, d);
  const auto [fromY, toY] = Held(py, PointOf(py, d.scale), d.screenH, d);
  auto view = std::make_shared<fw::Picture>(grid.size, grid.size);
  for (int j = 0; j < grid.size; ++j)
    for (int i = 0; i < grid.size; ++i) {
      const int x = px + Div2(i - grid.sample), y = py + Div2(j - grid.sample);
      fw::Color c = view_model::kBackground;
      if (view_model::OnCrosshair(grid, i, j))
        c = fw::Color(0x000000);
      else if (x >= std::max(fromX, 0) && x < toX && y >= std::max(fromY, 0) && y < toY)
        c = ScreenAt(x, y, d);
      view->SetPixelAt(i, j, c);
    }
  return view;
}

// The device pixel at the middle of the content area's point (cx, cy), the
// content's top-left being at device position (ox, oy); a point of a
// fractional scale covers parts of several device pixels.
std::optional<fw::Color> ContentPixel(const fw::Picture& shot, double ox, double oy, int cx, int cy, double s) {
  const int x = int(std::floor(ox + (cx + 0.5) * s)), y = int(std::floor(oy + (cy + 0.5) * s));
  if (x < 0 || y < 0 || x >= shot.Width() || y >= shot.Height()) return std::nullopt;
  return shot.PixelAt(x, y);
}

// The view lands on device pixels one for one, so a match shows every screen
// pixel as 2 x 2 device pixels on screen at every scale. Its middle (points
// 20 to 179, inside the viewer canvas whatever its edges round to) shows in
// the screenshot with its top-left at (x0, y0).
struct ViewWindow {
  int from, to;
};
ViewWindow Middle(double s) { return {view_model::Grid::At(20, s), view_model::Grid::At(180, s)}; }

bool ViewMatchesAt(const fw::Picture& shot, const fw::Picture& view, int x0, int y0, double s) {
  const ViewWindow m = Middle(s);
  if (x0 + m.from < 0 || y0 + m.from < 0 || x0 + m.to > shot.Width() || y0 + m.to > shot.Height()) return false;
  for (int j = m.from; j < m.to; ++j)
    for (int i = m.from; i < m.to; ++i)
      if (shot.PixelAt(x0 + i, y0 + j) != view.PixelAt(i, j)) return false;
  return true;
}

class CaptureEndToEnd : public ::testing::TestWithParam<Display> {
 protected:
  // Starts the program with its window at the top right, away from every
  // capture, and finds where its client area is; false when no window showed.
  bool Start() {
    const Display& d = GetParam();
    // English, black crosshair, no caption, the screen's height and width
    // and the window's top and left in points, RGB, no speech.
    const int wide = int(std::lround(d.screenW / d.scale)), high = int(std::lround(d.screenH / d.scale));
    program_.WritePrefs({"en", "Black", "0", std::to_string(high), std::to_string(wide), "10",
                         std::to_string(wide - 240), "RGB", "0"});
    if (!d.rectangleForm) {
      // A system older than 10.9: the whole-screen form.
      const std::string tools = program_.CopyBinFolder();
      std::ofstream(tools + "/sw_vers", std::ios::trunc) << "#!/bin/sh\necho 10.8.5\n";
    }
    if (d.xftDpi) x_.MergeResources("Xft.dpi: " + std::to_string(d.xftDpi));
    x_.SetRootPattern();
    e2e::EnvChanges env = {"QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY"};
    env.insert(env.end(), d.env.begin(), d.env.end());
    program_.Start(env);
    id_ = program_.WaitForWindow();
    return !id_.empty();
  }

  // Where the view's top-left lies on screen (device pixels): below the
  // client area's top-left by about the height of the menu bar.
  std::optional<std::pair<int, int>> FindView(const fw::Picture& shot, const fw::Picture& view,
                                              e2e::XvfbServer::Origin client) {
    const double s = GetParam().scale;
    const int cx = int(std::floor(client.x)), cy = int(std::floor(client.y));
    for (int dy = -int(std::ceil(2 * s)); dy <= int(60 * s); ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (ViewMatchesAt(shot, view, cx + dx, cy + dy, s)) return std::pair{cx + dx, cy + dy};
    return std::nullopt;
  }

  // Moves the pointer to device pixel (px, py) and waits until the window
  // shows the view for it, wherever the window is by then. A whole-screen
  // capture may take over a second on a busy machine.
  std::pair<std::shared_ptr<fw::Picture>, std::optional<std::pair<int, int>>> PointAt(int px, int py,
                                                                                       const fw::Picture& view) {
    std::shared_ptr<fw::Picture> shot;
    std::optional<std::pair<int, int>> at;
    // A whole-screen capture on a loaded machine may outlast the tool's time
    // limit; the program then waits for the pointer to move, so the pointer
    // comes again (by way of the next pixel) until the view shows or the
    // deadline passes.
    for (int attempt = 0; attempt < 4 && !at; ++attempt) {
      if (attempt > 0) x_.Run("xdotool mousemove " + std::to_string(px == 0 ? 1 : px - 1) + " " + std::to_string(py));
      EXPECT_EQ(x_.Run("xdotool mousemove " + std::to_string(px) + " " + std::to_string(py)).status, 0);
      e2e::WaitFor(
          [&] {
            const auto client = x_.ClientOrigin(std::stoul(id_));
            shot = x_.Screenshot();
            at = shot ? FindView(*shot, view, client) : std::nullopt;
            return at.has_value();
          },
          10000);
    }
    return {shot, at};
  }

  e2e::XvfbServer x_{GetParam().screenW, GetParam().screenH};
  e2e::Program program_{x_};
  std::string id_;
};

TEST_P(CaptureEndToEnd, ViewAndSwatchShowTheDevicePixelsUnderThePointer) {
  ASSERT_TRUE(Start()) << program_.Log();
  const Display& d = GetParam();
  const double s = d.scale;
  auto first = [s](int point) { return Sample(point, 0, 1, s); };
  const int wide = int(std::lround(d.screenW / s)), high = int(std::lround(d.screenH / s));
  const int lastX = d.screenW - 1, lastY = d.screenH - 1;
  // Device pixels, odd and even, first of their point and not, at the
  // screen's edges and 49 and 50 points from them.
  const std::vector<std::pair<int, int>> pointers = {
      {first(wide / 2 - 150), first(high / 2)},          // the middle
      {first(wide / 2 - 150) + 1, first(high / 2) + 1},  // inside a point, not its first pixel
      {first(wide / 2 - 149) - 1, first(high / 2 + 1) - 1},  // a point's last pixel
      {0, 0},
      {1, 1},
      {0, first(high / 3) + 1},
      {first(wide / 3) + 1, 0},
      {first(20) + 1, first(30)},
      {first(49), first(49) + 1},
      {first(50) - 1, first(50)},
      {0, lastY},                                        // the last device row
      {lastX, first(high - 60) + 1},                     // the last device column, below the window
      {lastX, lastY},                                    // the last device pixel
  };
  for (auto [px, py] : pointers) {
    SCOPED_TRACE("pointer at device pixel " + std::to_string(px) + ", " + std::to_string(py) + ", point " +
                 std::to_string(PointOf(px, s)) + ", " + std::to_string(PointOf(py, s)));
    const auto view = ExpectedView(px, py, d);
    auto [shot, at] = PointAt(px, py, *view);
    ASSERT_TRUE(shot) << "no screenshot";
    ASSERT_TRUE(at) << "the window never showed the view for this pointer\n" << program_.Log();
    // The sample, inside the crosshair's gap, is the pixel under the pointer.
    const view_model::Grid grid(s);
    const fw::Color sample = view->PixelAt(grid.sample, grid.sample);
    EXPECT_EQ(sample, ScreenAt(px, py, d));
    // The swatch (3, 204, 43 x 43, a one-point border) shows the sample; the
    // value label covers its right edge. The content area starts one point
    // below the view's top.
    int wrong = 0;
    for (int sy = 206; sy <= 244; ++sy)
      for (int sx = 5; sx <= 38; ++sx)
        if (ContentPixel(*shot, at->first, at->second + s, sx, sy, s) != sample) ++wrong;
    EXPECT_EQ(wrong, 0) << "swatch pixels that are not " << std::hex << sample.RGB();
  }
  EXPECT_TRUE(program_.Proc().Running()) << program_.Log();
  EXPECT_EQ(program_.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, CaptureEndToEnd,
    ::testing::Values(Display{"Scale1", 1, 0, {}, true},
                      // Scales a float does not hold, on screens of whole points.
                      Display{"XftDpi100", 100.0 / 96, 100, {}, true, 2200, 1100},
                      Display{"XftDpi110", 110.0 / 96, 110, {}, true, 2200, 1100},
                      Display{"XftDpi120", 1.25, 120, {}, true},
                      Display{"XftDpi144", 1.5, 144, {}, true},
                      Display{"XftDpi192", 2, 192, {}, true},
                      Display{"XftDpi288", 3, 288, {}, true},
                      Display{"QtScaleFactor1_5", 1.5, 0, {"QT_SCALE_FACTOR=1.5"}, true},
                      Display{"QtScreenScaleFactors2", 2, 0, {"QT_SCREEN_SCALE_FACTORS=2"}, true},
                      // Qt told not to scale draws one device pixel per point.
                      Display{"XftDpi192HighDpiOff", 1, 192, {"QT_ENABLE_HIGHDPI_SCALING=0"}, true},
                      Display{"WholeScreenScale1", 1, 0, {}, false},
                      Display{"WholeScreenXftDpi144", 1.5, 144, {}, false},
                      Display{"WholeScreenXftDpi110", 110.0 / 96, 110, {}, false, 2200, 1100},
                      Display{"WholeScreenQtScreenScaleFactors3", 3, 0, {"QT_SCREEN_SCALE_FACTORS=3"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
