#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "color/ColorExchange.h"

namespace {

// A fixed spread over the colour cube: greys, near-neutrals and chromatic
// colours alike, the same for every run.
const std::vector<fw::Color>& Spread() {
  static const std::vector<fw::Color> colours = [] {
    std::vector<fw::Color> v;
    uint32_t x = 0x2545F491;
    for (int i = 0; i < 4096; ++i) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      v.emplace_back(x & 0xFFFFFF);
    }
    return v;
  }();
  return colours;
}

template <auto Function>
void Run(benchmark::State& state) {
  const std::vector<fw::Color>& colours = Spread();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Function(colours[i]));
    i = (i + 1) % colours.size();
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(Run<ColorExchange::ColorToName>)->Name("ColorToName");
BENCHMARK(Run<ColorExchange::ColorToNameJ>)->Name("ColorToNameJ");
BENCHMARK(Run<ColorExchange::ColorToHLS>)->Name("ColorToHLS");
BENCHMARK(Run<ColorExchange::ColorToCMYK>)->Name("ColorToCMYK");
BENCHMARK(Run<ColorExchange::ColorToRGB>)->Name("ColorToRGB");

}  // namespace

BENCHMARK_MAIN();
