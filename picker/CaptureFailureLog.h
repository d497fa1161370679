#pragma once
#include <chrono>
#include <string>

namespace Main {

// Tells a developer on stderr why captures fail, without flooding it while a
// capture fails at every tick: the first failure after a success is
// reported, then one line a minute for as long as failures go on.
class CaptureFailureLog {
 public:
  void Failed(const std::string& reason);
  void Succeeded() { failing_ = false; }

 private:
  bool failing_ = false;
  int unreported_ = 0;
  std::chrono::steady_clock::time_point lastReport_{};
};

}  // namespace Main
