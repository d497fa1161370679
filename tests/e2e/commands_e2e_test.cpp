// The built program under Xvfb: menu shortcuts, menu clicks and the Tab keys
// change what the window shows and what the preferences file holds after
// quitting; Start Speaking hands the shown name to say, and the magnifier
// keeps following the pointer while say runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "Xvfb.h"
#include "color/ColorExchange.h"

namespace {

namespace fs = std::filesystem;
using e2e::WaitFor;

constexpr int kScreenW = 1024, kScreenH = 768;
// The saved window position; the view lies below the window's menu bar.
constexpr int kWindowLeft = 700, kWindowTop = 80;
// The screen: one colour above kSplitY, another below it.
constexpr int kSplitY = 500;
const fw::Color kUpper(0x406080), kLower(0xC08040);
// Pointer positions whose 101 x 101 capture is all kUpper or all kLower.
constexpr int kUpperX = 300, kUpperY = 300, kLowerX = 300, kLowerY = 650;

const fw::Color kRed(0xFF0000), kGreen(0x00FF00), kBlue(0x0000FF), kWhite(0xFFFFFF), kBlack(0x000000);

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A part of a screenshot in screen coordinates.
struct Box {
  int x, y, w, h;
};

int Count(const fw::Picture& shot, const Box& b, fw::Color c) {
  int n = 0;
  for (int y = b.y; y < b.y + b.h; ++y)
    for (int x = b.x; x < b.x + b.w; ++x)
      if (shot.PixelAt(x, y) == c) ++n;
  return n;
}

bool SameIn(const fw::Picture& a, const fw::Picture& b, const Box& box) {
  for (int y = box.y; y < box.y + box.h; ++y)
    for (int x = box.x; x < box.x + box.w; ++x)
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) return false;
  return true;
}

class CommandsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"home", "config", "runtime"}) fs::create_directory(dir_ / sub);
    chmod((dir_ / "runtime").c_str(), 0700);
    CopyProgram();
  }

  // The program's bin folder copied, with a say that logs "start|" and its
  // arguments, sleeps as long as the file say.delay says, then logs "end".
  void CopyProgram() {
    const fs::path bin = e2e::BinDir(), app = dir_ / "app";
    fs::create_directory(app);
    fs::copy_file(bin / "tintbeacon", app / "tintbeacon");
    fs::copy(bin / "resources", app / "resources", fs::copy_options::recursive);
    fs::copy(bin / "tools", app / "tools", fs::copy_options::recursive);
    const std::string say = (app / "tools/say").string();
    fs::remove(say);
    std::ofstream(say) << "#!/bin/sh\n"
                       << "{ printf 'start|%s' \"$#\"; for a; do printf '|%s' \"$a\"; done; printf '\\n'; } >> '"
                       << SayLog() << "'\n"
                       << "[ -f '" << (dir_ / "say.delay") << "' ] && sleep \"$(cat '" << (dir_ / "say.delay")
                       << "')\"\n"
                       << "echo end >> '" << SayLog() << "'\n";
    chmod(say.c_str(), 0755);
  }

  // Language, grid colour, caption, notation and speech, on a screen of
  // this size with the window at its saved place.
  void WritePrefs(const std::string& lang, const std::string& color, bool caption, const std::string& mode,
                  bool speech) {
    fs::create_directories(PrefFolder());
    std::ofstream(PrefFile()) << lang << "\n"
                              << color << "\n"
                              << caption << "\n"
                              << kScreenH << "\n"
                              << kScreenW << "\n"
                              << kWindowTop << "\n"
                              << kWindowLeft << "\n"
                              << mode << "\n"
                              << speech << "\n";
  }

  void Start() {
    fw::Picture screen(kScreenW, kScreenH);
    for (int y = 0; y < kScreenH; ++y)
      for (int x = 0; x < kScreenW; ++x) screen.SetPixelAt(x, y, y < kSplitY ? kUpper : kLower);
    x_.SetRootPicture(screen);
    program_ = std::make_unique<e2e::Process>(std::vector<std::string>{(dir_ / "app/tintbeacon")},
                                              x_.env({"HOME=" + (dir_ / "home"), "XDG_CONFIG_HOME=" + (dir_ / "config"),
                                                      "XDG_RUNTIME_DIR=" + (dir_ / "runtime"), "LANG=C.UTF-8", "LC_ALL",
                                                      "LC_MESSAGES", "QT_QPA_PLATFORM=xcb"}),
                                              dir_.Path(), dir_ / "program.log");
    std::string id;
    ASSERT_TRUE(WaitFor([&] {
      const e2e::RunResult r = x_.Run("xdotool search --onlyvisible --name '^Tintbeacon$'");
      id = r.out.substr(0, r.out.find('\n'));
      return r.status == 0 && !id.empty();
    })) << Log();
    // Below, the window is looked for at its saved place.
    ASSERT_TRUE(WaitFor([&] {
      return x_.ClientOrigin(std::stoul(id)) == e2e::XvfbServer::Origin{kWindowLeft, kWindowTop};
    })) << "the window is at " << x_.ClientOrigin(std::stoul(id));
    PointAt(kUpperX, kUpperY);
    // The menu bar's height: the first row below the window's top that shows
    // the screen colour, the top row of the view.
    ASSERT_TRUE(WaitFor([&] {
      auto shot = x_.Screenshot();
      if (!shot) return false;
      for (int dy = 1; dy < 60; ++dy) {
        if (Count(*shot, {kWindowLeft, kWindowTop + dy, 201, 1}, kUpper) > 150) {
          contentTop_ = kWindowTop + dy + 1;
          return true;
        }
      }
      return false;
    })) << "the view never showed the screen\n"
        << Log();
  }


  // Whether a screenshot satisfies test within 10 s.
  bool Shows(const std::function<bool(const fw::Picture&)>& test) {
    return WaitFor([&] {
      auto shot = x_.Screenshot();
      return shot && test(*shot);
    });
  }

  void PointAt(int x, int y) {
    EXPECT_EQ(x_.Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)).status, 0);
  }
  void Keys(const std::string& keys) { EXPECT_EQ(x_.Run("xdotool key --delay 120 " + keys).status, 0); }

  // Opens the n-th menu of the window's menu bar (0: Edit, 1: View) with a
  // click on its title, found as the n-th run of dark text in the bar.
  void ClickMenu(int n) {
    auto shot = x_.Screenshot();
    ASSERT_TRUE(shot);
    std::vector<std::pair<int, int>> words;
    int gap = 100;
    for (int x = kWindowLeft; x < kWindowLeft + 201; ++x) {
      bool ink = false;
      for (int y = kWindowTop; y < contentTop_ - 1; ++y) {
        fw::Color c = shot->PixelAt(x, y);
        if (c.Red() + c.Green() + c.Blue() < 300) ink = true;
      }
      if (ink && gap > 6) words.push_back({x, x});
      if (ink) words.back().second = x;
      gap = ink ? 0 : gap + 1;
    }
    ASSERT_GT(words.size(), size_t(n)) << "menu titles not found";
    const int x = (words[n].first + words[n].second) / 2, y = (kWindowTop + contentTop_) / 2;
    EXPECT_EQ(x_.Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1").status, 0);
    ASSERT_TRUE(WaitFor([&] { return x_.MenuShown(); })) << "the menu did not open";
  }

  // Chooses an item with the keyboard in the menu just opened, waits until
  // the menu has closed on it, then puts the pointer back where the view
  // shows kUpper.
  void ChooseInMenu(int menu, const std::string& keys) {
    ASSERT_NO_FATAL_FAILURE(ClickMenu(menu));
    Keys(keys + " Return");
    ASSERT_TRUE(WaitFor([&] { return !x_.MenuShown(); })) << "the menu stayed open";
    PointAt(kUpperX, kUpperY);
  }

  // The view without its bottom 19 rows (the caption's place).
  Box View() const { return {kWindowLeft, contentTop_, 201, 181}; }
  Box Caption() const { return {kWindowLeft, contentTop_ + 182, 201, 18}; }
  Box NameLabel() const { return {kWindowLeft + 43, contentTop_ + 225, 158, 20}; }

  // Lines of crosshair colour c cross the view; no other crosshair colour.
  std::function<bool(const fw::Picture&)> Crosshair(fw::Color c) {
    return [this, c](const fw::Picture& shot) {
      for (fw::Color other : {kRed, kGreen, kBlue, kWhite, kBlack})
        if (other != c && Count(shot, View(), other) > 0) return false;
      return Count(shot, View(), c) > 300;
    };
  }
  std::function<bool(const fw::Picture&)> NoCrosshair() {
    return [this](const fw::Picture& shot) { return Count(shot, View(), kUpper) == View().w * View().h; };
  }

  void Quit() {
    Keys("ctrl+q");
    EXPECT_EQ(program_->Wait(10000), 0) << Log();
  }

  std::string PrefFolder() const { return dir_ / "config/org.tintbeacon.Tintbeacon.prefs"; }
  std::string PrefFile() const { return PrefFolder() + "/Tintbeacon.pref"; }
  std::string SayLog() const { return dir_ / "say.log"; }
  std::string Log() const { return ReadAll(dir_ / "program.log"); }

  e2e::XvfbServer x_{kScreenW, kScreenH};
  e2e::TempDir dir_;
  std::unique_ptr<e2e::Process> program_;
  int contentTop_ = kWindowTop;
};

