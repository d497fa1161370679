// The screencapture tool as the capture tick runs it, one process per run,
// beside a bare shell for scale. Needs an X display that does not reset
// when its last client leaves (a reset costs some 20 ms per run):
//   bench/with_xvfb.sh build/bin/screencapture_bench
// Prints the median and the 95th percentile of 200 runs each. The file goes
// to /tmp; on a disk file system the rename costs more than on the tmpfs
// of $XDG_RUNTIME_DIR where the program's work folder lives.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::string& ToolsDir() {
  static const std::string dir = std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/tools";
  return dir;
}

const std::string& WorkDir() {
  static const std::string dir = [] {
    std::string d = "/tmp/tb-capture-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

void Run(benchmark::State& state, std::vector<std::string> argv) {
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid;
    int status = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0 || waitpid(pid, &status, 0) < 0 ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the command failed (is DISPLAY set?)");
      return;
    }
  }
}

double Percentile95(const std::vector<double>& v) {
  std::vector<double> sorted = v;
  std::sort(sorted.begin(), sorted.end());
  return sorted[std::min(sorted.size() - 1, size_t(double(sorted.size()) * 0.95))];
}

void BM_Screencapture(benchmark::State& state) {
  std::filesystem::current_path(WorkDir());
  Run(state, {ToolsDir() + "/screencapture", "-R", "400,300,101,101"});
}

void BM_ScreencaptureThroughShell(benchmark::State& state) {
  Run(state, {"/bin/sh", "-c", "cd " + WorkDir() + "; " + ToolsDir() + "/screencapture -R 400,300,101,101"});
}

void BM_BareShell(benchmark::State& state) { Run(state, {"/bin/sh", "-c", "true"}); }

#define TB_RUNS(name) \
  BENCHMARK(name)->Iterations(1)->Repetitions(200)->ReportAggregatesOnly(true) \
      ->ComputeStatistics("p95", Percentile95)->Unit(benchmark::kMillisecond)
TB_RUNS(BM_Screencapture);
TB_RUNS(BM_ScreencaptureThroughShell);
TB_RUNS(BM_BareShell);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(WorkDir());
}
