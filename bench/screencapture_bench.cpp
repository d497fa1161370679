// The capture command as the tick runs it ("cd WORK; screencapture -R ..."
// through /bin/sh, the tools folder first on PATH), against the floor: the
// same line running a static program that does nothing. Runs alternate, so
// both see the same machine. Needs an X display that does not reset when
// its last client leaves:
//   bench/with_xvfb.sh build/bin/screencapture_bench [runs]
// Prints the CPU of both (the shell and all it ran, as the kernel counts
// it) and their ratio (target: the rectangle form at most 1.2 times the
// floor), and the medians of their time.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PickerBench.h"

extern char** environ;

namespace {

std::string BinDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

// What one run cost: its time, and the CPU of the shell and all it ran.
struct Cost {
  double micros = 0, cpuMicros = 0;
};

// Runs /bin/sh -c line with env; false when it fails.
bool Run(const std::string& line, std::vector<std::string> env, Cost& cost) {
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string sh = "sh", c = "-c", command = line;
  char* argv[] = {sh.data(), c.data(), command.data(), nullptr};
  auto start = bench::Clock::now();
  pid_t pid;
  int status = 0;
  rusage usage{};
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, envp.data()) != 0 || wait4(pid, &status, 0, &usage) < 0)
    return false;
  cost.micros = bench::Microseconds(bench::Clock::now() - start);
  auto us = [](const timeval& t) { return double(t.tv_sec) * 1e6 + double(t.tv_usec); };
  cost.cpuMicros = us(usage.ru_utime) + us(usage.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Case {
  const char* what;
  std::string arguments;
  std::string scale;  // handed to the tool as the program does
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
  const char* display = std::getenv("DISPLAY");
  if (!display) {
    std::fprintf(stderr, "screencapture_bench needs DISPLAY (run it through bench/with_xvfb.sh)\n");
    return 2;
  }
  const std::string bin = BinDir();
  // The program's work folder lives in XDG_RUNTIME_DIR, a memory file
  // system; /dev/shm stands in for it where it is not set.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string work = (runtime ? std::string(runtime) : std::string("/dev/shm")) + "/tb-capture-bench-" +
                     std::to_string(getpid());
  std::filesystem::create_directories(work);

  std::vector<std::string> base = {"PATH=" + bin + "/tools:" + bin + ":/usr/bin:/bin", std::string("DISPLAY=") + display};
  if (const char* home = std::getenv("HOME")) base.push_back(std::string("HOME=") + home);
  if (const char* auth = std::getenv("XAUTHORITY")) base.push_back(std::string("XAUTHORITY=") + auth);

  const Case cases[] = {
      {"-R 101 x 101 points, scale 1", "-R 400,300,101,101", "1"},
      {"-R 101 x 101 points, scale 2", "-R 200,150,101,101", "2"},
      {"-R 101 x 101 points, scale 1.5", "-R 300,200,101,101", "1.5"},
      {"-x whole screen, scale 1", "-x whole", "1"},
  };
  int failed = 0;
  for (const Case& c : cases) {
    std::vector<std::string> env = base;
    env.push_back("TINTBEACON_SCALE_FACTOR=" + c.scale);
    const std::string capture = "cd " + work + "; screencapture " + c.arguments;
    const std::string floor = "cd " + work + "; static_noop";
    std::vector<double> captures, floors;
    double captureCpu = 0, floorCpu = 0;
    for (int i = 0; i < runs; ++i) {
      Cost a, b;
      // Alternate which goes first, so neither always follows the other.
      bool ok = i % 2 ? Run(capture, env, a) && Run(floor, env, b) : Run(floor, env, b) && Run(capture, env, a);
      if (!ok) {
        std::fprintf(stderr, "%s: the command failed\n", c.what);
        ++failed;
        break;
      }
      captures.push_back(a.micros);
      floors.push_back(b.micros);
      captureCpu += a.cpuMicros;
      floorCpu += b.cpuMicros;
    }
    if (captures.empty()) continue;
    const double cm = bench::Percentile(captures, 0.5), fm = bench::Percentile(floors, 0.5);
    const double n = double(captures.size());
    std::printf("%-32s CPU %5.0f us against %5.0f us: %.2f x the floor; time median %5.0f us against %5.0f us: "
                "%.2f x\n",
                c.what, captureCpu / n, floorCpu / n, captureCpu / floorCpu, cm, fm, cm / fm);
  }
  std::filesystem::remove_all(work);
  return failed ? 1 : 0;
}
