#include "Shell.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

#include "Backend.h"
#include "Diagnostics.h"
#include "ScratchFolder.h"
#include "TestBackend.h"

namespace fs = std::filesystem;
using fwtest::ScratchFolder;

extern char** environ;

namespace {

std::string RunCommand(const std::string& command, int* exitCode = nullptr) {
  fw::Shell shell;
  shell.Execute(command);
  if (exitCode) *exitCode = shell.ExitCode();
  return shell.ReadAll();
}

int OpenDescriptors() {
  int count = 0;
  DIR* dir = ::opendir("/proc/self/fd");
  while (dir && ::readdir(dir)) ++count;
  if (dir) ::closedir(dir);
  return count;
}

// Puts a tools folder first on PATH for one test and restores the default.
class ToolsFolder {
 public:
  explicit ToolsFolder(const std::string& path) : previous_(fw::Shell::ToolsFolder()) {
    fw::Shell::SetToolsFolder(path);
  }
  ~ToolsFolder() { fw::Shell::SetToolsFolder(previous_); }

 private:
  std::string previous_;
};

// Counts how often the shell hands the wait over to the event loop.
class CountingBackend : public fw::Backend {
 public:
  explicit CountingBackend(int* served, std::function<void()> onServe = {})
      : served_(served), onServe_(std::move(onServe)) {}
  int RunEventLoop() override { return 0; }
  void QuitEventLoop(int) override {}
  void ServeEvents(int ms, const std::vector<int>& wakeOn) override {
    ++*served_;
    if (onServe_) onServe_();
    fw::TestBackend::WaitReadable(ms, wakeOn);
  }
  void Post(std::function<void()>) override {}
  void CreateNativeWindow(fw::Window&) override {}
  void DestroyNativeWindow(fw::Window&) override {}
  void ShowWindow(fw::Window&) override {}
  void HideWindow(fw::Window&) override {}
  void MinimizeWindow(fw::Window&) override {}
  fw::Point WindowPosition(const fw::Window&) override { return {}; }
  void MoveWindow(fw::Window&, int32_t, int32_t) override {}
  void CentreWindow(fw::Window&) override {}
  void UpdateWindow(fw::Window&) override {}
  void RefreshControl(fw::Window&, fw::RectControl&) override {}
  double ScaleFactor(const fw::Window&) override { return 1.0; }
  void StartTimer(fw::Timer&, int32_t) override {}
  void StopTimer(fw::Timer&) override {}
  fw::PointerPosition MousePosition() override { return {}; }
  fw::ScreenInfo MainScreen() override { return {}; }
  std::vector<fw::ScreenRect> Screens() override { return {}; }
  bool OpenURL(const std::string&) override { return false; }

 private:
  int* served_;
  std::function<void()> onServe_;
};

}  // namespace

TEST(Shell, CapturesStandardOutputWhole) {
  EXPECT_EQ(RunCommand("printf 'a\\nb'"), "a\nb");
  EXPECT_EQ(RunCommand("true"), "");
  EXPECT_EQ(RunCommand("head -c 3000000 /dev/zero | tr '\\0' x").size(), 3000000u);
  EXPECT_EQ(RunCommand("echo visible; echo hidden >&2"), "visible\n");
}

TEST(Shell, ReportsTheExitCode) {
  struct Case {
    const char* command;
    int code;
  } cases[] = {{"true", 0}, {"exit 3", 3}, {"kill -9 $$", 128 + 9}, {"no-such-command-anywhere 2>/dev/null", 127}};
  for (const auto& c : cases) {
    int code = -2;
    RunCommand(c.command, &code);
    EXPECT_EQ(code, c.code) << c.command;
  }
}

TEST(Shell, WaitsForTheCommandsEnd) {
  ScratchFolder s;
  EXPECT_EQ(RunCommand("sleep 0.2; echo done; touch " + s / "ended"), "done\n");
  EXPECT_TRUE(fs::exists(s / "ended"));
}

TEST(Shell, StandardInputIsEmptySoACommandNeverWaitsForIt) { EXPECT_EQ(RunCommand("cat; echo end"), "end\n"); }

