// The cost of one command through Shell: the floor under every capture and
// speech tick. Run with --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>

#include "Shell.h"

static void BM_ShellTrue(benchmark::State& state) {
  fw::Shell shell;
  for (auto _ : state) shell.Execute("true");
}
BENCHMARK(BM_ShellTrue)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

static void BM_ShellEcho(benchmark::State& state) {
  fw::Shell shell;
  for (auto _ : state) {
    shell.Execute("echo 10.9.5");
    benchmark::DoNotOptimize(shell.ReadAll());
  }
}
BENCHMARK(BM_ShellEcho)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
