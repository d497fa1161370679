// One capture tick on the test backend: the command it runs, the view it
// draws, the colour it samples and the texts it shows.
#include <gtest/gtest.h>

#include <optional>

#include "color/ColorExchange.h"
#include "framework/Text.h"
#include "support/TestFiles.h"
#include "tests/picker/PickerFixture.h"
#include "tests/picker/ViewModel.h"

namespace picker_test {
namespace {

using view_model::ExpectedPixel;
using view_model::Grid;
using view_model::kBackground;
using view_model::Placement;

void ExpectView(const fw::Picture* view, const fw::Picture& capture, Placement p, double scale,
                std::optional<fw::Color> crosshair) {
  ASSERT_NE(view, nullptr);
  const Grid grid(scale);
  ASSERT_EQ(view->Width(), grid.size);
  ASSERT_EQ(view->Height(), grid.size);
  EXPECT_EQ(view->PixelsPerPoint(), scale) << "drawn at the display's own resolution";
  int wrong = 0;
  for (int32_t j = 0; j < grid.size; ++j)
    for (int32_t i = 0; i < grid.size; ++i) {
      fw::Color want = ExpectedPixel(capture, p, grid, crosshair, i, j);
      if (view->PixelAt(i, j) != want && wrong++ < 3)
        ADD_FAILURE() << "view pixel (" << i << ", " << j << ") is " << std::hex << view->PixelAt(i, j).RGB()
                      << ", expected " << want.RGB();
    }
  EXPECT_EQ(wrong, 0) << "view pixels that differ";
}

std::string RgbText(fw::Color c) {
  return "RGB : " + fw::Str(int32_t(c.Red())) + "," + fw::Str(int32_t(c.Green())) + "," + fw::Str(int32_t(c.Blue()));
}

struct DrawCase {
  const char* what;
  bool marverics;
  double scale;
  int32_t x, y;              // pointer
  int32_t captureW, captureH;  // the picture the stand-in writes
  const char* arguments;     // what screencapture is given
  Placement placement;
  std::optional<std::pair<int, int>> sampled;  // the capture pixel sampled; none: the background
  std::optional<fw::DevicePixel> device = std::nullopt;  // the pixel under the pointer, where known
};

// The pointer's pixel lands on the view's point (100, 100), the sample inside
// the crosshair's gap, near the screen's edges as everywhere: view pixels 100
// and 101 at scale 1, 200 and 201 at scale 2, 150 and 151 at 1.5.
const DrawCase kDrawCases[] = {
    {"rectangle", true, 1.0, 60, 70, 101, 101, "-R 10,20,101,101", {0, 0}, {{50, 50}}},
    {"rectangle at (50, 50)", true, 1.0, 50, 50, 101, 101, "-R 0,0,101,101", {0, 0}, {{50, 50}}},
    {"rectangle at (49, 49)", true, 1.0, 49, 49, 101, 101, "-R 0,0,101,101", {2, 2}, {{49, 49}}},
    {"rectangle at (1, 1)", true, 1.0, 1, 1, 101, 101, "-R 0,0,101,101", {98, 98}, {{1, 1}}},
    {"rectangle at (0, 0)", true, 1.0, 0, 0, 101, 101, "-R 0,0,101,101", {100, 100}, {{0, 0}}},
    {"rectangle near the left edge", true, 1.0, 10, 80, 101, 101, "-R 0,30,101,101", {80, 0}, {{10, 50}}},
    {"rectangle left of the main screen", true, 1.0, -5, 60, 101, 101, "-R 0,10,101,101", {110, 0}, std::nullopt},
    {"rectangle wholly outside the view", true, 1.0, -51, -60, 101, 101, "-R 0,0,101,101", {202, 220},
     std::nullopt},
    {"rectangle at scale 2", true, 2.0, 60, 70, 202, 202, "-R 10,20,101,101", {0, 0}, {{100, 100}}},
    {"rectangle at scale 2 at (49, 49)", true, 2.0, 49, 49, 202, 202, "-R 0,0,101,101", {4, 4}, {{98, 98}}},
    {"rectangle at scale 2 near the top", true, 2.0, 80, 10, 202, 202, "-R 30,0,101,101", {0, 160}, {{100, 20}}},
    {"rectangle at scale 2 at (0, 0)", true, 2.0, 0, 0, 202, 202, "-R 0,0,101,101", {200, 200}, {{0, 0}}},
    {"rectangle at scale 1.5 at (0, 1)", true, 1.5, 0, 1, 202, 202, "-R 0,0,101,101", {150, 146}, {{0, 2}}},
    // The tool's pixels before the screen's first (device -5 to -1 and
    // -10 to -1 here) are left out.
    {"rectangle at scale 1.5 near the left edge", true, 1.5, 10, 60, 202, 202, "-R 0,10,101,101", {110, -50, 5, 10},
     {{20, 100}}, fw::DevicePixel{15, 90}},
    {"rectangle at scale 2 at (0, 0), second pixel", true, 2.0, 0, 0, 202, 202, "-R 0,0,101,101", {198, 198},
     {{1, 1}}, fw::DevicePixel{1, 1}},
    {"rectangle at scale 3", true, 3.0, 60, 70, 303, 303, "-R 10,20,101,101", {0, 0}, {{150, 150}}},
    {"whole screen", false, 1.0, 60, 70, 240, 180, "-x 10,20,101,101", {-20, -40}, {{60, 70}}},
    {"whole screen at scale 2", false, 2.0, 60, 70, 240, 180, "-x 10,20,101,101", {-40, -80}, {{120, 140}}},
    {"whole screen at scale 2, pixel known", false, 2.0, 60, 70, 240, 180, "-x 10,20,101,101", {-42, -80},
     {{121, 140}}, fw::DevicePixel{121, 140}},
    {"whole screen at (0, 0)", false, 1.0, 0, 0, 240, 180, "-x 0,0,101,101", {100, 100}, {{0, 0}}},
    {"whole screen at (1, 49)", false, 1.0, 1, 49, 240, 180, "-x 0,0,101,101", {98, 2}, {{1, 49}}},
    {"whole screen at (50, 0)", false, 1.0, 50, 0, 240, 180, "-x 0,0,101,101", {0, 100}, {{50, 0}}},
    {"whole screen at the last pixel", false, 1.0, 239, 179, 240, 180, "-x 189,129,101,101", {-378, -258},
     {{239, 179}}},
};

using CaptureTick = PickerTest;

TEST_F(CaptureTick, DrawsTheCaptureTwiceEnlargedAroundThePointer) {
  for (const DrawCase& c : kDrawCases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    app_->IsMarverics = c.marverics;
    backend_->SetScaleFactor(c.scale);
    auto capture = Pattern(c.captureW, c.captureH);
    UseCapture(capture);

    backend_->SetMouse(c.x, c.y, c.device);
    Tick();

    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Runs()[0], WorkPath() + "|" + c.arguments);
    ExpectView(View().get(), *capture, c.placement, c.scale, fw::Color(0x000000));
    fw::Color sample = c.sampled ? capture->PixelAt(c.sampled->first, c.sampled->second) : kBackground;
    EXPECT_EQ(window_->CurrentColorRect()->FillColor, sample);
    EXPECT_EQ(window_->ColorLabel()->Text, RgbText(sample));
    EXPECT_EQ(window_->NameLabel()->Text, ColorExchange::ColorToName(sample));
    EXPECT_EQ(window_->MouseX, c.x);
    EXPECT_EQ(window_->MouseY, c.y);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
    EXPECT_EQ(ReadFile(WorkPath() + "/" + CaptureFileName), ReadFile(SourcePath()));
    EXPECT_EQ(window_->GetPicture()->Period(), c.marverics ? 128 : 500);
  }
}

TEST_F(CaptureTick, AScaleOfOneAndAFailingScaleQueryDrawTheOrdinaryRow) {
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "failing query" : "scale 1.0");
    TearDown();
    SetUp();
    backend_->SetScaleFactor(fails ? 2.0 : 1.0);
    backend_->SetScaleQueryFails(fails);
    auto capture = Pattern(101, 101);
    UseCapture(capture);
    TickAt(300, 300);
    ExpectView(View().get(), *capture, {0, 0}, 1.0, fw::Color(0x000000));
  }
}

