#pragma once
// The picker window on the test backend with private folders, capturing
// through the real shell and the stand-in screencapture beside the
// executable (bin/tools); needs DISPLAY (bench/with_xvfb.sh sets it).
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/App.h"
#include "framework/TestSupport.h"
#include "picker/Main.h"

namespace bench {

class PickerBench {
 public:
  PickerBench() {
    char pattern[] = "/tmp/picker-bench-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (const char* sub : {"home", "config", "runtime"}) std::filesystem::create_directory(root_ + "/" + sub);
    chmod((root_ + "/runtime").c_str(), 0700);
    setenv("HOME", (root_ + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
    backend_ = &fw::InstallTestBackend();
    backend_->SetMainScreen(1280, 800);
    app_ = std::make_unique<App>();
    fw::Application::RegisterAppObject(app_.get());
    app_->IsMarverics = true;
    app_->SelectedLang = "en";
    window_ = Main::Main::Instance();
  }
  ~PickerBench() {
    fw::ResetFrameworkForTests();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  void Tick() { window_->GetPicture_Action(*window_->GetPicture()); }
  // A pointer that visits every part of the screen, edges included.
  void MovePointer(int step) { backend_->SetMouse((step * 37) % 1280, (step * 23) % 800); }
  std::string WorkPath() const { return root_ + "/runtime/org.tintbeacon.Tintbeacon.work"; }

  fw::TestBackend* backend_;
  std::unique_ptr<App> app_;
  Main::Main* window_;

 private:
  std::string root_;
};

using Clock = std::chrono::steady_clock;

inline double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// The value below which share (0..1) of the samples lie.
inline double Percentile(std::vector<double> samples, double share) {
  std::sort(samples.begin(), samples.end());
  size_t at = std::min(samples.size() - 1, size_t(share * double(samples.size())));
  return samples[at];
}

}  // namespace bench
