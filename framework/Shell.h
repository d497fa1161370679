#pragma once
#include <string>
#include <utility>
#include <vector>

namespace fw {

// Runs one command line through /bin/sh -c, with the program's tools folder
// first on PATH, and waits for its end. While it waits the native side keeps
// serving events (never re-entering a timer still in its handler).
class Shell {
 public:
  // Runs command; returns when it has ended. Output (stdout) is kept for
  // ReadAll; stderr passes through to the program's stderr.
  void Execute(const std::string& command);
  std::string ReadAll() const { return output_; }
  // Gives name the value in the environment of the commands this shell
  // runs, in place of any inherited value.
  void SetEnvironment(const std::string& name, const std::string& value);
  int ExitCode() const { return exitCode_; }

  // The folder put first on PATH: bin/tools beside the executable unless set.
  static void SetToolsFolder(const std::string& path);
  static std::string ToolsFolder();

 private:
  std::vector<std::pair<std::string, std::string>> environment_;
  std::string output_;
  int exitCode_ = -1;
};

}  // namespace fw
