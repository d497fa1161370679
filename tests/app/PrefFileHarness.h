#pragma once
// Runs any bytes as PrefFile through the reader and the writer on the test
// backend and says what is wrong with the file written afterwards. Shared by
// the bounded random test and the libFuzzer target.
#include <string>

#include "AppTestSupport.h"
#include "framework/Text.h"

namespace apptest {

class PrefFileHarness {
 public:
  PrefFileHarness() {
    fw::InstallTestBackend();
    Startup::EarlyStartup();
    Startup::LateStartup();
  }
  ~PrefFileHarness() {
    Startup::finalize();
    fw::ResetFrameworkForTests();
  }
  PrefFileHarness(const PrefFileHarness&) = delete;
  PrefFileHarness& operator=(const PrefFileHarness&) = delete;

  // "" when reading bytes and writing the settings back gives nine good lines
  // that hold what was read.
  std::string Check(const std::string& bytes) {
    folders_.WritePrefFile(bytes);
    App& app = *App::Instance();
    app.SelectedLang.clear();
    app.SelectedColor = "Black";
    app.SelectedMouseLoc = false;
    app.ColorMode = "RGB";
    app.PlaySound = false;
    try {
      app.ReadPrefFile();
      app.WritePrefFile();
    } catch (const std::exception& e) {
      return std::string("exception: ") + e.what();
    }
    std::vector<std::string> lines = Lines(ReadFile(folders_.PrefFilePath()));
    if (lines.size() != 9) return "written file has " + std::to_string(lines.size()) + " lines";
    if (lines[0] != app.SelectedLang || lines[1] != app.SelectedColor || lines[7] != app.ColorMode)
      return "a text setting was not written as it stands";
    if (lines[2] != (app.SelectedMouseLoc ? "1" : "0") || lines[8] != (app.PlaySound ? "1" : "0"))
      return "a Boolean line is not 0 or 1";
    for (size_t i = 3; i <= 6; ++i)
      if (fw::Str(fw::ToInt32(fw::Val(lines[i]))) != lines[i]) return "line " + std::to_string(i + 1) + " is no Int32";
    if (lines[0].size() > fw::TextInputStream::MaxLineBytes) return "a line longer than the reader's cap";
    return "";
  }

 private:
  UserFolders folders_;
};

}  // namespace apptest
