// The built program under openbox with a screencapture that hangs, fails,
// or writes a huge or a broken file: it keeps answering (Ctrl+Q quits even
// while a capture hangs), tries no capture while the pointer stands still,
// says why in a few lines, and leaves the work folder clean. Without
// a usable XDG_RUNTIME_DIR it works in a fresh private folder of its own,
// gone after it quits.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "Program.h"
#include "Xvfb.h"
#include "support/ClaimedSizePng.h"

namespace {

namespace fs = std::filesystem;

struct ToolCase {
  const char* name;
  const char* body;    // after the run is logged; $last is the capture file
  const char* report;  // part of what the program says
};

const ToolCase kTools[] = {
    {"Hangs", "sleep 60", "stopped a command"},
    {"Fails", "echo 'screencapture: cannot capture' >&2; exit 1", "screencapture: cannot capture"},
    {"WritesAHugeFile", "cp \"$HUGE\" \"$last\"", "8192 x 8192 pixels"},
    {"WritesABrokenFile", "echo garbage > \"$last\"", "not a PNG file"},
};

void PrintTo(const ToolCase& c, std::ostream* os) { *os << c.name; }

// CPU seconds the process and its reaped children have used.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 17 && fields >> field; ++i)
    if (i >= 14) ticks += std::stod(field);
  return ticks / double(sysconf(_SC_CLK_TCK));
}

size_t LineCount(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

class CaptureFailuresE2E : public ::testing::TestWithParam<ToolCase> {
 protected:
  // The program with the stand-in screencapture, which logs each run.
  void StartWithTool(const std::string& body) {
    const std::string tools = program_.CopyBinFolder();
    const std::string huge = program_.Dir() / "huge.png";
    std::ofstream(huge, std::ios::binary) << testfiles::ClaimedSizePng(8192, 8192);
    std::ofstream(tools + "/screencapture") << "#!/bin/sh\n"
                                            << "echo $$ >> '" << RunLog() << "'\n"
                                            << "for last; do :; done\n"
                                            << "HUGE='" << huge << "'\n"
                                            << body << "\n";
    chmod((tools + "/screencapture").c_str(), 0755);
    program_.WritePrefs({"en", "Black", "0", "600", "800", "100", "500", "RGB", "0"});
    program_.Start();
    ASSERT_FALSE(program_.WaitForWindow().empty()) << program_.Log();
    // The first tick captures wherever the pointer is; later runs answer moves.
    ASSERT_TRUE(e2e::WaitFor([&] { return !Runs().empty(); }, 30000)) << program_.Log();
  }

  void PointAt(int x, int y) const { x_.Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }
  std::string RunLog() const { return program_.Dir() / "runs.log"; }
  // The process ids of the tool's runs, in order.
  std::vector<pid_t> Runs() const {
    std::ifstream in(RunLog());
    std::vector<pid_t> runs;
    for (pid_t pid; in >> pid;) runs.push_back(pid);
    return runs;
  }
  // Moves the pointer and waits until the tool runs for it.
  bool CapturedAfterMoveTo(int x, int y) const {
    const size_t before = Runs().size();
    PointAt(x, y);
    return e2e::WaitFor([&] { return Runs().size() > before; }, 30000);
  }
  std::string WorkFolder() const { return program_.Dir() / "runtime/org.tintbeacon.Tintbeacon.work"; }

  e2e::XvfbServer x_{800, 600};
  e2e::Program program_{x_};
};

TEST_P(CaptureFailuresE2E, StaysIdleWithAStillPointerSaysLittleAndQuitsAtOnce) {
  ASSERT_NO_FATAL_FAILURE(StartWithTool(GetParam().body));
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(CapturedAfterMoveTo(200 + 10 * i, 300)) << program_.Log();
  // Once the last run has ended (the program stops a hanging one) nothing
  // is tried while the pointer stands still.
  const std::vector<pid_t> runs = Runs();
  ASSERT_TRUE(e2e::WaitFor([&] { return ::kill(runs.back(), 0) != 0; }, 30000)) << "the last run never ended";
  const pid_t pid = program_.Proc().Pid();
  const double cpuBefore = CpuSeconds(pid);
  // A program that tries again tries at its next tick, 128 ms on: two
  // seconds leave room for many ticks even on a busy machine.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_EQ(Runs(), runs) << "a still pointer is not captured again";
  // A loose bound, only to catch a program that spins.
  EXPECT_LT(CpuSeconds(pid) - cpuBefore, 0.3);

  // Ctrl+Q once a capture for a move has begun: with the hanging tool it
  // comes while the capture hangs, and a program that waited for the tool
  // to end by itself would still run a minute on.
  ASSERT_TRUE(CapturedAfterMoveTo(400, 300)) << program_.Log();
  program_.Keys("ctrl+q");
  EXPECT_EQ(program_.Proc().Wait(30000), 0) << program_.Log();

  const std::string log = program_.Log();
  EXPECT_NE(log.find(GetParam().report), std::string::npos) << log;
  EXPECT_LE(LineCount(log), 4u) << log;
  EXPECT_TRUE(fs::is_empty(WorkFolder())) << "the work folder is left clean";
}

INSTANTIATE_TEST_SUITE_P(Tools, CaptureFailuresE2E, ::testing::ValuesIn(kTools),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateFolderE2E, WithoutARuntimeFolderAFreshOneIsUsedAndRemoved) {
  e2e::XvfbServer x(800, 600);
  e2e::Program program(x);
  program.WritePrefs({"en", "Black", "0", "600", "800", "100", "500", "RGB", "0"});
  const fs::path tmp = program.Dir() / "tmp";
  // The name an earlier version used, taken by someone else first.
  fs::create_directory(tmp / ("tintbeacon-" + std::to_string(::geteuid())));
  program.Start({"XDG_RUNTIME_DIR"});
  ASSERT_FALSE(program.WaitForWindow().empty()) << program.Log();
  x.Run("xdotool mousemove 200 300");
  fs::path own;
  ASSERT_TRUE(e2e::WaitFor([&] {
    for (const auto& entry : fs::directory_iterator(tmp))
      if (fs::exists(entry.path() / "org.tintbeacon.Tintbeacon.work/capture-square")) own = entry.path();
    return !own.empty();
  })) << "no capture in a folder of its own\n"
      << program.Log();
  struct stat st {};
  ASSERT_EQ(::lstat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_EQ(st.st_uid, ::geteuid());
  EXPECT_EQ(own.filename().string().rfind("tintbeacon-", 0), 0u);
  EXPECT_NE(own.filename(), "tintbeacon-" + std::to_string(::geteuid()));

  EXPECT_EQ(program.Quit(), 0) << program.Log();
  EXPECT_FALSE(fs::exists(own)) << "removed when the program ends";
}

}  // namespace
