#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

namespace fw {

// Lines for a developer, kept from flooding: each distinct reason is written
// at once the first time, then at most once a minute while it recurs (with
// the count held back), and no more than a few lines a minute in all.
// Numbers do not make a reason distinct, so a failure that repeats with a
// moving pointer or another file name stays one reason.
class DiagnosticLog {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kInterval = std::chrono::minutes(1);
  static constexpr int kLinesPerInterval = 20;
  static constexpr size_t kReasonsKept = 256;

  explicit DiagnosticLog(std::function<void(const std::string&)> write) : write_(std::move(write)) {}
  void Report(const std::string& text, Clock::time_point now);

 private:
  struct Reason {
    Clock::time_point lastWritten;
    int heldBack = 0;
  };
  bool Budget(Clock::time_point now);

  std::function<void(const std::string&)> write_;
  std::unordered_map<std::string, Reason> reasons_;
  Clock::time_point windowStart_{};
  int linesInWindow_ = 0;
  int overBudget_ = 0;
};

// Writes text through the program's one log on stderr, as
// "<program name>: text" (ProgramName).
void Diagnose(const std::string& text);
// The system's reason for an error number, in words.
std::string ErrorText(int errorNumber);
// Forgets every reason reported so far.
void ResetDiagnostics();

}  // namespace fw