TEST_F(CommandsE2E, TabKeysAndMenusChangeTheViewAndThePreferences) {
  WritePrefs("en", "Red", false, "RGB", false);
  Start();
  EXPECT_TRUE(Shows(Crosshair(kRed))) << Log();

  Keys("shift+Tab");
  EXPECT_TRUE(Shows(Crosshair(kGreen)));
  Keys("shift+Tab");
  EXPECT_TRUE(Shows(Crosshair(kBlue)));

  // View > Grid Color > None (the submenu opens on its first item).
  ChooseInMenu(1, "Down Down Right");
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return NoCrosshair()(s) && Count(s, Caption(), kWhite) == 0; }));

  // View > View Mouse Location shows the caption's white band; again hides it.
  ChooseInMenu(1, "Down Down Down Down");
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return Count(s, Caption(), kWhite) > 2000; }));
  ChooseInMenu(1, "Down Down Down Down");
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return Count(s, Caption(), kWhite) == 0; }));

  // View > Grid Color > White.
  ChooseInMenu(1, "Down Down Right Down Down");
  EXPECT_TRUE(Shows(Crosshair(kWhite)));

  // Tab turns the name into Japanese; Control held does not matter.
  auto english = x_.Screenshot();
  ASSERT_TRUE(english);
  Keys("Tab");
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return !SameIn(s, *english, NameLabel()); }));
  Keys("ctrl+Tab");
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return SameIn(s, *english, NameLabel()); }));
  Keys("Tab");

  // View > Mode > CMYK (the window manager keeps Alt+Tab for itself).
  ChooseInMenu(1, "Down Down Down Right Down");

  Quit();
  std::vector<std::string> lines = Lines(ReadAll(PrefFile()));
  ASSERT_EQ(lines.size(), 9u) << ReadAll(PrefFile());
  EXPECT_EQ(lines[0], "ja");
  EXPECT_EQ(lines[1], "White");
  EXPECT_EQ(lines[2], "0");
  EXPECT_EQ(lines[7], "CMYK");
  EXPECT_EQ(lines[8], "0");
}

TEST_F(CommandsE2E, MinimizeShortcutHidesTheWindow) {
  WritePrefs("en", "Black", false, "RGB", false);
  Start();
  Keys("ctrl+m");
  EXPECT_TRUE(WaitFor([&] { return x_.Run("xdotool search --onlyvisible --name '^Tintbeacon$'").status != 0; }))
      << Log();
  EXPECT_TRUE(program_->Running());
  // Brought back by the window manager, it takes the quit shortcut again.
  x_.Run("for w in $(xdotool search --name '^Tintbeacon$'); do xdotool windowactivate $w; done 2>/dev/null");
  EXPECT_TRUE(WaitFor([&] { return x_.Run("xdotool search --onlyvisible --name '^Tintbeacon$'").status == 0; }));
  Quit();
}

TEST_F(CommandsE2E, StartSpeakingSpeaksTheShownNameWhileTheMagnifierKeepsMoving) {
  WritePrefs("en", "None", false, "RGB", false);
  std::ofstream(dir_ / "say.delay") << "3\n";
  Start();
  ASSERT_TRUE(Shows(NoCrosshair()));
  EXPECT_FALSE(fs::exists(SayLog()));

  // Edit > Speech > Start Speaking: the items without a command are
  // disabled, so the first Down lands on Speech.
  ChooseInMenu(0, "Down Right");
  const std::string upper = "start|1|" + ColorExchange::ColorToName(kUpper);
  ASSERT_TRUE(WaitFor([&] { return Lines(ReadAll(SayLog())) == std::vector<std::string>{upper}; }, 6000))
      << ReadAll(SayLog()) << Log();

  // While say sleeps the view follows the pointer to the other colour.
  PointAt(kLowerX, kLowerY);
  EXPECT_TRUE(Shows([&](const fw::Picture& s) { return Count(s, View(), kLower) == View().w * View().h; }));
  EXPECT_EQ(Lines(ReadAll(SayLog())), std::vector<std::string>{upper}) << "say ended before the view moved";

  // Then the new name is spoken, and after Tab its Japanese name.
  fs::remove(dir_ / "say.delay");
  const std::string lowerName = "start|1|" + ColorExchange::ColorToName(kLower);
  ASSERT_TRUE(WaitFor(
      [&] {
        return Lines(ReadAll(SayLog())) == std::vector<std::string>{upper, "end", lowerName, "end"};
      },
      10000))
      << ReadAll(SayLog());
  Keys("Tab");
  const std::string lowerJa = "start|1|" + ColorExchange::ColorToNameJ(kLower);
  EXPECT_TRUE(WaitFor(
      [&] {
        return Lines(ReadAll(SayLog())) == std::vector<std::string>{upper, "end", lowerName, "end", lowerJa, "end"};
      },
      6000))
      << ReadAll(SayLog());

  Quit();
  std::vector<std::string> lines = Lines(ReadAll(PrefFile()));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "ja");
  EXPECT_EQ(lines[8], "1");
}

}  // namespace
