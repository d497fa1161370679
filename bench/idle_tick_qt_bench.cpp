// The capture tick with the pointer still, on the desktop backend (Qt over
// X11) as the running program has it, beside one pointer query alone: what
// the program spends at every tick while nobody moves the mouse.
//   bench/with_xvfb.sh build/bin/idle_tick_qt_bench [ticks]
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PickerBench.h"
#include "app/App.h"
#include "framework/Application.h"
#include "framework/Runtime.h"
#include "framework/System.h"
#include "framework/qt/QtBackend.h"
#include "picker/Main.h"

namespace {

double CpuMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "idle_tick_qt_bench needs DISPLAY (run it through bench/with_xvfb.sh)\n");
    return 2;
  }
  char pattern[] = "/tmp/idle-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string root = pattern;
  for (const char* sub : {"home", "config", "runtime"}) std::filesystem::create_directory(root + "/" + sub);
  chmod((root + "/runtime").c_str(), 0700);
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);

  int qtArgc = 1;
  std::unique_ptr<fw::Backend> backend = MakeQtBackend(qtArgc, argv);
  fw::SetBackend(backend.get());
  fw::Runtime::Init();
  App app;
  fw::Application::RegisterAppObject(&app);
  app.IsMarverics = true;
  app.SelectedLang = "en";
  Main::Main* window = Main::Main::Instance();
  auto tick = [&] { window->GetPicture_Action(*window->GetPicture()); };
  tick();  // the one capture; every later tick finds the pointer still

  std::vector<double> idle, query;
  const double cpuStart = CpuMicroseconds();
  for (int i = 0; i < ticks; ++i) {
    auto start = bench::Clock::now();
    tick();
    idle.push_back(bench::Microseconds(bench::Clock::now() - start));
  }
  const double cpuPerTick = (CpuMicroseconds() - cpuStart) / ticks;
  for (int i = 0; i < ticks; ++i) {
    auto start = bench::Clock::now();
    volatile int32_t x = fw::System::MouseX();
    (void)x;
    query.push_back(bench::Microseconds(bench::Clock::now() - start));
  }

  std::printf("idle tick on Qt, pointer still (%d ticks): median %.1f us, p95 %.1f us, CPU %.1f us per tick "
              "(%.3f %% of a core at one tick every 128 ms)\n",
              ticks, bench::Percentile(idle, 0.5), bench::Percentile(idle, 0.95), cpuPerTick,
              100 * cpuPerTick / 128000);
  std::printf("one pointer query on Qt: median %.1f us, p95 %.1f us\n", bench::Percentile(query, 0.5),
              bench::Percentile(query, 0.95));

  fw::Runtime::Exit();
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return 0;
}
