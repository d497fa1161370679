#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fw {

// Runs one command line through /bin/sh -c, with the program's tools folder
// first on PATH, and waits for its end. While it waits the native side keeps
// serving events, in the order EventGate.h gives. A command has ended only
// with all it started: whatever it leaves running is stopped.
class Shell {
 public:
  // Milliseconds a command may run; then its whole process group is killed
  // and Execute returns. 0 or less: no limit.
  int32_t TimeOut = 10000;

  // Runs command; returns when it has ended or was stopped. Output (stdout)
  // is kept for ReadAll, stderr for ReadErrors; the first line of stderr and
  // a stopped command are reported through the diagnostic log.
  void Execute(const std::string& command);
  std::string ReadAll() const { return output_; }
  // Gives name the value in the environment of the commands this shell
  // runs, in place of any inherited value.
  void SetEnvironment(const std::string& name, const std::string& value);
  std::string ReadErrors() const { return errors_; }
  int ExitCode() const { return exitCode_; }
  bool TimedOut() const { return timedOut_; }

  // Stops every running command with everything it started and leaves no
  // process of theirs behind; for an end that cannot wait for them.
  static void StopAll();

  // The folder put first on PATH: bin/tools beside the executable unless set.
  static void SetToolsFolder(const std::string& path);
  static std::string ToolsFolder();

 private:
  std::vector<std::pair<std::string, std::string>> environment_;
  std::string output_;
  std::string errors_;
  int exitCode_ = -1;
  bool timedOut_ = false;
};

}  // namespace fw
