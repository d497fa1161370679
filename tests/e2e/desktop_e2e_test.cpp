// The built program on a desktop as users have it, under openbox: the window
// comes back where it was left, minimising and restoring leave it usable,
// the About window opens centred with an empty title, input given while a
// command runs is kept, and every way a session ends keeps the settings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

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
  // Starts the program and waits for its window; false when none showed.
  bool StartAndShow(const e2e::EnvChanges& env = {}) {
    program_.Start(env);
    id_ = program_.WaitForWindow();
    return !id_.empty();
  }

  e2e::XvfbServer::Origin Origin() const { return x_.ClientOrigin(std::stoul(id_)); }

  // A property of a window as xprop prints it.
  std::string Property(const std::string& id, const std::string& name) const {
    return x_.Run("xprop -id " + id + " " + name).out;
  }

  bool Visible() const { return x_.Run("xdotool search --onlyvisible --name '^Tintbeacon$'").status == 0; }

  e2e::XvfbServer x_{kScreenW, kScreenH};
  e2e::Program program_{x_};
  std::string id_;
};

TEST_F(DesktopE2E, TheWindowComesBackWhereTheUserLeftIt) {
  // The screen's origin is where Qt believes a new window to be before the
  // window manager has placed it.
  program_.WritePrefs(Prefs(0, 0));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  EXPECT_EQ(Origin().x, 0);
  EXPECT_EQ(Origin().y, 0);
  x_.Run("xdotool windowmove " + id_ + " 150 120");
  ASSERT_TRUE(WaitFor([&] { return Origin().x != 0; }));
  // The program learns of the move a moment after the server.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto moved = Origin();
  ASSERT_EQ(program_.Quit(), 0) << program_.Log();

  for (int start = 0; start < 3; ++start) {
    std::vector<std::string> lines = program_.PrefLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[5], std::to_string(moved.y)) << "start " << start;
    EXPECT_EQ(lines[6], std::to_string(moved.x)) << "start " << start;
    ASSERT_TRUE(StartAndShow()) << program_.Log();
    EXPECT_EQ(Origin().x, moved.x) << "start " << start;
    EXPECT_EQ(Origin().y, moved.y) << "start " << start;
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
  program_.Keys("ctrl+alt+m");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
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
    // 280 wide; its height has the menu bar besides the 222 points.
    const auto at = x_.ClientOrigin(std::stoul(about));
    EXPECT_NEAR(at.x, (kScreenW - 280) / 2, 2) << "start " << start;
    EXPECT_NEAR(at.y, (kScreenH - 222) / 2, 30) << "start " << start;
    // Shown again, the same window stays where it is.
    EXPECT_EQ(program_.OpenAbout(id_), about);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(x_.ClientOrigin(std::stoul(about)).y, at.y) << "start " << start;
    EXPECT_EQ(x_.Run("xdotool search --onlyvisible --classname tintbeacon | wc -l").out, "2\n");
    ASSERT_EQ(program_.Quit(), 0) << program_.Log();
  }
}

TEST_F(DesktopE2E, CtrlQWhileANameIsSpokenQuitsWhenSpeechEnds) {
  const std::string tools = program_.CopyBinFolder();
  const std::string say = tools + "/say", started = program_.Dir() / "say.started";
  fs::remove(say);
  std::ofstream(say) << "#!/bin/sh\ntouch '" << started << "'\nsleep 2\n";
  chmod(say.c_str(), 0755);
  program_.WritePrefs(Prefs(100, 100, true));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(started); })) << program_.Log();
  const auto pressed = std::chrono::steady_clock::now();
  program_.Keys("ctrl+q");
  EXPECT_EQ(program_.Proc().Wait(4000), 0) << program_.Log();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
  EXPECT_LT(seconds, 3.5) << "speech takes 2 s; quitting must follow within a second";
}

TEST_F(DesktopE2E, OnlyTabIsTab) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  // Ctrl+I and Ctrl+Shift+I type the same control code as Tab and Shift+Tab.
  program_.Keys("ctrl+i ctrl+shift+i");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
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
  program_.Keys("Tab");  // to Japanese
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(program_.Proc().Pid(), GetParam());
  EXPECT_EQ(program_.Proc().Wait(10000), 0) << program_.Log();
  std::vector<std::string> lines = program_.PrefLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "ja");
  EXPECT_TRUE(fs::is_empty(program_.Dir() / "runtime/org.tintbeacon.Tintbeacon.work"));
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEnd, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(DesktopE2E, AHangupIgnoredAtStartStaysIgnored) {
  program_.WritePrefs(Prefs(100, 100));
  // nohup's way: the signal is ignored before the program starts.
  e2e::Process program({"/bin/sh", "-c", "trap '' HUP; exec " + e2e::BinDir() + "/tintbeacon"},
                       x_.env({"HOME=" + (program_.Dir() / "home"), "XDG_CONFIG_HOME=" + (program_.Dir() / "config"),
                               "XDG_RUNTIME_DIR=" + (program_.Dir() / "runtime")}));
  id_ = program_.WaitForWindow();
  ASSERT_FALSE(id_.empty());
  kill(program.Pid(), SIGHUP);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(program.Running());
  program_.Keys("ctrl+q");
  EXPECT_EQ(program.Wait(10000), 0);
}

TEST_F(DesktopE2E, AWindowDestroyedByAnotherClientIsAClose) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  program_.Keys("Tab");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Display* dpy = XOpenDisplay(x_.display().c_str());
  ASSERT_NE(dpy, nullptr);
  XDestroyWindow(dpy, std::stoul(id_));
  XCloseDisplay(dpy);
  EXPECT_EQ(program_.Proc().Wait(10000), 0) << program_.Log();
  EXPECT_EQ(program_.PrefLines().at(0), "ja");
}

TEST_F(DesktopE2E, LosingTheDisplayEndsWithoutACrashAndKeepsTheSettings) {
  program_.WritePrefs(Prefs(100, 100));
  ASSERT_TRUE(StartAndShow()) << program_.Log();
  program_.Keys("Tab");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  x_.Kill();
  const int status = program_.Proc().Wait(10000);
  EXPECT_GE(status, 0) << "still running";
  EXPECT_LT(status, 128) << program_.Log();
  EXPECT_EQ(program_.PrefLines().at(0), "ja");
}

TEST(NoWindowManager, AltTabSwitchesTheNotation) {
  // Window managers keep Alt+Tab for themselves; without one it reaches the window.
  e2e::XvfbServer x(kScreenW, kScreenH, {}, e2e::WindowManager::Absent);
  e2e::Program program(x);
  program.WritePrefs(Prefs(100, 100));
  program.Start();
  ASSERT_FALSE(program.WaitForWindow().empty()) << program.Log();
  program.Keys("alt+Tab");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(program.Quit(), 0) << program.Log();
  EXPECT_EQ(program.PrefLines().at(7), "CMYK");
}

TEST(NoDisplay, OneLineNamesTheDisplayAndTheStatusIsOne) {
  e2e::TempDir home;
  for (const std::string& display : {std::string("DISPLAY"), std::string("DISPLAY=:987")}) {
    e2e::RunResult r = e2e::RunCommand({e2e::BinDir() + "/tintbeacon"},
                                       {display, "HOME=" + home.Path(), "XDG_CONFIG_HOME=" + home / "config",
                                        "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"},
                                       "", 10000);
    EXPECT_EQ(r.status, 1) << display << "\n" << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(display == "DISPLAY" ? "DISPLAY is not set" : "\":987\""), std::string::npos) << r.err;
  }
}

}  // namespace
