// Pictures on the capture tick's road: reading a 101 x 101 capture back,
// writing one (the screencapture tool's share) and drawing it twice enlarged.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "Graphics.h"
#include "Picture.h"

namespace {

// A capture with the variety of a real screen: gradients, edges and text-like noise.
std::unique_ptr<fw::Picture> ScreenLike(int size) {
  auto picture = std::make_unique<fw::Picture>(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint32_t noise = uint32_t(x * 2654435761u ^ y * 40503u) >> 28;
      picture->SetPixelAt(x, y, fw::Color::FromRGB(x * 2, y * 2, (x / 10 + y / 10) % 2 ? 200 : int(noise * 16)));
    }
  }
  return picture;
}

std::string TempPath() { return "/tmp/tb-picture-bench-" + std::to_string(getpid()) + ".png"; }

// A capture of 101 x 101 points at scale 1, and at scale 2 (202 x 202).
void BM_DecodeCapture(benchmark::State& state) {
  std::string path = TempPath();
  ScreenLike(int(state.range(0)))->Save(path);
  for (auto _ : state) benchmark::DoNotOptimize(fw::Picture::OpenPath(path));
  std::remove(path.c_str());
}
BENCHMARK(BM_DecodeCapture)->Arg(101)->Arg(202)->Unit(benchmark::kMicrosecond);

void BM_EncodeCapture(benchmark::State& state) {
  std::string path = TempPath();
  auto picture = ScreenLike(101);
  for (auto _ : state) picture->Save(path);
  std::remove(path.c_str());
}
BENCHMARK(BM_EncodeCapture)->Unit(benchmark::kMicrosecond);

void BM_DrawTwiceEnlarged(benchmark::State& state) {
  auto capture = ScreenLike(101);
  for (auto _ : state) {
    fw::Picture view(202, 202);
    view.Graphics().DrawPicture(*capture, 0, 0, 202, 202, 0, 0, 101, 101);
    benchmark::DoNotOptimize(view.Graphics().Pixel(100, 100));
  }
}
BENCHMARK(BM_DrawTwiceEnlarged)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
