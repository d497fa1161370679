// The built program on a desktop as users have it, under openbox: the window
// comes back where it was left, minimising and restoring leave it usable,
// the About window opens with its frame centred and an empty title, input
// given while a command runs is kept, every way a session ends keeps the
// settings, and what the program starts gets the user's environment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Program.h"
#include "Xvfb.h"
// Last: Xlib's macros (None, Bool, ...) clash with the headers above.
#include <X11/Xlib.h>

namespace {

namespace fs = std::filesystem;

constexpr int kScreenW = 800, kScreenH = 600;

// Nine preference lines on this screen: language, crosshair, caption,
// screen height and width, top, left, notation, speech.
std::vector<std::string> Prefs(int top, int left, bool speech = false) {
  return {"en", "Black", "0", std::to_string(kScreenH), std::to_string(kScreenW), std::to_string(top),
          std::to_string(left), "RGB", speech ? "1" : "0"};
}

using e2e::WaitFor;

class DesktopE2E : public ::testing::Test {
 protected:
  // Starts the program, its captures logged, and waits for its window and
  // its first capture; false when either never came.
  bool StartAndShow(const e2e::EnvChanges& env = {}, const std::vector<std::string>& launcher = {}) {
    program_.LogCaptures();
    program_.Start(env, {}, launcher);
    id_ = program_.WaitForWindow();
    return !id_.empty() && WaitFor([&] { return !program_.Captures().empty(); });
  }

  // Sends keys that end with a Tab and waits until the capture that Tab
  // asks for has begun: by then the program has handled every key.
  bool Handled(const std::string& keys) {
    const size_t before = program_.Captures().size();
    program_.Keys(keys);
    return WaitFor([&] { return program_.Captures().size() > before; });
  }

  e2e::XvfbServer::Origin Origin() const { return x_.ClientOrigin(std::stoul(id_)); }
  // Whether the window's own area comes to start at at.
  bool ShowsAt(e2e::XvfbServer::Origin at) const { return WaitFor([&] { return Origin() == at; }); }

  // Waits until openbox has handled every request sent to it so far: it
  // answers an activation after them.
  void WindowManagerCaughtUp() const { x_.Run("xdotool windowactivate --sync " + id_); }

  // A property of a window as xprop prints it.
  std::string Property(const std::string& id, const std::string& name) const {
    return x_.Run("xprop -id " + id + " " + name).out;
  }

  // The middle of a window's frame, from where its own area lies and how far
  // the window manager says the frame reaches (_NET_FRAME_EXTENTS); {-1, -1}
  // until it says so.
  e2e::XvfbServer::Origin FrameCentre(const std::string& id) const {
    int left = 0, right = 0, top = 0, bottom = 0, width = 0, height = 0;
    if (std::sscanf(Property(id, "_NET_FRAME_EXTENTS").c_str(), "_NET_FRAME_EXTENTS(CARDINAL) = %d, %d, %d, %d", &left,
                    &right, &top, &bottom) != 4)
      return {};
    const std::string size = x_.Run("xdotool getwindowgeometry --shell " + id).out;
    const size_t w = size.find("WIDTH="), h = size.find("HEIGHT=");
    if (w == std::string::npos || h == std::string::npos) return {};
    width = std::atoi(size.c_str() + w + 6);
    height = std::atoi(size.c_str() + h + 7);
    const auto at = x_.ClientOrigin(std::stoul(id));
    return {at.x - left + (left + width + right) / 2, at.y - top + (top + height + bottom) / 2};
  }

  bool Visible() const { return x_.Run("xdotool search --onlyvisible --name '^Tintbeacon$'").status == 0; }

  std::string WorkFolder() const { return program_.Dir() / "runtime/org.tintbeacon.Tintbeacon.work"; }

