// The built program's texts as a user sees them under openbox, in English
// and in Japanese: the longest colour name, the value text, the caption and
// every text of the About window lie whole inside their labels, text has
// smooth (grey) edges, and the icon's rounded corners show the window's own
// background. The screenshots are kept in the build folder's
// e2e-screenshots for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "Graphics.h"
#include "Program.h"
#include "Xvfb.h"
#include "color/ColorExchange.h"

namespace {

namespace fs = std::filesystem;

constexpr int kScreenW = 800, kScreenH = 600;
// Where the pointer rests: its capture shows only the root's colour.
constexpr int kPointerX = 200, kPointerY = 300;

// A part of a window in its content coordinates (points).
struct Box {
  int x, y, w, h;
};

using e2e::WaitFor;

// A colour whose name, in the given language, is name.
fw::Color ColourNamed(const std::string& name, bool japanese) {
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 3)
      for (int b = 0; b < 256; b += 3) {
        const fw::Color c = fw::Color::FromRGB(r, g, b);
        if ((japanese ? ColorExchange::ColorToNameJ(c) : ColorExchange::ColorToName(c)) == name) return c;
      }
  ADD_FAILURE() << "no colour is named " << name;
  return fw::Color(0);
}

// A window's content area on the screen: its client area less the menu bar
// above the content.
struct Content {
  int x = 0, y = 0;
};

struct Language {
  const char* code;
  const char* locale;
  const char* longestName;  // the widest name in the label's face
};

void PrintTo(const Language& language, std::ostream* out) { *out << language.code; }

class TextE2E : public ::testing::TestWithParam<Language> {
 protected:
  bool Japanese() const { return std::string(GetParam().code) == "ja"; }

  // The content area of window id, contentHeight points tall.
  Content ContentOf(const std::string& id, int contentHeight) const {
    const auto origin = x_.ClientOrigin(std::stoul(id));
    int height = 0;
    const std::string geometry = x_.Run("xdotool getwindowgeometry --shell " + id).out;
    const size_t at = geometry.find("HEIGHT=");
    if (at != std::string::npos) height = std::stoi(geometry.substr(at + 7));
    return {origin.x, origin.y + height - contentHeight};
  }

  // The window's content, cut out of a screenshot and kept as name.png.
  std::shared_ptr<fw::Picture> Capture(const Content& at, int w, int h, const std::string& name) const {
    auto shot = x_.Screenshot();
    if (!shot) return nullptr;
    auto part = std::make_shared<fw::Picture>(w, h);
    part->Graphics().DrawPicture(*shot, -at.x, -at.y);
    const fs::path folder = fs::path(e2e::BinDir()).parent_path() / "e2e-screenshots";
    fs::create_directories(folder);
    part->Save((folder / (name + "-" + GetParam().code + ".png")).string());
    return part;
  }

  // Whether anything unlike the background shows inside box.
  static bool HasInk(const fw::Picture& content, const Box& box, fw::Color background) {
    for (int y = box.y; y < box.y + box.h; ++y)
      for (int x = box.x; x < std::min(box.x + box.w, content.Width()); ++x)
        if (content.PixelAt(x, y) != background) return true;
    return false;
  }

