// The running program under Xvfb with the real tools: a known pattern on
// the screen, the pointer moved with xdotool, and the window's view and
// swatch in a screenshot compared with the screen pixels the drawing rules
// place there, on an ordinary and on a scale-2 display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "../picker/ViewModel.h"
#include "Xvfb.h"

namespace {

using view_model::Placement;

// The screen in device pixels.
constexpr int kScreenW = 1280, kScreenH = 800;

struct Display {
  int scale;                        // device pixels per point
  int windowLeft, windowTop;        // saved position, in points
  std::vector<std::pair<int, int>> pointers;  // in points; none inside the window or its captures
};

void PrintTo(const Display& d, std::ostream* out) { *out << "scale " << d.scale; }

// The capture of the screen for the pointer at (x, y) points, as
// screencapture writes it: 101 x 101 points in device pixels, black beyond
// the screen's edges.
std::shared_ptr<fw::Picture> ScreenCapture(int x, int y, int scale) {
  const int left = (x < 50 ? 0 : x - 50) * scale, top = (y < 50 ? 0 : y - 50) * scale, size = 101 * scale;
  auto capture = std::make_shared<fw::Picture>(size, size);
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      int sx = left + i, sy = top + j;
      capture->SetPixelAt(i, j, sx < kScreenW && sy < kScreenH ? e2e::PatternColor(sx, sy) : fw::Color(0));
    }
  return capture;
}

// The view picture for the pointer at (x, y): the rectangle form, a
// capture of two pixels per point drawn at its own size on a scaled display.
std::shared_ptr<fw::Picture> ExpectedView(int x, int y, int scale) {
  auto capture = ScreenCapture(x, y, scale);
  Placement p{x < 50 ? 101 - 2 * x : 0, y < 50 ? 101 - 2 * y : 0, 2 / scale};
  auto view = std::make_shared<fw::Picture>(202, 202);
  for (int j = 0; j < 202; ++j)
    for (int i = 0; i < 202; ++i)
      view->SetPixelAt(i, j, view_model::ExpectedPixel(*capture, p, fw::Color(0x000000), i, j));
  return view;
}

// The content area's point (cx, cy) at the origin (ox, oy), in device
// pixels; none off the screen.
std::optional<fw::Color> ContentPixel(const fw::Picture& shot, int ox, int oy, int cx, int cy, int scale) {
  const int x = ox + cx * scale, y = oy + cy * scale;
  if (x < 0 || y < 0 || x >= shot.Width() || y >= shot.Height()) return std::nullopt;
  return shot.PixelAt(x, y);
}

// The viewer is the 201 x 201 canvas at (0, -1) of the content area, so the
// content's row r shows view row r + 1; rows 0 to 199 are on screen. Every
// device pixel of a point shows that point's view pixel.
bool ViewMatchesAt(const fw::Picture& shot, const fw::Picture& view, int ox, int oy, int scale) {
  if (ox < 0 || oy < 0 || ox + 201 * scale > shot.Width() || oy + 200 * scale > shot.Height()) return false;
  for (int r = 0; r < 200 * scale; ++r)
    for (int c = 0; c < 201 * scale; ++c)
      if (shot.PixelAt(ox + c, oy + r) != view.PixelAt(c / scale, r / scale + 1)) return false;
  return true;
}

class CaptureEndToEnd : public ::testing::TestWithParam<Display> {
 protected:
  void Start() {
    const Display& d = GetParam();
    for (const char* sub : {"home", "config", "runtime"}) std::filesystem::create_directory(dir_ / sub);
    chmod((dir_ / "runtime").c_str(), 0700);
    std::filesystem::create_directories(dir_ / "config/org.tintbeacon.Tintbeacon.prefs");
    // English, black crosshair, no caption, the screen's height and width
    // and the window's top and left in points, RGB, no speech.
    std::ofstream(dir_ / "config/org.tintbeacon.Tintbeacon.prefs/Tintbeacon.pref")
        << "en\nBlack\n0\n" << kScreenH / d.scale << "\n" << kScreenW / d.scale << "\n" << d.windowTop << "\n"
        << d.windowLeft << "\nRGB\n0\n";
    if (d.scale == 2) x_.MergeResources("Xft.dpi: 192");
    x_.SetRootPattern();
    app_ = std::make_unique<e2e::Process>(
        std::vector<std::string>{e2e::BinDir() + "/tintbeacon"},
        x_.env({"HOME=" + (dir_ / "home"), "XDG_CONFIG_HOME=" + (dir_ / "config"),
                "XDG_RUNTIME_DIR=" + (dir_ / "runtime"), "LANG=C.UTF-8", "LC_ALL", "QT_SCALE_FACTOR",
                "QT_QPA_PLATFORM=xcb"}),
        dir_.Path(), dir_ / "program.log");
  }