TEST_F(CaptureTick, TheToolIsToldTheExactScaleAndThePixelUnderThePointer) {
  // Whatever the program itself inherited.
  testfiles::EnvOverride inheritedScale("TINTBEACON_SCALE_FACTOR", "9");
  testfiles::EnvOverride inheritedPointer("TINTBEACON_POINTER", "5,5");
  auto log = [this] {
    return "printf '%s|%s' \"$TINTBEACON_SCALE_FACTOR\" \"$TINTBEACON_POINTER\" > '" + ScaleLog() + "'";
  };
  // Xft.dpi 100, 110 and 140 give scales a float does not hold.
  const std::pair<double, const char*> cases[] = {
      {1.0, "1"},   {100.0 / 96, "1.0416666666666667"}, {110.0 / 96, "1.1458333333333333"},
      {1.25, "1.25"}, {140.0 / 96, "1.4583333333333333"}, {1.5, "1.5"},
      {2.0, "2"},   {3.0, "3"}};
  for (bool marverics : {true, false}) {
    for (auto [scale, text] : cases) {
      SCOPED_TRACE(std::string(text) + (marverics ? " rectangle" : " whole screen"));
      TearDown();
      SetUp();
      app_->IsMarverics = marverics;
      backend_->SetScaleFactor(scale);
      WriteTool(log());
      backend_->SetMouse(300, 300, fw::DevicePixel{int32_t(300 * scale) + 1, int32_t(300 * scale)});
      Tick();
      EXPECT_EQ(ReadFile(ScaleLog()),
                std::string(text) + "|" + fw::Str(int32_t(300 * scale) + 1) + "," + fw::Str(int32_t(300 * scale)));
    }
  }
  // A failing query draws as for scale 1, and says so; a desktop that tells
  // only points hands no pixel.
  TearDown();
  SetUp();
  backend_->SetScaleQueryFails(true);
  WriteTool(log());
  TickAt(300, 300);
  EXPECT_EQ(ReadFile(ScaleLog()), "1|");
}