  e2e::XvfbServer x_{kScreenW, kScreenH};
  e2e::Program program_{x_};
  std::string id_;
};

TEST_F(DesktopE2E, TheWindowComesBackWhereTheUserLeftIt) {
  // The screen's origin is where Qt believes a new window to be before the
  // window manager has placed it.
  program_.WritePrefs(Prefs(0, 0));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  EXPECT_TRUE(ShowsAt({0, 0})) << Origin();
  x_.Run("xdotool windowmove " + id_ + " 150 120");
  ASSERT_TRUE(WaitFor([&] { return Origin().x != 0; }));
  // The window manager's notice of the move reaches the program before the
  // quit keys sent after it.
  const auto moved = Origin();
  ASSERT_EQ(program_.Quit(), 0) << program_.Log();

  for (int start = 0; start < 3; ++start) {
    std::vector<std::string> lines = program_.PrefLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[5], std::to_string(moved.y)) << "start " << start;
    EXPECT_EQ(lines[6], std::to_string(moved.x)) << "start " << start;
    ASSERT_TRUE(StartAndShow()) << program_.Log();
    EXPECT_TRUE(ShowsAt(moved)) << "start " << start << ": " << Origin();
    ASSERT_EQ(program_.Quit(), 0) << program_.Log();
  }
}

TEST_F(DesktopE2E, ARestoredWindowStaysUpWhenShownAgain) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  program_.Keys("ctrl+m");
  ASSERT_TRUE(WaitFor([&] { return !Visible(); })) << program_.Log();
  // Brought back by the window manager, as a task bar does.
  x_.Run("xdotool windowactivate " + id_);
  ASSERT_TRUE(WaitFor([&] { return Visible(); }));
  // View > Tintbeacon shows a window that is already shown: nothing happens.
  ASSERT_TRUE(Handled("ctrl+alt+m Tab")) << program_.Log();
  WindowManagerCaughtUp();
  EXPECT_TRUE(Visible());
  EXPECT_EQ(Property(id_, "WM_STATE").find("Iconic"), std::string::npos) << Property(id_, "WM_STATE");
  EXPECT_EQ(program_.Quit(), 0) << program_.Log();
}

TEST_F(DesktopE2E, TheAboutWindowOpensCentredWithAnEmptyTitleAtEveryStart) {
  program_.WritePrefs(Prefs(40, 40));
  for (int start = 0; start < 3; ++start) {
    ASSERT_TRUE(StartAndShow()) << program_.Log();
    const std::string about = program_.OpenAbout(id_);
    ASSERT_FALSE(about.empty()) << "start " << start << "\n" << program_.Log();
    // xprop shows an empty text as nothing at all.
    EXPECT_EQ(Property(about, "_NET_WM_NAME"), "_NET_WM_NAME(UTF8_STRING) = \n") << "start " << start;
    EXPECT_EQ(Property(about, "WM_NAME"), "WM_NAME(STRING) = \n") << "start " << start;
    EXPECT_NE(Property(about, "_NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_DIALOG"), std::string::npos);
    // The Motif hints (flags, functions, decorations, ...) ask for a close
    // button and neither a minimise (0x20) nor a maximise (0x40) button.
    unsigned flags = 0, functions = 0, decorations = 0;
    const std::string motif = Property(about, "_MOTIF_WM_HINTS");
    ASSERT_EQ(std::sscanf(motif.c_str(), "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = %x, %x, %x", &flags, &functions,
                          &decorations), 3) << motif;
    EXPECT_EQ(functions & 0x38, 0x20u) << motif;  // close; no minimise, no maximise
    EXPECT_EQ(decorations & 0x60, 0u) << motif;
    // Its frame, title bar and menu bar included, lies in the middle of the
    // screen.
    auto centre = FrameCentre(about);
    EXPECT_TRUE(WaitFor([&] {
      centre = FrameCentre(about);
      return std::abs(centre.x - kScreenW / 2) <= 2 && std::abs(centre.y - kScreenH / 2) <= 2;
    })) << "start " << start << ": frame centred at " << centre;
    const auto at = x_.ClientOrigin(std::stoul(about));
    // Shown again, the same window stays where it is.
    EXPECT_EQ(program_.OpenAbout(id_), about);
    WindowManagerCaughtUp();
    EXPECT_EQ(x_.ClientOrigin(std::stoul(about)), at) << "start " << start;
    EXPECT_EQ(x_.Run("xdotool search --onlyvisible --classname tintbeacon | wc -l").out, "2\n");
    ASSERT_EQ(program_.Quit(), 0) << program_.Log();
  }
}