  // The content area's top-left on screen (device pixels), where the view
  // shows: searched below the window's top-left, over the height a menu bar
  // may take.
  std::optional<std::pair<int, int>> FindView(const fw::Picture& shot, const fw::Picture& view) {
    const Display& d = GetParam();
    const int left = d.windowLeft * d.scale, top = d.windowTop * d.scale;
    for (int dy = 0; dy <= 80 * d.scale; ++dy)
      for (int dx = -2 * d.scale; dx <= 4 * d.scale; ++dx)
        if (ViewMatchesAt(shot, view, left + dx, top + dy, d.scale)) return std::pair{left + dx, top + dy};
    return std::nullopt;
  }

  // Moves the pointer and waits until the window shows the view for it.
  std::pair<std::shared_ptr<fw::Picture>, std::optional<std::pair<int, int>>> PointAt(int x, int y) {
    const int scale = GetParam().scale;
    EXPECT_EQ(x_.Run("xdotool mousemove " + std::to_string(x * scale) + " " + std::to_string(y * scale)).status, 0);
    const auto view = ExpectedView(x, y, scale);
    std::shared_ptr<fw::Picture> shot;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      shot = x_.Screenshot();
      if (!shot) continue;
      if (auto at = FindView(*shot, *view)) return {shot, at};
    }
    return {shot, std::nullopt};
  }

  std::string ProgramLog() {
    std::ifstream in(dir_ / "program.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  e2e::XvfbServer x_{kScreenW, kScreenH};
  e2e::TempDir dir_;
  std::unique_ptr<e2e::Process> app_;
};

TEST_P(CaptureEndToEnd, ViewAndSwatchShowTheScreenAroundThePointer) {
  Start();
  const int scale = GetParam().scale;
  for (auto [x, y] : GetParam().pointers) {
    SCOPED_TRACE("pointer at " + std::to_string(x) + ", " + std::to_string(y) + " points");
    auto [shot, at] = PointAt(x, y);
    ASSERT_TRUE(shot) << "no screenshot";
    ASSERT_TRUE(at) << "the window never showed the view for this pointer\n" << ProgramLog();
    // The swatch (3, 204, 43 x 43, a one-point border) shows the sample, the
    // view pixel (100, 100); the value label covers its right edge.
    const fw::Color sample = ExpectedView(x, y, scale)->PixelAt(100, 100);
    int wrong = 0;
    for (int sy = 206; sy <= 244; ++sy)
      for (int sx = 5; sx <= 38; ++sx)
        if (ContentPixel(*shot, at->first, at->second, sx, sy, scale) != sample) ++wrong;
    EXPECT_EQ(wrong, 0) << "swatch pixels that are not " << std::hex << sample.RGB();
  }
  EXPECT_TRUE(app_->Running()) << ProgramLog();
}

INSTANTIATE_TEST_SUITE_P(
    Displays, CaptureEndToEnd,
    ::testing::Values(
        // 1280 x 800 points; the window at (900, 100) spans about 900..1101 x 100..380.
        Display{1, 900, 100, {{300, 400}, {0, 0}, {49, 49}, {50, 50}, {1279, 500}, {640, 799}, {1279, 799}, {20, 600}}},
        // 640 x 400 points; the window at (250, 100) spans about 250..451 x 100..380.
        Display{2, 250, 100, {{120, 60}, {0, 0}, {49, 49}, {50, 50}, {639, 90}, {100, 399}, {639, 399}, {20, 300}}}),
    [](const auto& info) { return info.param.scale == 1 ? std::string("Scale1") : std::string("Scale2"); });

}  // namespace
