#pragma once
// The picker window on the test backend, with private folders and a
// stand-in screencapture that copies a prepared PNG to the file named by its
// last argument and logs its folder and arguments.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/AppIdentifier.h"
#include "framework/Graphics.h"
#include "framework/Picture.h"
#include "framework/Shell.h"
#include "framework/TestSupport.h"
#include "picker/Main.h"

namespace picker_test {

namespace fs = std::filesystem;

// A picture whose pixel (i, j) is (i, j, blue): every pixel tells where it
// came from (i and j below 256).
inline std::shared_ptr<fw::Picture> Pattern(int32_t width, int32_t height, int blue = 0x40) {
  auto p = std::make_shared<fw::Picture>(width, height);
  for (int32_t j = 0; j < height; ++j)
    for (int32_t i = 0; i < width; ++i) p->SetPixelAt(i, j, fw::Color::FromRGB(i, j, blue));
  return p;
}

// A picture of one colour.
inline std::shared_ptr<fw::Picture> Uniform(int32_t width, int32_t height, fw::Color c) {
  auto p = std::make_shared<fw::Picture>(width, height);
  p->Graphics().ForeColor = c;
  p->Graphics().FillRect(0, 0, width, height);
  return p;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/picker-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    for (const char* sub : {"home", "config", "tools"}) fs::create_directory(root_ + "/" + sub);
    SetRuntimeFolder(root_ + "/runtime");
    setenv("HOME", (root_ + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    setenv("LANG", "en_US.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANGUAGE");
    fw::Shell::SetToolsFolder(root_ + "/tools");

    backend_ = &fw::InstallTestBackend();
    app_ = std::make_unique<App>();
    fw::Application::RegisterAppObject(app_.get());
    app_->IsMarverics = true;

    UseCapture(Pattern(101, 101));
    window_ = Main::Main::Instance();
  }

  void TearDown() override {
    fw::ResetFrameworkForTests();
    app_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  // Makes folder the user's private temporary folder (mode 0700).
  void SetRuntimeFolder(const std::string& folder) {
    fs::create_directories(folder);
    chmod(folder.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    runtime_ = folder;
  }

  // The stand-in's body, run after it has logged "$PWD|$*"; $last is its
  // last argument and $SOURCE the prepared PNG.
  void WriteTool(const std::string& body) {
    const std::string tool = root_ + "/tools/screencapture";
    std::ofstream out(tool);
    out << "#!/bin/sh\n"
        << "printf '%s|%s\\n' \"$PWD\" \"$*\" >> '" << LogPath() << "'\n"
        << "for last; do :; done\n"
        << "SOURCE='" << SourcePath() << "'\n"
        << body << "\n";
    out.close();
    chmod(tool.c_str(), 0755);
  }
  // The stand-in writes picture, as a capture that works.
  void UseCapture(const std::shared_ptr<fw::Picture>& picture) {
    picture->Save(SourcePath());
    WriteTool("cp \"$SOURCE\" \"$last\"");
  }
  void RemoveTool() { fs::remove(root_ + "/tools/screencapture"); }

  std::string SourcePath() const { return root_ + "/source.png"; }
  std::string LogPath() const { return root_ + "/capture.log"; }
  std::string ScaleLog() const { return root_ + "/scale.log"; }
  std::string WorkPath() const { return runtime_ + "/" + AppIdentifier + ".work"; }
  // Each run of the stand-in: "folder|arguments".
  std::vector<std::string> Runs() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(LogPath()));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto& e : fs::directory_iterator(WorkPath(), ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // As the program ticks: through the timer, with its guard.
  void Tick() { window_->GetPicture()->Fire(); }
  void TickAt(int32_t x, int32_t y) {
    backend_->SetMouse(x, y);
    Tick();
  }
  std::shared_ptr<fw::Picture> View() { return window_->Viewer()->Backdrop; }

  std::string root_, runtime_;
  fw::TestBackend* backend_ = nullptr;
  std::unique_ptr<App> app_;
  Main::Main* window_ = nullptr;
};

}  // namespace picker_test
