#pragma once
// The built program as a user runs it, on a test's X server, in a private
// home: its own HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and TMPDIR, so that
// it never touches the real user's files.
//
//   e2e::XvfbServer x(800, 600);            // openbox manages it
//   e2e::Program p(x);
//   p.WritePrefs({"en", "Red", "0", "600", "800", "80", "300", "RGB", "0"});
//   p.Start();
//   std::string id = p.WaitForWindow();
//   p.Keys("Tab");
//   EXPECT_EQ(p.Quit(), 0);
#include <memory>
#include <string>
#include <vector>

#include "Xvfb.h"

namespace e2e {

class Program {
 public:
  explicit Program(const XvfbServer& x);
  ~Program();

  const TempDir& Dir() const { return dir_; }
  std::string PrefFile() const;
  void WritePrefs(const std::vector<std::string>& lines) const;
  std::vector<std::string> PrefLines() const;
  // Everything the program wrote on stdout and stderr.
  std::string Log() const;

  // From now on the program runs from a copy of the bin folder, whose tools
  // a test may replace; returns the copy's tools folder.
  std::string CopyBinFolder();
  // From now on every run of screencapture is logged before the real tool
  // runs; Captures() lists them in order.
  void LogCaptures();
  struct Capture {
    double seconds;    // when it started, on the system clock
    std::string args;  // its arguments, as one line
  };
  std::vector<Capture> Captures() const;

  // Runs the program with args, under launcher when one is given (for
  // example {"/bin/sh", "-c", "trap '' HUP; exec \"$0\""}, which receives the
  // program's path as its next argument).
  void Start(const EnvChanges& extra = {}, const std::vector<std::string>& args = {},
             const std::vector<std::string>& launcher = {});
  Process& Proc() { return *process_; }
  // The X id of the visible window whose name matches the regular
  // expression, once there is one; "" after timeoutMs.
  std::string WaitForWindow(const std::string& name = "^Tintbeacon$", int timeoutMs = 15000) const;
  // Chooses About Tintbeacon, the last item of the Edit menu of the picker
  // window pickerId (a click on the menu's title, then Up wraps to the
  // bottom); the X id of the About window once it shows, "" after 10 s.
  std::string OpenAbout(const std::string& pickerId) const;
  // xdotool key keys, then every modifier and Q released: a key that quits
  // the program leaves xdotool's keys held in the server otherwise.
  void Keys(const std::string& keys) const;
  // Ctrl+Q, again every 3 s while the program runs; the exit status, or -1
  // when it still runs after 15 s.
  int Quit();

 private:
  const XvfbServer& x_;
  TempDir dir_;
  std::string executable_;
  std::unique_ptr<Process> process_;
};

}  // namespace e2e
