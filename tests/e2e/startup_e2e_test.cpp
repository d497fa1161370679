// The built program under Xvfb: quitting by Ctrl+Q and by closing the
// window writes the nine-line preferences file, and a restart restores the
// window's position only on a screen of the same size.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "Xvfb.h"
// Last: Xlib's macros (None, Bool, ...) clash with the headers above.
#include <X11/Xlib.h>

namespace {

using e2e::EnvChanges;
using e2e::XvfbServer;

std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class StartupE2E : public ::testing::Test {
 protected:
  StartupE2E() { ::mkdir(RuntimeDir().c_str(), 0700); }

  std::string RuntimeDir() const { return home_ / "run"; }
  std::string PrefFile() const { return home_ / ".config/org.tintbeacon.Tintbeacon.prefs/Tintbeacon.pref"; }
  std::string Output() const { return home_ / "output.txt"; }
  EnvChanges Env() const {
    return {"HOME=" + home_.Path(), "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR=" + RuntimeDir(),
            "TMPDIR=" + home_.Path(), "LANG=C", "LC_ALL", "LC_MESSAGES"};
  }

  std::unique_ptr<e2e::Process> Start(const XvfbServer& x) {
    return std::make_unique<e2e::Process>(std::vector<std::string>{e2e::BinDir() + "/tintbeacon"}, x.env(Env()), "",
                                          Output());
  }

  // The X id of the visible picker window, once it is mapped; "" after 15 s.
  static std::string WaitForWindow(const XvfbServer& x) {
    for (int i = 0; i < 150; ++i) {
      e2e::RunResult r = x.Run("xdotool search --onlyvisible --name '^Tintbeacon$'");
      std::string id = r.out.substr(0, r.out.find('\n'));
      if (r.status == 0 && !id.empty()) return id;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
  }

  // Whether the window's own area comes to start at (left, top).
  static bool ShowsAt(const XvfbServer& x, const std::string& id, int left, int top) {
    return e2e::WaitFor([&] { return x.ClientOrigin(std::stoul(id)) == XvfbServer::Origin{left, top}; });
  }

  // What a window manager sends when the user closes the window.
  static void SendDeleteWindow(const XvfbServer& x, const std::string& id) {
    Display* dpy = XOpenDisplay(x.display().c_str());
    ASSERT_NE(dpy, nullptr);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(id);
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, event.xclient.window, False, NoEventMask, &event);
    XFlush(dpy);
    XCloseDisplay(dpy);
  }

  void QuitWithCtrlQ(const XvfbServer& x, e2e::Process& program) {
    // Released by hand: xdotool dies on the window that goes before it
    // releases them, and the next program on this display would quit.
    x.Run("xdotool key ctrl+q; xdotool keyup ctrl q");
    EXPECT_EQ(program.Wait(10000), 0) << ReadAll(Output());
  }

  e2e::TempDir home_;
};

TEST_F(StartupE2E, CtrlQQuitsAndWritesNineLines) {
  XvfbServer x(800, 600);
  auto program = Start(x);
  ASSERT_NE(WaitForWindow(x), "") << ReadAll(Output());
  QuitWithCtrlQ(x, *program);
  std::vector<std::string> lines = FileLines(PrefFile());
  ASSERT_EQ(lines.size(), 9u) << ReadAll(PrefFile());
  EXPECT_EQ(lines[1], "Black");
  EXPECT_EQ(lines[3], "600");
  EXPECT_EQ(lines[4], "800");
  EXPECT_EQ(lines[7], "RGB");
}

TEST_F(StartupE2E, ClosingTheWindowQuitsAndWritesNineLines) {
  XvfbServer x(800, 600);
  auto program = Start(x);
  std::string id = WaitForWindow(x);
  ASSERT_NE(id, "") << ReadAll(Output());
  SendDeleteWindow(x, id);
  EXPECT_EQ(program->Wait(10000), 0) << ReadAll(Output());
  std::vector<std::string> lines = FileLines(PrefFile());
  ASSERT_EQ(lines.size(), 9u) << ReadAll(PrefFile());
  EXPECT_EQ(lines[3], "600");
  EXPECT_EQ(lines[4], "800");
}

TEST_F(StartupE2E, PositionIsRestoredOnlyOnAScreenOfTheSameSize) {
  {
    XvfbServer x(800, 600);
    auto program = Start(x);
    std::string id = WaitForWindow(x);
    ASSERT_NE(id, "") << ReadAll(Output());
    x.Run("xdotool windowmove " + id + " 150 120");
    ASSERT_TRUE(ShowsAt(x, id, 150, 120));
    QuitWithCtrlQ(x, *program);
    std::vector<std::string> lines = FileLines(PrefFile());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[5], "120");
    EXPECT_EQ(lines[6], "150");

    auto again = Start(x);
    id = WaitForWindow(x);
    ASSERT_NE(id, "") << ReadAll(Output());
    EXPECT_TRUE(ShowsAt(x, id, 150, 120)) << x.ClientOrigin(std::stoul(id));
    QuitWithCtrlQ(x, *again);
  }
  XvfbServer larger(1024, 768);
  std::vector<XvfbServer::Origin> places;
  {
    // Watched from before the start to the end: the window never shows at
    // the saved place, and the program never believes it is there.
    e2e::PlacesSeen watch(larger, "Tintbeacon");
    auto program = Start(larger);
    ASSERT_NE(WaitForWindow(larger), "") << ReadAll(Output());
    QuitWithCtrlQ(larger, *program);
    places = watch.Places();
  }
  ASSERT_FALSE(places.empty());
  for (const XvfbServer::Origin& at : places) EXPECT_NE(at, (XvfbServer::Origin{150, 120}));
  std::vector<std::string> lines = FileLines(PrefFile());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[3], "768");
  EXPECT_EQ(lines[4], "1024");
  EXPECT_FALSE(lines[5] == "120" && lines[6] == "150") << lines[5] << ", " << lines[6];
}

}  // namespace