TEST_F(CaptureTick, AMoveWithinOnePointCapturesAgain) {
  backend_->SetScaleFactor(2.0);
  UseCapture(Pattern(202, 202));
  const fw::DevicePixel pixels[] = {{600, 400}, {601, 400}, {601, 401}, {601, 401}};
  for (fw::DevicePixel d : pixels) {
    backend_->SetMouse(300, 200, d);
    Tick();
  }
  EXPECT_EQ(Runs().size(), 3u);
}

TEST_F(CaptureTick, CrosshairTakesTheSelectedColour) {
  const std::pair<const char*, std::optional<fw::Color>> cases[] = {
      {"Black", fw::Color(0x000000)}, {"White", fw::Color(0xFFFFFF)}, {"Red", fw::Color(0xFF0000)},
      {"Green", fw::Color(0x00FF00)}, {"Blue", fw::Color(0x0000FF)},  {"None", std::nullopt},
      {"", fw::Color(0xFFFFFF)},      {"black", fw::Color(0xFFFFFF)}, {"Purple", fw::Color(0xFFFFFF)},
  };
  auto capture = Pattern(101, 101);
  for (const auto& [selected, colour] : cases) {
    SCOPED_TRACE(selected);
    app_->SelectedColor = selected;
    window_->MouseX = window_->MouseY = -1;
    TickAt(200, 200);
    ExpectView(View().get(), *capture, {0, 0}, 1.0, colour);
  }
}

