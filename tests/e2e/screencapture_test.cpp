#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Picture.h"
#include "Xvfb.h"

// Last: Xlib defines None and other short macros.
#include <X11/Xlib.h>

namespace {

constexpr int kWidth = 320, kHeight = 240;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class ScreenCapture : public testing::Test {
 protected:
  void SetUp() override { screen_.SetRootPattern(); }

  e2e::RunResult Capture(const std::vector<std::string>& args, const e2e::EnvChanges& env = {}) {
    std::vector<std::string> argv = {e2e::ToolsDir() + "/screencapture"};
    argv.insert(argv.end(), args.begin(), args.end());
    return e2e::RunCommand(argv, screen_.env(env), folder_.Path());
  }

  // What the screen shows at device pixel (x, y); black off the screen.
  static uint32_t ScreenAt(long x, long y, int width = kWidth, int height = kHeight) {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0x000000;
    return e2e::PatternColor(int(x), int(y)).RGB();
  }

  e2e::XvfbServer screen_{kWidth, kHeight};
  e2e::TempDir folder_;
};

TEST_F(ScreenCapture, RectangleIsTheScreenExactlyAndBlackBeyondIt) {
  struct Case {
    int x, y, width, height;
  };
  const Case cases[] = {
      {10, 20, 101, 101},   // inside
      {250, 200, 101, 101}, // across the right and bottom edges
      {-30, -40, 101, 101}, // negative coordinates
      {319, 239, 1, 1},     // the last pixel
      {400, 300, 5, 5},     // wholly off the screen
      {0, 0, kWidth, kHeight},
  };
  for (const Case& c : cases) {
    std::string name = std::to_string(c.x) + "," + std::to_string(c.y) + "," + std::to_string(c.width) + "," +
                       std::to_string(c.height);
    SCOPED_TRACE(name);
    e2e::RunResult r = Capture({"-R", name});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::string>{name});
    auto picture = fw::Picture::OpenPath(folder_ / name);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width(), c.width);
    ASSERT_EQ(picture->Height(), c.height);
    for (int j = 0; j < c.height; ++j) {
      for (int i = 0; i < c.width; ++i) {
        ASSERT_EQ(picture->PixelAt(i, j).RGB(), ScreenAt(c.x + i, c.y + j)) << "at " << i << "," << j;
      }
    }
    std::filesystem::remove(folder_ / name);
  }
}

TEST_F(ScreenCapture, WholeScreenIntoTheNamedFile) {
  e2e::RunResult r = Capture({"-x", "0,0,101,101"});
  ASSERT_EQ(r.status, 0) << r.err;
  auto picture = fw::Picture::OpenPath(folder_ / "0,0,101,101");
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->Width(), kWidth);
  ASSERT_EQ(picture->Height(), kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(picture->PixelAt(x, y).RGB(), ScreenAt(x, y)) << x << "," << y;
  }
}

TEST_F(ScreenCapture, ScaleTwoReadsDevicePixels) {
  // Xft.dpi 192 and QT_SCALE_FACTOR 2 each make a point two device pixels
  // to the tool's own guess; the scale the program hands over wins over
  // the guess. The rectangle form writes every device pixel of its points
  // at scale 2; the whole-screen form every device pixel at any scale.
  struct Case {
    const char* name;
    bool xftDpi;
    e2e::EnvChanges env;
    int scale;
  };
  const Case cases[] = {
      {"Xft.dpi 192", true, {}, 2},
      {"QT_SCALE_FACTOR 2", false, {"QT_SCALE_FACTOR=2"}, 2},
      {"handed over 2", false, {"TINTBEACON_SCALE_FACTOR=2"}, 2},
      {"handed over 1 with Xft.dpi 192", true, {"TINTBEACON_SCALE_FACTOR=1"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::XvfbServer screen(kWidth, kHeight);
    screen.SetRootPattern();
    if (c.xftDpi) screen.MergeResources("Xft.dpi: 192");
    e2e::TempDir folder;
    std::string tool = e2e::ToolsDir() + "/screencapture";
    const int s = c.scale;

    ASSERT_EQ(e2e::RunCommand({tool, "-R", "100,90,101,101"}, screen.env(c.env), folder.Path()).status, 0);
    auto rect = fw::Picture::OpenPath(folder / "100,90,101,101");
    ASSERT_TRUE(rect);
    ASSERT_EQ(rect->Width(), 101 * s);
    ASSERT_EQ(rect->Height(), 101 * s);
    for (int j = 0; j < 101 * s; ++j) {
      for (int i = 0; i < 101 * s; ++i)
        ASSERT_EQ(rect->PixelAt(i, j).RGB(), ScreenAt(100 * s + i, 90 * s + j)) << i << "," << j;
    }

    ASSERT_EQ(e2e::RunCommand({tool, "-x", "whole"}, screen.env(c.env), folder.Path()).status, 0);
    auto whole = fw::Picture::OpenPath(folder / "whole");
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->Width(), kWidth);
    ASSERT_EQ(whole->Height(), kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) ASSERT_EQ(whole->PixelAt(x, y).RGB(), ScreenAt(x, y)) << x << "," << y;
    }
  }
}