  // The text inside box: every pixel unlike the background there, within
  // the box, the sides it is not aligned to (align 0 left, 1 centred,
  // 2 right) two points clear, top and bottom one. Returns the number of
  // distinct shades the text has, its edges included.
  static int ExpectWhole(const fw::Picture& content, const Box& box, fw::Color background, int align,
                         const std::string& what) {
    int left = content.Width(), right = -1, top = content.Height(), bottom = -1;
    std::set<uint32_t> shades;
    for (int y = box.y; y < box.y + box.h; ++y)
      for (int x = box.x; x < std::min(box.x + box.w, content.Width()); ++x) {
        const fw::Color c = content.PixelAt(x, y);
        if (c == background) continue;
        shades.insert(c.RGB());
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    const int boxRight = std::min(box.x + box.w, content.Width()) - 1;
    EXPECT_GE(right, 0) << what << ": no text";
    EXPECT_GE(left, box.x + (align == 0 ? 0 : 2)) << what;
    EXPECT_LE(right, boxRight - (align == 2 ? 0 : 2)) << what;
    EXPECT_GE(top, box.y + 1) << what;
    EXPECT_LE(bottom, box.y + box.h - 2) << what;
    return int(shades.size());
  }

  e2e::XvfbServer x_{kScreenW, kScreenH};
  e2e::Program program_{x_};
};

TEST_P(TextE2E, PickerAndAboutTextsAreWholeAndSmooth) {
  const fw::Color named = ColourNamed(GetParam().longestName, Japanese());
  fw::Picture screen(kScreenW, kScreenH);
  screen.Graphics().ForeColor = named;
  screen.Graphics().FillRect(0, 0, kScreenW, kScreenH);
  x_.SetRootPicture(screen);
  // No crosshair, the caption shown, CMYK's long value texts.
  program_.WritePrefs({GetParam().code, "None", "1", std::to_string(kScreenH), std::to_string(kScreenW), "100",
                       "400", "CMYK", "0"});
  program_.Start({std::string("LANG=") + GetParam().locale});
  const std::string picker = program_.WaitForWindow();
  ASSERT_FALSE(picker.empty()) << program_.Log();
  x_.Run("xdotool mousemove " + std::to_string(kPointerX) + " " + std::to_string(kPointerY));

  // The swatch shows the colour once the tick has set its texts; the
  // caption shows a position from the tick after the first capture on.
  std::shared_ptr<fw::Picture> view;
  ASSERT_TRUE(WaitFor([&] {
    view = Capture(ContentOf(picker, 250), 201, 250, "picker");
    return view && view->PixelAt(24, 225) == named && view->PixelAt(100, 100) == named &&
           HasInk(*view, {25, 182, 154, 18}, fw::Color(0xFFFFFF));
  })) << program_.Log();
  const fw::Color background = view->PixelAt(1, 249);
  // Both labels overlap the swatch, which ends at 45.
  const int nameShades = ExpectWhole(*view, {46, 225, 157, 20}, background, 1, "name");
  ExpectWhole(*view, {46, 204, 155, 20}, background, 1, "value");
  ExpectWhole(*view, {25, 182, 154, 18}, fw::Color(0xFFFFFF), 1, "caption");
  EXPECT_GT(nameShades, 2) << "the name's edges are not smoothed";

  const std::string about = program_.OpenAbout(picker);
  ASSERT_FALSE(about.empty()) << program_.Log();
  // Drawn once its last text, the web address, shows.
  std::shared_ptr<fw::Picture> window;
  ASSERT_TRUE(WaitFor([&] {
    window = Capture(ContentOf(about, 222), 280, 222, "about");
    return window && HasInk(*window, {80, 185, 127, 16}, window->PixelAt(2, 2));
  })) << program_.Log();
  const fw::Color aboutBackground = window->PixelAt(2, 2);
  for (auto [x, y] : {std::pair{104, 17}, {175, 17}, {104, 88}, {175, 88}, {105, 18}})
    EXPECT_EQ(window->PixelAt(x, y).RGB(), aboutBackground.RGB()) << "icon corner " << x << "," << y;
  EXPECT_EQ(window->PixelAt(114, 53), fw::Color(0x1F2A44)) << "the icon's body, drawn exactly";
  ExpectWhole(*window, {72, 93, 135, 28}, aboutBackground, 1, "name");
  const int versionShades = ExpectWhole(*window, {12, 123, 140, 20}, aboutBackground, 2, "version");
  ExpectWhole(*window, {158, 123, 140, 20}, aboutBackground, 0, "version number");
  ExpectWhole(*window, {0, 158, 280, 20}, aboutBackground, 1, "copyright");
  ExpectWhole(*window, {80, 185, 127, 16}, aboutBackground, 1, "web address");
  EXPECT_GT(versionShades, 2) << "the word version's edges are not smoothed";
  EXPECT_EQ(program_.Quit(), 0) << program_.Log();
}

INSTANTIATE_TEST_SUITE_P(Languages, TextE2E,
                         ::testing::Values(Language{"en", "C.UTF-8", "Light Grayish Greenish Yellow"},
                                           Language{"ja", "ja_JP.UTF-8", "緑みを帯びた明るい灰色"}),
                         [](const auto& info) { return std::string(info.param.code); });

}  // namespace
