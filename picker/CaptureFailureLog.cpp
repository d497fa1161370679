#include "picker/CaptureFailureLog.h"

#include <cstdio>

namespace Main {

void CaptureFailureLog::Failed(const std::string& reason) {
  using namespace std::chrono;
  auto now = steady_clock::now();
  if (!failing_) {
    std::fprintf(stderr, "tintbeacon: screen capture failed: %s\n", reason.c_str());
  } else if (now - lastReport_ >= minutes(1)) {
    std::fprintf(stderr, "tintbeacon: screen capture still failing (%d more): %s\n", unreported_ + 1,
                 reason.c_str());
  } else {
    ++unreported_;
    return;
  }
  failing_ = true;
  unreported_ = 0;
  lastReport_ = now;
}

}  // namespace Main