TEST(Shell, ABackgroundProcessHoldingTheOutputDoesNotKeepItWaiting) {
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunCommand("sleep 5 2>/dev/null & echo quick"), "quick\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

TEST(Shell, TheToolsFolderComesFirstOnPath) {
  ScratchFolder s;
  fwtest::WriteFile(s / "sw_vers", "#!/bin/sh\necho 10.9.5\n");
  fs::permissions(s / "sw_vers", fs::perms::owner_all);
  ToolsFolder tools(s.Path());
  EXPECT_EQ(RunCommand("sw_vers -productVersion"), "10.9.5\n");
  EXPECT_EQ(RunCommand("printf %s \"$PATH\"").rfind(s.Path() + ":", 0), 0u);
}

TEST(Shell, PathNeverGainsTheCurrentFolder) {
  for (const char* inherited : {"", "/usr/bin:/bin"}) {
    fwtest::EnvOverride path("PATH", inherited);
    for (const char* tools : {"", "/opt/tools"}) {
      ToolsFolder folder(tools);
      std::string value = RunCommand("printf %s \"$PATH\"");
      EXPECT_FALSE(value.empty());
      EXPECT_NE(value.front(), ':') << value;
      EXPECT_NE(value.back(), ':') << value;
      EXPECT_EQ(value.find("::"), std::string::npos) << value;
    }
  }
}

TEST(Shell, SetsTheCommandsEnvironmentInPlaceOfInheritedValues) {
  fwtest::EnvOverride inherited("TB_SHELL_TEST", "inherited");
  fw::Shell shell;
  shell.SetEnvironment("TB_SHELL_TEST", "first");
  shell.SetEnvironment("TB_SHELL_TEST", "set");
  shell.SetEnvironment("TB_SHELL_TEST_OTHER", "a b=c");
  // A name that merely begins like a set one is left alone.
  fwtest::EnvOverride longer("TB_SHELL_TEST_LONGER", "kept");
  shell.Execute("env | grep '^TB_SHELL_TEST' | sort");
  EXPECT_EQ(shell.ReadAll(), "TB_SHELL_TEST=set\nTB_SHELL_TEST_LONGER=kept\nTB_SHELL_TEST_OTHER=a b=c\n");
  // The program's own environment is untouched.
  EXPECT_STREQ(std::getenv("TB_SHELL_TEST"), "inherited");
  EXPECT_EQ(RunCommand("printf %s \"$TB_SHELL_TEST\""), "inherited");
}

TEST(Shell, TheDefaultToolsFolderIsBesideTheExecutable) {
  EXPECT_EQ(fw::Shell::ToolsFolder(), (fs::read_symlink("/proc/self/exe").parent_path() / "tools").string());
}

TEST(Shell, LeaksNoDescriptorsAndLeavesNoZombies) {
  int before = OpenDescriptors();
  for (int i = 0; i < 200; ++i) RunCommand(i % 2 ? "echo x" : "exit 1");
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(Shell, TheCommandInheritsNoneOfTheProgramsDescriptors) {
  int fd = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(fd, 3);
  std::string n = std::to_string(fd);
  EXPECT_EQ(RunCommand("if [ -e /proc/$$/fd/" + n + " ]; then echo leaked; else echo clean; fi"), "clean\n");
  ::close(fd);
}

// The wait hands over to the event loop, which wakes it when the command
// writes or ends, never on a clock of its own.
TEST(Shell, ServesEventsWhileALongCommandRunsAndWakesOnlyForIt) {
  int served = 0;
  CountingBackend backend(&served);
  fw::SetBackend(&backend);
  EXPECT_EQ(RunCommand("sleep 0.3; echo done"), "done\n");
  fw::SetBackend(nullptr);
  EXPECT_GE(served, 1);
  EXPECT_LE(served, 5);
}

TEST(Shell, KeepsStderrApartAndSaysItsFirstLineOnce) {
  fw::ResetDiagnostics();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 5; ++i) {
    fw::Shell shell;
    shell.Execute("echo out; echo 'tool: first problem' >&2; echo second >&2");
    EXPECT_EQ(shell.ReadAll(), "out\n");
    EXPECT_EQ(shell.ReadErrors(), "tool: first problem\nsecond\n");
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, std::string(program_invocation_short_name) + ": tool: first problem\n");
}

namespace {

// The process is gone, or a zombie nobody has reaped yet.
bool Ended(const std::string& pid) {
  const std::string stat = fwtest::ReadFile("/proc/" + pid + "/stat");
  const size_t paren = stat.rfind(')');
  return stat.empty() || (paren != std::string::npos && stat.compare(paren + 2, 1, "Z") == 0);
}

}  // namespace

TEST(Shell, StopsACommandThatOverrunsWithEverythingItStarted) {
  fw::ResetDiagnostics();
  ScratchFolder s;
  fw::Shell shell;
  shell.TimeOut = 300;
  testing::internal::CaptureStderr();
  const auto start = std::chrono::steady_clock::now();
  shell.Execute("sleep 30 & echo $! > " + s / "helper" + "; echo started; sleep 30");
  const auto took = std::chrono::steady_clock::now() - start;
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_GE(took, std::chrono::milliseconds(300));
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_TRUE(shell.TimedOut());
  EXPECT_EQ(shell.ReadAll(), "started\n");
  EXPECT_EQ(shell.ExitCode(), 128 + SIGKILL);
  EXPECT_NE(said.find("stopped a command that ran over 300 ms"), std::string::npos) << said;
  std::string helper = fwtest::ReadFile(s / "helper");
  helper = helper.substr(0, helper.find('\n'));
  ASSERT_FALSE(helper.empty());
  for (int i = 0; i < 100 && !Ended(helper); ++i) ::usleep(10000);
  EXPECT_TRUE(Ended(helper)) << "what the command started in the background is stopped too";

  fw::Shell patient;
  patient.TimeOut = 0;
  patient.Execute("sleep 0.4; echo done");
  EXPECT_FALSE(patient.TimedOut());
  EXPECT_EQ(patient.ReadAll(), "done\n");
}

namespace {

// Every pid listed in the file, one a line.
std::vector<std::string> Pids(const std::string& file) {
  std::vector<std::string> pids;
  std::istringstream in(fwtest::ReadFile(file));
  for (std::string pid; std::getline(in, pid);)
    if (!pid.empty()) pids.push_back(pid);
  return pids;
}

}  // namespace

// A process that leaves the command's process group (as timeout does with
// what it runs) or its session, or outlives the shell, is the command's all
// the same: when Execute returns, none of them runs.
TEST(Shell, LeavesNothingRunningOfTheCommand) {
  struct Case {
    const char* name;
    int32_t timeOut;
    const char* command;  // PIDS: the file the command lists its processes in
  };
  const Case cases[] = {
      {"stopped, helper in a session of its own", 300, "setsid sleep 30 & echo $! >> PIDS; sleep 30"},
      {"stopped, helper in a group of its own", 300,
       "timeout 30 sh -c 'echo $$ >> PIDS; sleep 30' & echo $! >> PIDS; sleep 30"},
      {"ended, helper left behind", 0, "setsid sleep 30 & echo $! >> PIDS"},
      {"ended, helper left two levels down", 0,
       "(setsid sleep 30 & echo $! >> PIDS; echo $(exec sh -c 'echo $PPID') >> PIDS; sleep 30) & "
       "while [ $(wc -l < PIDS) -lt 2 ]; do sleep 0.01; done"},
  };
  for (const Case& c : cases) {
    ScratchFolder s;
    const std::string pids = s / "pids";
    fwtest::WriteFile(pids, "");
    std::string command = c.command;
    for (size_t at; (at = command.find("PIDS")) != std::string::npos;) command.replace(at, 4, pids);
    fw::Shell shell;
    shell.TimeOut = c.timeOut;
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    shell.Execute(command);
    const auto took = std::chrono::steady_clock::now() - start;
    testing::internal::GetCapturedStderr();
    EXPECT_LT(took, std::chrono::seconds(10)) << c.name;
    const std::vector<std::string> listed = Pids(pids);
    EXPECT_FALSE(listed.empty()) << c.name;
    // Stopped and reaped before Execute returned: no wait here.
    for (const std::string& pid : listed) EXPECT_FALSE(fs::exists("/proc/" + pid)) << c.name << ": " << pid;
  }
}

// An end that cannot wait (the display is gone) stops the command it
// interrupts, with all it started, from inside the command's wait.
TEST(Shell, StopAllEndsARunningCommandFromInsideItsWait) {
  ScratchFolder s;
  const std::string pids = s / "pids";
  fwtest::WriteFile(pids, "");
  int served = 0;
  CountingBackend backend(&served, [&] {
    if (Pids(pids).size() >= 2) fw::Shell::StopAll();
  });
  fw::SetBackend(&backend);
  fw::Shell shell;
  shell.TimeOut = 0;
  const auto start = std::chrono::steady_clock::now();
  shell.Execute("echo $$ >> " + pids + "; setsid sleep 30 & echo $! >> " + pids + "; sleep 30");
  const auto took = std::chrono::steady_clock::now() - start;
  fw::SetBackend(nullptr);
  EXPECT_LT(took, std::chrono::seconds(10));
  const std::vector<std::string> listed = Pids(pids);
  ASSERT_EQ(listed.size(), 2u);
  for (const std::string& pid : listed) EXPECT_FALSE(fs::exists("/proc/" + pid)) << pid;
}

// What the program started outside any command (a browser the desktop
// opened for it) is no command's leftover: it outlives the commands after it.
TEST(Shell, AProcessStartedOutsideCommandsOutlivesThem) {
  pid_t browser = -1;
  char sleepName[] = "sleep", seconds[] = "30";
  char* argv[] = {sleepName, seconds, nullptr};
  ASSERT_EQ(::posix_spawnp(&browser, "sleep", nullptr, nullptr, argv, environ), 0);
  EXPECT_EQ(RunCommand("setsid sleep 30 & echo done"), "done\n");
  EXPECT_TRUE(fs::exists("/proc/" + std::to_string(browser)));
  EXPECT_EQ(::waitpid(browser, nullptr, WNOHANG), 0) << "still running";
  ::kill(browser, SIGKILL);
  ::waitpid(browser, nullptr, 0);
}