TEST_F(DesktopE2E, CtrlQWhileANameIsSpokenQuitsWhenSpeechEnds) {
  const std::string tools = program_.CopyBinFolder();
  const std::string say = tools + "/say", started = program_.Dir() / "say.started",
                    ended = program_.Dir() / "say.ended";
  fs::remove(say);
  std::ofstream(say) << "#!/bin/sh\ntouch '" << started << "'\nsleep 2\ntouch '" << ended << "'\n";
  chmod(say.c_str(), 0755);
  program_.WritePrefs(Prefs(100, 100, true));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(started); })) << program_.Log();
  program_.Keys("ctrl+q");
  // A lost Ctrl+Q leaves the program running for good.
  EXPECT_EQ(program_.Proc().Wait(30000), 0) << program_.Log();
  EXPECT_TRUE(fs::exists(ended)) << "quit before speech ended";
}

TEST_F(DesktopE2E, OnlyTabIsTab) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  // Ctrl+I and Ctrl+Shift+I type the same control code as Tab and Shift+Tab.
  program_.Keys("ctrl+i ctrl+shift+i");
  ASSERT_EQ(program_.Quit(), 0) << program_.Log();
  std::vector<std::string> lines = program_.PrefLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "en");
  EXPECT_EQ(lines[1], "Black");
}

class SessionEnd : public DesktopE2E, public ::testing::WithParamInterface<int> {};

TEST_P(SessionEnd, ASignalQuitsLikeTheQuitCommand) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  ASSERT_TRUE(Handled("Tab")) << program_.Log();  // to Japanese
  kill(program_.Proc().Pid(), GetParam());
  EXPECT_EQ(program_.Proc().Wait(10000), 0) << program_.Log();
  std::vector<std::string> lines = program_.PrefLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "ja");
  EXPECT_TRUE(fs::is_empty(WorkFolder()));
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEnd, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(DesktopE2E, AHangupIgnoredAtStartStaysIgnored) {
  program_.WritePrefs(Prefs(100, 100));
  // nohup's way: the signal is ignored before the program starts.
  ASSERT_TRUE(StartAndShow({}, {"/bin/sh", "-c", "trap '' HUP; exec \"$0\""})) << program_.Log();
  kill(program_.Proc().Pid(), SIGHUP);
  ASSERT_TRUE(Handled("Tab")) << program_.Log();
  EXPECT_TRUE(program_.Proc().Running());
  EXPECT_EQ(program_.Quit(), 0) << program_.Log();
}

TEST_F(DesktopE2E, AWindowDestroyedByAnotherClientIsAClose) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  ASSERT_TRUE(Handled("Tab")) << program_.Log();
  Display* dpy = XOpenDisplay(x_.display().c_str());
  ASSERT_NE(dpy, nullptr);
  XDestroyWindow(dpy, std::stoul(id_));
  XCloseDisplay(dpy);
  EXPECT_EQ(program_.Proc().Wait(10000), 0) << program_.Log();
  EXPECT_EQ(program_.PrefLines().at(0), "ja");
}

struct LoggingRules {
  const char* name;
  const char* env;  // QT_LOGGING_RULES as the user set it, or unset
};

void PrintTo(const LoggingRules& r, std::ostream* out) { *out << r.name; }

class DisplayLoss : public DesktopE2E, public ::testing::WithParamInterface<LoggingRules> {};

// Users who silence Qt's warnings silence its word of the broken
// connection too; the settings must not depend on it.
TEST_P(DisplayLoss, EndsWithoutACrashAndKeepsTheSettings) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow({GetParam().env})) << program_.Log();
  ASSERT_TRUE(Handled("Tab")) << program_.Log();
  x_.Kill();
  const int status = program_.Proc().Wait(10000);
  EXPECT_GE(status, 0) << "still running";
  EXPECT_LT(status, 128) << program_.Log();
  EXPECT_EQ(program_.PrefLines().at(0), "ja") << program_.Log();
}