TEST_F(CaptureTick, ValueLabelFollowsTheNotation) {
  const fw::Color red{0xFF0000};
  UseCapture(Uniform(101, 101, red));

  app_->ColorMode = "Lab";
  TickAt(100, 100);
  EXPECT_EQ(window_->ColorLabel()->Text, "") << "an unknown notation leaves the label as it was";

  const std::pair<const char*, std::string> cases[] = {
      {"RGB", "RGB : 255,0,0"},
      {"CMYK", "CMYK : " + ColorExchange::ColorToCMYK(red)},
      {"HLS", "HLS : " + ColorExchange::ColorToHLS(red)},
      {"rgb", "HLS : " + ColorExchange::ColorToHLS(red)},
  };
  for (const auto& [mode, text] : cases) {
    SCOPED_TRACE(mode);
    app_->ColorMode = mode;
    window_->MouseX = window_->MouseY = -1;
    Tick();
    EXPECT_EQ(window_->ColorLabel()->Text, text);
  }
}

// A colour whose English name has the number of words wanted.
fw::Color ColourNamedInWords(bool fourOrMore) {
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        fw::Color c = fw::Color::FromRGB(r, g, b);
        int32_t words = fw::CountFields(ColorExchange::ColorToName(c), " ");
        if (fourOrMore ? words > 3 : words == 3) return c;
      }
  ADD_FAILURE() << "no such colour";
  return fw::Color(0);
}

TEST_F(CaptureTick, NameLabelFollowsTheLanguageAndShrinksForLongNames) {
  auto uniformCapture = [this](fw::Color c) {
    UseCapture(Uniform(101, 101, c));
    window_->MouseX = window_->MouseY = -1;
    Tick();
  };
  const fw::Color longName = ColourNamedInWords(true), threeWords = ColourNamedInWords(false);
  backend_->SetMouse(400, 300);

  app_->SelectedLang = "en";
  uniformCapture(longName);
  EXPECT_EQ(window_->NameLabel()->Text, ColorExchange::ColorToName(longName));
  EXPECT_EQ(window_->NameLabel()->TextSize, 11.0f);
  uniformCapture(threeWords);
  EXPECT_EQ(window_->NameLabel()->TextSize, 12.0f);

  uniformCapture(longName);
  app_->SelectedLang = "ja";
  uniformCapture(longName);
  EXPECT_EQ(window_->NameLabel()->Text, ColorExchange::ColorToNameJ(longName));
  EXPECT_EQ(window_->NameLabel()->TextSize, 12.0f);

  app_->SelectedLang = "en";
  uniformCapture(longName);
  app_->SelectedLang = "fr";
  uniformCapture(threeWords);
  EXPECT_EQ(window_->NameLabel()->Text, "");
  EXPECT_EQ(window_->NameLabel()->TextSize, 11.0f) << "an unknown language leaves the size";
  EXPECT_EQ(app_->SelectedLang, "fr");
}

TEST_F(CaptureTick, SeedsAnEmptyLanguageFromTheUsersLanguage) {
  for (const auto& [lang, code] : {std::pair{"en_GB.UTF-8", "en"}, std::pair{"ja_JP.UTF-8", "ja"}}) {
    SCOPED_TRACE(lang);
    setenv("LANG", lang, 1);
    app_->SelectedLang = "";
    window_->MouseX = window_->MouseY = -1;
    TickAt(400, 300);
    EXPECT_EQ(app_->SelectedLang, code);
    fw::Color sample = window_->CurrentColorRect()->FillColor;
    EXPECT_EQ(window_->NameLabel()->Text, std::string(code) == "ja" ? ColorExchange::ColorToNameJ(sample)
                                                                     : ColorExchange::ColorToName(sample));
  }
}