// The tool is linked statically; a display on TCP by host name needs
// glibc's name lookup, which loads the system's shared libraries at run time.
TEST(ScreenCaptureOverTcp, ReadsADisplayNamedByHostAndAddress) {
  e2e::XvfbServer screen(kWidth, kHeight, {"-listen", "tcp"}, e2e::WindowManager::Absent);
  screen.SetRootPattern();
  e2e::TempDir folder;
  for (const std::string host : {"localhost", "127.0.0.1"}) {
    SCOPED_TRACE(host);
    const std::string name = "10,20,31,17";
    e2e::RunResult r = e2e::RunCommand({e2e::ToolsDir() + "/screencapture", "-R", name},
                                       {"DISPLAY=" + host + screen.display()}, folder.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    auto picture = fw::Picture::OpenPath(folder / name);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width(), 31);
    ASSERT_EQ(picture->Height(), 17);
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 31; ++x)
        ASSERT_EQ(picture->PixelAt(x, y).RGB(), e2e::PatternColor(10 + x, 20 + y).RGB()) << x << "," << y;
    std::filesystem::remove(folder / name);
  }
}

TEST_F(ScreenCapture, AServerThatDoesNotAnswerEndsIt) {
  // Another client holding the server grabbed keeps every other one waiting.
  ::Display* grabber = XOpenDisplay(screen_.display().c_str());
  ASSERT_TRUE(grabber);
  XGrabServer(grabber);
  XSync(grabber, False);
  e2e::RunResult r = Capture({"-R", "0,0,101,101"});
  XUngrabServer(grabber);
  XCloseDisplay(grabber);
  // The tool gives up after its own 1.5 s; only one that waits for good
  // meets the runner's timeout.
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("screencapture: the X server did not answer"), std::string::npos) << r.err;
  EXPECT_TRUE(FilesIn(folder_.Path()).empty());
}

TEST_F(ScreenCapture, FailuresWriteNoFile) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    e2e::EnvChanges env;
  };
  const Case cases[] = {
      {"no display", {"-R", "0,0,101,101"}, {"DISPLAY"}},
      {"display that does not answer", {"-R", "0,0,101,101"}, {"DISPLAY=:65000"}},
      {"no arguments", {}, {}},
      {"rectangle missing", {"-R"}, {}},
      {"three numbers", {"-R", "1,2,3"}, {}},
      {"five numbers", {"-R", "1,2,3,4,5"}, {}},
      {"zero width", {"-R", "1,2,0,5"}, {}},
      {"negative height", {"-R", "1,2,5,-5"}, {}},
      {"not numbers", {"-R", "a,b,c,d"}, {}},
      {"blank inside", {"-R", "1, 2,3,4"}, {}},
      {"too large", {"-R", "0,0,100000,100000"}, {}},
      {"unknown option", {"-Q", "x"}, {}},
      {"empty file name", {"-x", ""}, {}},
      {"folder that does not exist", {"-x", "missing/whole.png"}, {}},
      {"scale that is no number", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=twice"}},
      {"scale of zero", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=0"}},
      {"tiny scale", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=1e-300"}},
      {"scale below 1", {"-x", "whole.png"}, {"TINTBEACON_SCALE_FACTOR=0.5"}},
      {"scale above 16", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=17"}},
      {"infinite scale", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=inf"}},
      {"scale that is not a number", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=nan"}},
      {"scale with a decimal comma", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR=1,5"}},
      {"tiny guessed scale", {"-R", "0,0,101,101"}, {"TINTBEACON_SCALE_FACTOR", "QT_SCALE_FACTOR=1e-300"}},
      {"pointer that is no pixel", {"-R", "0,0,101,101"}, {"TINTBEACON_POINTER=1;2"}},
      {"pixel count past every integer", {"-R", "0,0,2147483647,2147483647"}, {"TINTBEACON_SCALE_FACTOR=2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::RunResult r = Capture(c.args, c.env);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("screencapture: "), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(FilesIn(folder_.Path()).empty());
  }
}

TEST_F(ScreenCapture, WritesOnlyOverARegularFile) {
  const std::string fifo = folder_.Path() + "/whole.png";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  e2e::RunResult r = Capture({"-x", "whole.png"}, {});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
  struct stat status;
  ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(FilesIn(folder_.Path()).size(), 1u);
}

}  // namespace
