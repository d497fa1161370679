// One capture tick end to end (scale query, shell, screencapture, PNG read,
// drawing, sample, texts) with a moved pointer, beside a bare
// `/bin/sh -c true` through the same Shell, and an idle tick.
//   bench/with_xvfb.sh build/bin/capture_tick_bench [ticks]
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "PickerBench.h"
#include "framework/Shell.h"

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "capture_tick_bench needs DISPLAY (run it through bench/with_xvfb.sh)\n");
    return 2;
  }
  bench::PickerBench b;
  for (int i = 0; i < 20; ++i) {
    b.MovePointer(i);
    b.Tick();
  }

  std::vector<double> moved, shell, idle;
  int missed = 0;
  for (int i = 0; i < ticks; ++i) {
    b.MovePointer(1000 + i);
    auto start = bench::Clock::now();
    b.Tick();
    moved.push_back(bench::Microseconds(bench::Clock::now() - start));
    if (b.window_->MouseX != b.backend_->MousePosition().points.x) ++missed;
  }
  for (int i = 0; i < ticks; ++i) {
    fw::Shell sh;
    auto start = bench::Clock::now();
    sh.Execute("true");
    shell.push_back(bench::Microseconds(bench::Clock::now() - start));
  }
  for (int i = 0; i < 10 * ticks; ++i) {
    auto start = bench::Clock::now();
    b.Tick();
    idle.push_back(bench::Microseconds(bench::Clock::now() - start));
  }

  const double movedMedian = bench::Percentile(moved, 0.5), shellMedian = bench::Percentile(shell, 0.5);
  std::printf("capture tick, pointer moved (%d ticks): median %.0f us, p95 %.0f us (target median <= 4000 us)\n",
              ticks, movedMedian, bench::Percentile(moved, 0.95));
  std::printf("bare /bin/sh -c true through Shell: median %.0f us; tick / shell = %.1f (target <= 6)\n",
              shellMedian, movedMedian / shellMedian);
  std::printf("idle tick, pointer still (%d ticks): median %.1f us, p95 %.1f us (target median <= 100 us)\n",
              10 * ticks, bench::Percentile(idle, 0.5), bench::Percentile(idle, 0.95));
  if (missed) std::printf("ticks that captured nothing: %d\n", missed);
  return missed ? 1 : 0;
}