TEST_F(CaptureTick, CaptionShowsThePositionOfThePreviousCapture) {
  app_->SelectedMouseLoc = true;
  TickAt(300, 200);
  EXPECT_TRUE(window_->LocationBG()->Visible);
  EXPECT_TRUE(window_->LocLabel()->Visible);
  EXPECT_EQ(window_->LocLabel()->Text, "") << "nothing captured before the first tick";

  TickAt(310, 205);
  EXPECT_EQ(window_->LocLabel()->Text, "(300, 200)") << "one capture behind while the pointer moves";
  Tick();
  EXPECT_EQ(window_->LocLabel()->Text, "(310, 205)") << "caught up once the pointer stops";

  window_->MouseX = window_->MouseY = -1;
  Tick();
  EXPECT_EQ(window_->LocLabel()->Text, "") << "after a reset";

  TickAt(-20, 40);
  TickAt(-20, 40);
  EXPECT_EQ(window_->LocLabel()->Text, "") << "a negative coordinate shows nothing";

  app_->SelectedMouseLoc = false;
  Tick();
  EXPECT_EQ(window_->LocLabel()->Text, "");
  EXPECT_FALSE(window_->LocationBG()->Visible);
  EXPECT_FALSE(window_->LocLabel()->Visible);

  TickAt(50, 60);
  Tick();
  EXPECT_FALSE(window_->LocLabel()->Visible) << "a move does not show a hidden caption";
  app_->SelectedMouseLoc = true;
  Tick();
  EXPECT_TRUE(window_->LocationBG()->Visible) << "shown again by the setting alone, the pointer still";
  EXPECT_TRUE(window_->LocLabel()->Visible);
  EXPECT_EQ(window_->LocLabel()->Text, "(50, 60)");
}

TEST_F(CaptureTick, StillPointerCapturesNothingUntilAReset) {
  TickAt(300, 200);
  auto firstView = View();
  const int viewerRefreshes = backend_->RefreshCount(*window_->Viewer());
  const int swatchRefreshes = backend_->RefreshCount(*window_->CurrentColorRect());
  window_->NameLabel()->Text = "marker";

  const int queries = backend_->MouseQueries();
  Tick();
  Tick();
  EXPECT_EQ(backend_->MouseQueries(), queries + 2) << "one pointer query per tick";
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(View(), firstView);
  EXPECT_EQ(window_->NameLabel()->Text, "marker");
  EXPECT_EQ(backend_->RefreshCount(*window_->Viewer()), viewerRefreshes);
  EXPECT_EQ(backend_->RefreshCount(*window_->CurrentColorRect()), swatchRefreshes);

  window_->MouseX = window_->MouseY = -1;
  Tick();
  EXPECT_EQ(Runs().size(), 2u);
  EXPECT_NE(View(), firstView);
  EXPECT_NE(window_->NameLabel()->Text, "marker");
  EXPECT_EQ(window_->MouseX, 300);
  EXPECT_EQ(window_->MouseY, 200);
  EXPECT_EQ(backend_->RefreshCount(*window_->Viewer()), viewerRefreshes + 2);
  EXPECT_EQ(backend_->RefreshCount(*window_->CurrentColorRect()), swatchRefreshes + 1);
}

TEST_F(CaptureTick, RecreatesAMissingWorkFolderBeforeTheNextCapture) {
  TickAt(300, 200);
  std::filesystem::remove_all(WorkPath());
  Tick();
  EXPECT_FALSE(std::filesystem::exists(WorkPath())) << "a still tick touches no file";

  auto second = Pattern(101, 101, 0x80);
  UseCapture(second);
  TickAt(320, 200);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
  EXPECT_EQ(ReadFile(WorkPath() + "/" + CaptureFileName), ReadFile(SourcePath()));
  EXPECT_EQ(View()->PixelAt(100, 100), second->PixelAt(50, 50));
}

// The last capture goes first, also when an empty folder has taken its place.
TEST_F(CaptureTick, AFolderInPlaceOfTheLastCaptureIsReplaced) {
  TickAt(300, 200);
  std::filesystem::remove(WorkPath() + "/" + CaptureFileName);
  std::filesystem::create_directory(WorkPath() + "/" + CaptureFileName);
  TickAt(320, 200);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
  EXPECT_EQ(ReadFile(WorkPath() + "/" + CaptureFileName), ReadFile(SourcePath()));
}

}  // namespace
}  // namespace picker_test