INSTANTIATE_TEST_SUITE_P(LoggingRules, DisplayLoss,
                         ::testing::Values(LoggingRules{"Default", "QT_LOGGING_RULES"},
                                           LoggingRules{"WarningsOff", "QT_LOGGING_RULES=*.warning=false"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChildEnvironment {
  const char* name;
  const char* env;       // QT_QPA_PLATFORM as the user set it, or unset
  const char* expected;  // its line in a child's environment; "" for none
};

void PrintTo(const ChildEnvironment& c, std::ostream* out) { *out << c.name; }

class ChildrenEnvironment : public DesktopE2E, public ::testing::WithParamInterface<ChildEnvironment> {};

// The platform the program picks for Qt is its own business: what it starts
// (say, the browser) gets the environment the user gave.
TEST_P(ChildrenEnvironment, AreThoseTheUserGave) {
  const std::string say = program_.CopyBinFolder() + "/say", seen = program_.Dir() / "say.env";
  fs::remove(say);
  std::ofstream(say) << "#!/bin/sh\nenv > '" << seen << ".part'\nmv '" << seen << ".part' '" << seen << "'\n";
  chmod(say.c_str(), 0755);
  program_.WritePrefs(Prefs(100, 100, true));
  ASSERT_TRUE(StartAndShow({GetParam().env})) << program_.Log();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(seen); })) << program_.Log();
  std::ifstream in(seen);
  std::vector<std::string> platform;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("QT_QPA_PLATFORM=", 0) == 0) platform.push_back(line);
  EXPECT_EQ(platform, *GetParam().expected ? std::vector<std::string>{GetParam().expected}
                                           : std::vector<std::string>{});
  EXPECT_EQ(program_.Quit(), 0) << program_.Log();
}

INSTANTIATE_TEST_SUITE_P(
    Platform, ChildrenEnvironment,
    ::testing::Values(ChildEnvironment{"Unset", "QT_QPA_PLATFORM", ""},
                      ChildEnvironment{"SetByTheUser", "QT_QPA_PLATFORM=xcb", "QT_QPA_PLATFORM=xcb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopE2E, TheDisplayArgumentIsTheDisplayWithoutDISPLAY) {
  program_.WritePrefs(Prefs(100, 100));
  program_.Start({"DISPLAY"}, {"-display", x_.display()});
  EXPECT_NE(program_.WaitForWindow(), "") << program_.Log();
  EXPECT_EQ(program_.Quit(), 0) << program_.Log();
}

TEST(NoWindowManager, AltTabSwitchesTheNotation) {
  // Window managers keep Alt+Tab for themselves; without one it reaches the window.
  e2e::XvfbServer x(kScreenW, kScreenH, {}, e2e::WindowManager::Absent);
  e2e::Program program(x);
  program.WritePrefs(Prefs(100, 100));
  program.Start();
  ASSERT_FALSE(program.WaitForWindow().empty()) << program.Log();
  program.Keys("alt+Tab");
  ASSERT_EQ(program.Quit(), 0) << program.Log();
  EXPECT_EQ(program.PrefLines().at(7), "CMYK");
}

TEST(NoDisplay, OneLineNamesTheDisplayAndTheStatusIsOne) {
  struct Case {
    const char* display;  // DISPLAY, or unset
    std::vector<std::string> args;
    const char* named;    // what the line says
  };
  const Case cases[] = {
      {"DISPLAY", {}, "DISPLAY is not set"},
      {"DISPLAY=:987", {}, "\":987\""},
      // The display an argument names is the one that counts.
      {"DISPLAY", {"-display", ":987"}, "\":987\""},
      {"DISPLAY=:986", {"-display", ":987"}, "\":987\""},
  };
  e2e::TempDir home;
  // The line begins with the program's name, whatever its file is called.
  const std::string renamed = home / "renamed";
  std::filesystem::copy_file(e2e::BinDir() + "/tintbeacon", renamed);
  for (const Case& c : cases) {
    std::vector<std::string> argv = {renamed};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(std::string(c.display) + (c.args.empty() ? "" : " " + c.args[0] + " " + c.args[1]));
    e2e::RunResult r = e2e::RunCommand(argv,
                                       {c.display, "HOME=" + home.Path(), "XDG_CONFIG_HOME=" + home / "config",
                                        "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"},
                                       "", 30000);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("tintbeacon: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
  }
}

}  // namespace
