#pragma once
// Shared set-up of the application-shell tests: private user folders, a
// tools folder with a substitute sw_vers, and the start-up road on the test
// backend.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/AppIdentifier.h"
#include "app/MainMenuBar.h"
#include "app/Startup.h"
#include "framework/Shell.h"
#include "framework/TestSupport.h"
#include "framework/TextStreams.h"
#include "picker/Main.h"
#include "support/TestFiles.h"

namespace apptest {

namespace fs = std::filesystem;

using testfiles::EnvOverride;
using testfiles::ReadFile;
using testfiles::WriteFile;

// A folder of the test's own in the temporary folder, mode 0700, removed with
// all it holds.
class TempFolder : public testfiles::ScratchFolder {
 public:
  TempFolder() : ScratchFolder((fs::temp_directory_path() / "tb-app-XXXXXX").string()) {}
};

// The lines of a text, each ended by "\n"; a last line without one counts too.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR of the test's own, and a tools
// folder whose sw_vers prints a version the test chooses.
class UserFolders {
 public:
  UserFolders()
      : home_("HOME", root_.Path()),
        config_("XDG_CONFIG_HOME", root_ / "config"),
        runtime_("XDG_RUNTIME_DIR", root_ / "runtime"),
        tmpdir_("TMPDIR", root_.Path()),
        savedTools_(fw::Shell::ToolsFolder()) {
    fs::create_directory(root_ / "config");
    fs::create_directory(root_ / "runtime");
    ::chmod((root_ / "runtime").c_str(), 0700);
    fs::create_directory(root_ / "tools");
    SetVersion("12.6");
    fw::Shell::SetToolsFolder(root_ / "tools");
  }
  ~UserFolders() { fw::Shell::SetToolsFolder(savedTools_); }

  // The substitute sw_vers prints text (printf's format is not applied).
  void SetVersion(const std::string& text) {
    std::string script = "#!/bin/sh\nprintf '%s' '" + text + "'\n";
    WriteFile(ToolsPath("sw_vers"), script);
    ::chmod(ToolsPath("sw_vers").c_str(), 0755);
  }
  void SetVersionScript(const std::string& script) {
    WriteFile(ToolsPath("sw_vers"), script);
    ::chmod(ToolsPath("sw_vers").c_str(), 0755);
  }
  void RemoveVersionCommand() { fs::remove(ToolsPath("sw_vers")); }

  std::string Root() const { return root_.Path(); }
  std::string ToolsPath(const std::string& name) const { return root_ / ("tools/" + name); }
  std::string PrefFolderPath() const { return root_ / ("config/" + std::string(AppIdentifier) + ".prefs"); }
  std::string PrefFilePath() const { return PrefFolderPath() + "/" + PrefFileName; }
  std::string WorkFolderPath() const { return root_ / ("runtime/" + std::string(AppIdentifier) + ".work"); }
  void WritePrefFile(const std::string& content) const {
    fs::create_directories(PrefFolderPath());
    WriteFile(PrefFilePath(), content);
  }

 private:
  TempFolder root_;
  EnvOverride home_, config_, runtime_, tmpdir_;
  std::string savedTools_;
};

// The test backend, the user folders, the picker window handed to the
// application shell as the program hands it, and early start-up; TearDown
// releases what start-up made.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = &fw::InstallTestBackend();
    Main::Main::ServeApp();
    Startup::EarlyStartup();
  }
  void TearDown() override {
    Startup::finalize();
    fw::ResetFrameworkForTests();
  }
  fw::TestBackend& backend() { return *backend_; }
  App& app() { return *App::Instance(); }

  // Every live picker window.
  static std::vector<Main::Main*> PickerWindows() {
    std::vector<Main::Main*> found;
    for (fw::Window* w : fw::Window::AllWindows())
      if (auto* picker = dynamic_cast<Main::Main*>(w)) found.push_back(picker);
    return found;
  }

  UserFolders folders_;

 private:
  fw::TestBackend* backend_ = nullptr;
};

}  // namespace apptest
