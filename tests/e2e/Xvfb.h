#pragma once
// Helpers for end-to-end tests: a private X server, child processes with a
// chosen environment, temporary folders and a known picture on the screen.
//
//   e2e::XvfbServer x(640, 480);            // Xvfb on a free display
//   x.SetRootPattern();                      // PatternColor(x, y) everywhere
//   auto r = x.Run(e2e::ToolsDir() + "/screencapture -x s.png", {"HOME=" + home.Path()}, home.Path());
//   auto shot = x.Screenshot();              // the screen's pixels as a Picture
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "Color.h"
#include "Picture.h"

namespace e2e {

// The folder of the running test executable (the build's bin folder).
std::string BinDir();
// The folder of the stand-in tools (BinDir() + "/tools").
std::string ToolsDir();

// A fresh folder under $TMPDIR or /tmp, mode 0700, removed with all it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Polls done every 100 ms until it holds; false when it still does not
// after ms milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

// Environment changes for a child: "KEY=VALUE" sets, a bare "KEY" removes.
using EnvChanges = std::vector<std::string>;

struct RunResult {
  int status = -1;         // exit status; 128 + signal when killed
  bool timedOut = false;   // killed after the timeout
  std::string out, err;    // everything written to stdout and stderr
  double seconds = 0;      // wall time
};

// Runs argv (argv[0] looked up on PATH) with the current environment plus
// changes, in cwd (empty: the current folder); waits at most timeoutMs.
RunResult RunCommand(const std::vector<std::string>& argv, const EnvChanges& env = {},
                     const std::string& cwd = "", int timeoutMs = 30000);
// RunCommand of /bin/sh -c command.
RunResult RunShell(const std::string& command, const EnvChanges& env = {},
                   const std::string& cwd = "", int timeoutMs = 30000);

// A child running in the background, stdout and stderr into files; killed
// (SIGTERM, then SIGKILL) when the object goes.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const EnvChanges& env = {},
          const std::string& cwd = "", const std::string& outputFile = "/dev/null");
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  pid_t Pid() const { return pid_; }
  bool Running();
  // The exit status (128 + signal when killed), or -1 when still running
  // after timeoutMs.
  int Wait(int timeoutMs);
  // SIGTERM, then SIGKILL after graceMs; returns the exit status.
  int Stop(int graceMs = 2000);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// The colour SetRootPattern puts at (x, y): distinct for every pixel of a
// screen up to 4096 x 4096, with all channels varying.
fw::Color PatternColor(int x, int y);

// Every real desktop has one; a bare server only where behaviour differs.
enum class WindowManager { Openbox, Absent };

// Xvfb -displayfd on a free display with -noreset, one screen of
// width x height x 24, and openbox managing it unless told otherwise;
// extraArgs go on the server's command line (for example {"-dpi", "192"}).
// Throws std::runtime_error when it cannot start.
class XvfbServer {
 public:
  XvfbServer(int width = 640, int height = 480, const std::vector<std::string>& extraArgs = {},
             WindowManager wm = WindowManager::Openbox);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  const std::string& display() const { return display_; }  // ":NN"
  // Ends the server (and openbox) under its clients, as a session's end does.
  void Kill();
  int Width() const { return width_; }
  int Height() const { return height_; }
  // env plus DISPLAY set to this server.
  EnvChanges env(const EnvChanges& extra = {}) const;

  RunResult Run(const std::string& shellCommand, const EnvChanges& extra = {},
                const std::string& cwd = "", int timeoutMs = 30000) const;

  // Starts openbox unless it runs, and waits until it manages new windows;
  // stopped with the server.
  void StartOpenbox();
  bool HasWindowManager() const { return openbox_ != nullptr; }
  // Merges X resources ("Xft.dpi: 192") into the root window's database.
  void MergeResources(const std::string& resources) const;

  // Makes picture the root window's background (top-left at 0, 0; the rest
  // black); it stays after this call's connection closes.
  void SetRootPicture(const fw::Picture& picture) const;
  // SetRootPicture of PatternColor over the whole screen.
  void SetRootPattern() const;
  // Where a window's own area (inside any window-manager frame) starts on
  // the screen; {-1, -1} when the window does not exist.
  struct Origin {
    int x = -1, y = -1;
    bool operator==(const Origin&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Origin& o) {
      return out << "(" << o.x << ", " << o.y << ")";
    }
  };
  Origin ClientOrigin(unsigned long window) const;
  // Whether a pop-up menu shows on the screen and takes keys: a window that
  // the window manager leaves alone (Qt does not always give its menus a
  // menu type), with the keyboard grabbed.
  bool MenuShown() const;

  // The whole screen in device pixels, read straight from the server (not
  // through screencapture, which is under test itself); nullptr on failure.
  std::shared_ptr<fw::Picture> Screenshot() const;

 private:
  int width_, height_;
  std::string display_;
  std::unique_ptr<Process> server_;
  std::unique_ptr<Process> openbox_;
};

// Watches, from a thread of its own, the first window named name on x from
// construction on: every place where its own area showed while it was
// viewable, in order, each change once. Polls every 2 ms, so a place held
// for less than that may go unseen.
class PlacesSeen {
 public:
  PlacesSeen(const XvfbServer& x, const std::string& name);
  ~PlacesSeen();
  PlacesSeen(const PlacesSeen&) = delete;
  PlacesSeen& operator=(const PlacesSeen&) = delete;
  std::vector<XvfbServer::Origin> Places() const;

 private:
  void Watch(const std::string& display, const std::string& name);

  mutable std::mutex mutex_;
  std::vector<XvfbServer::Origin> places_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Moves the pointer on x every few milliseconds from a thread of its own,
// along the row y between the columns left and right, until it goes: every
// capture tick then sees a moved pointer.
class WanderingPointer {
 public:
  WanderingPointer(const XvfbServer& x, int y, int left, int right);
  ~WanderingPointer();
  WanderingPointer(const WanderingPointer&) = delete;
  WanderingPointer& operator=(const WanderingPointer&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace e2e
