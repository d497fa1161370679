// Soak of the capture tick: many ticks with a moving pointer through the
// real shell and screencapture. Fails when descriptors, child processes or
// work-folder files grow, or resident memory grows by more than 1 MB.
//   bench/soak_capture.sh [ticks]      (10,000 by default)
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "PickerBench.h"

namespace {

int CountEntries(const std::string& folder) {
  int n = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec))
    ++n;
  return n;
}

int ChildProcesses() {
  int n = 0;
  const std::string self = std::to_string(getpid());
  std::error_code ec;
  for (auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    std::ifstream status(entry.path() / "status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("PPid:", 0) == 0) {
        if (line.substr(line.find_first_not_of(" \t", 5)) == self) ++n;
        break;
      }
  }
  return n;
}

long ResidentKB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

struct Figures {
  int fds, children, files;
  long rssKB;
};

Figures Measure(const bench::PickerBench& b) {
  return {CountEntries("/proc/self/fd"), ChildProcesses(), CountEntries(b.WorkPath()), ResidentKB()};
}

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "capture_soak_bench needs DISPLAY (run it through bench/soak_capture.sh)\n");
    return 2;
  }
  bench::PickerBench b;
  // Settle allocator and library caches before the first figures.
  for (int i = 0; i < 100; ++i) {
    b.MovePointer(i);
    b.Tick();
  }
  const Figures before = Measure(b);
  int missed = 0;
  auto start = bench::Clock::now();
  for (int i = 0; i < ticks; ++i) {
    b.MovePointer(100 + i);
    b.Tick();
    if (b.window_->MouseX != b.backend_->MousePosition().points.x) ++missed;
  }
  const double seconds = bench::Microseconds(bench::Clock::now() - start) / 1e6;
  const Figures after = Measure(b);

  std::printf("capture soak: %d ticks in %.1f s, %d captured nothing\n", ticks, seconds, missed);
  std::printf("  open descriptors:   %d -> %d\n", before.fds, after.fds);
  std::printf("  child processes:    %d -> %d\n", before.children, after.children);
  std::printf("  work-folder files:  %d -> %d\n", before.files, after.files);
  std::printf("  resident memory:    %ld kB -> %ld kB (%+ld kB; limit +1024 kB)\n", before.rssKB, after.rssKB,
              after.rssKB - before.rssKB);
  const bool grew = after.fds > before.fds || after.children > before.children || after.files > before.files ||
                    after.rssKB - before.rssKB > 1024;
  return grew || missed ? 1 : 0;
}
