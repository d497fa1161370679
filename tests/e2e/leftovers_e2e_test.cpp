// However the program ends, nothing it started goes on running and no
// folder of its own stays: the commands it runs are stand-ins that start a
// helper in a process group of their own and then take their time.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Program.h"
#include "Xvfb.h"

namespace {

namespace fs = std::filesystem;
using e2e::WaitFor;

constexpr int kScreenW = 800, kScreenH = 600;

std::vector<std::string> Prefs(bool speech) {
  return {"en", "Black", "0", std::to_string(kScreenH), std::to_string(kScreenW), "100", "100", "RGB",
          speech ? "1" : "0"};
}

// Replaces tool with a script that lists its own pid and its helper's in
// pids, then runs for seconds.
void SlowTool(const std::string& tools, const std::string& tool, const std::string& pids, int seconds) {
  const std::string path = tools + "/" + tool;
  fs::remove(path);
  std::ofstream(path) << "#!/bin/sh\n"
                      << "setsid sleep 120 &\n"
                      << "echo \"$$ $!\" >> '" << pids << "'\n"
                      << "sleep " << seconds << "\n";
  chmod(path.c_str(), 0755);
}

std::vector<std::string> Pids(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> pids;
  for (std::string pid; in >> pid;) pids.push_back(pid);
  return pids;
}

// Gone, or a zombie that init is about to reap.
bool Gone(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t paren = stat.rfind(')');
  return stat.empty() || (paren != std::string::npos && stat.compare(paren + 2, 1, "Z") == 0);
}

bool AllGone(const std::vector<std::string>& pids) {
  for (const std::string& pid : pids)
    if (!Gone(pid)) return false;
  return true;
}

TEST(LeftoversE2E, AQuitWhileSpeakingLeavesNothingOfSayRunning) {
  e2e::XvfbServer x(kScreenW, kScreenH);
  e2e::Program program(x);
  const std::string pids = program.Dir() / "pids";
  SlowTool(program.CopyBinFolder(), "say", pids, 2);
  program.WritePrefs(Prefs(true));
  program.Start();
  ASSERT_FALSE(program.WaitForWindow().empty()) << program.Log();
  ASSERT_TRUE(WaitFor([&] { return !Pids(pids).empty(); })) << program.Log();
  program.Keys("ctrl+q");
  EXPECT_EQ(program.Proc().Wait(30000), 0) << program.Log();
  const std::vector<std::string> started = Pids(pids);
  EXPECT_TRUE(WaitFor([&] { return AllGone(started); }, 3000)) << pids;
}

enum class End { DisplayLost, WindowKilled };

struct AbruptEnd {
  const char* name;
  End end;
  bool runtimeDir;  // XDG_RUNTIME_DIR given
};

void PrintTo(const AbruptEnd& c, std::ostream* out) { *out << c.name; }

class AbruptEndE2E : public ::testing::TestWithParam<AbruptEnd> {};

// A slow say is under way when the display goes (or another client kills
// the program's connection): the program ends with its settings written,
// and takes what it started and its folders with it.
TEST_P(AbruptEndE2E, LeavesNoChildAndNoFolder) {
  e2e::XvfbServer x(kScreenW, kScreenH);
  e2e::Program program(x);
  const std::string pids = program.Dir() / "pids", tools = program.CopyBinFolder();
  SlowTool(tools, "say", pids, 60);
  program.WritePrefs(Prefs(true));
  program.Start(GetParam().runtimeDir ? e2e::EnvChanges{} : e2e::EnvChanges{"XDG_RUNTIME_DIR"});
  const std::string id = program.WaitForWindow();
  ASSERT_FALSE(id.empty()) << program.Log();
  ASSERT_TRUE(WaitFor([&] { return Pids(pids).size() >= 2; }, 30000)) << program.Log();
  if (GetParam().end == End::DisplayLost)
    x.Kill();
  else
    x.Run("xdotool windowkill " + id);
  const int status = program.Proc().Wait(20000);
  EXPECT_GE(status, 0) << "still running";
  EXPECT_LT(status, 128) << program.Log();
  const std::vector<std::string> started = Pids(pids);
  EXPECT_TRUE(WaitFor([&] { return AllGone(started); }, 3000)) << program.Log();
  EXPECT_EQ(program.PrefLines().size(), 9u) << program.Log();
  EXPECT_TRUE(fs::is_empty(program.Dir() / "tmp")) << program.Log();
  if (GetParam().runtimeDir) {
    EXPECT_TRUE(fs::is_empty(program.Dir() / "runtime/org.tintbeacon.Tintbeacon.work"));
  }
}

INSTANTIATE_TEST_SUITE_P(Ends, AbruptEndE2E,
                         ::testing::Values(AbruptEnd{"DisplayLost", End::DisplayLost, true},
                                           AbruptEnd{"DisplayLostNoRuntimeDir", End::DisplayLost, false},
                                           AbruptEnd{"WindowKilled", End::WindowKilled, true},
                                           AbruptEnd{"WindowKilledNoRuntimeDir", End::WindowKilled, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
