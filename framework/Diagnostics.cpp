#include "Diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ProgramName.h"

namespace fw {

namespace {

// The text with every run of digits made one '#'.
std::string ReasonKey(const std::string& text) {
  std::string key;
  key.reserve(text.size());
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit)
      key += c;
    else if (key.empty() || key.back() != '#')
      key += '#';
  }
  return key;
}

void WriteToStderr(const std::string& line) {
  std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), line.c_str());
  std::fflush(stderr);
}

DiagnosticLog& TheLog() {
  static DiagnosticLog log(WriteToStderr);
  return log;
}

}  // namespace

bool DiagnosticLog::Budget(Clock::time_point now) {
  if (linesInWindow_ == 0 || now - windowStart_ >= kInterval) {
    const int dropped = overBudget_;
    windowStart_ = now;
    linesInWindow_ = 0;
    overBudget_ = 0;
    if (dropped > 0) {
      ++linesInWindow_;
      write_(std::to_string(dropped) + " more diagnostics held back in the last minute");
    }
  }
  if (linesInWindow_ >= kLinesPerInterval) {
    ++overBudget_;
    return false;
  }
  ++linesInWindow_;
  return true;
}

void DiagnosticLog::Report(const std::string& text, Clock::time_point now) {
  // Memory stays bounded however many reasons come; the budget still keeps
  // the lines few once they are forgotten.
  if (reasons_.size() >= kReasonsKept) reasons_.clear();
  auto [it, first] = reasons_.try_emplace(ReasonKey(text));
  Reason& reason = it->second;
  if (!first && now - reason.lastWritten < kInterval) {
    ++reason.heldBack;
    return;
  }
  if (!Budget(now)) return;
  std::string line = text;
  if (reason.heldBack > 0) line += " (" + std::to_string(reason.heldBack) + " more times in the last minute)";
  reason.lastWritten = now;
  reason.heldBack = 0;
  write_(line);
}

void Diagnose(const std::string& text) { TheLog().Report(text, DiagnosticLog::Clock::now()); }

std::string ErrorText(int errorNumber) { return std::strerror(errorNumber); }

void ResetDiagnostics() {
  TheLog() = DiagnosticLog(WriteToStderr);
}

}  // namespace fw
