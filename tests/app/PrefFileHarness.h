#pragma once
// Runs any bytes as PrefFile through the reader and the writer on the test
// backend and says what is wrong with the file written afterwards. Shared by
// the bounded random test and the libFuzzer target.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "AppTestSupport.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace apptest {

class PrefFileHarness {
 public:
  PrefFileHarness() {
    fw::InstallTestBackend();
    Main::Main::ServeApp();
    Startup::EarlyStartup();
    Startup::LateStartup();
  }
  ~PrefFileHarness() {
    Startup::finalize();
    fw::ResetFrameworkForTests();
  }
  PrefFileHarness(const PrefFileHarness&) = delete;
  PrefFileHarness& operator=(const PrefFileHarness&) = delete;

  // "" when reading bytes and writing the settings back gives nine lines of
  // text that hold the settings: a damaged line never brings its bytes in.
  std::string Check(const std::string& bytes) {
    folders_.WritePrefFile(bytes);
    return ReadThenWrite();
  }

  // "" when what is no regular file, or too large to be one of ours, is
  // refused at once through the real open path and leaves the defaults: a
  // FIFO without a writer, a link to a device, a 2 GB file of NUL bytes.
  std::string CheckSpecialFiles() {
    folders_.WritePrefFile("");
    const std::string path = folders_.PrefFilePath();
    ::unlink(path.c_str());
    if (::mkfifo(path.c_str(), 0600) != 0) return "cannot make a FIFO";
    std::string problem = ReadRefused("a FIFO");
    // The FIFO is left as it is at quit.
    if (problem.empty()) problem = LeftAsItIs("a FIFO");
    ::unlink(path.c_str());
    if (!problem.empty()) return problem;

    // Only read: a bug that replaced the link's target must never reach /dev.
    if (::symlink("/dev/zero", path.c_str()) != 0) return "cannot link to /dev/zero";
    problem = ReadRefused("a link to /dev/zero");
    ::unlink(path.c_str());
    if (!problem.empty()) return problem;

    folders_.WritePrefFile("");
    if (::truncate(path.c_str(), off_t(2) << 30) != 0) return "cannot make a 2 GB file";
    problem = ReadThenWrite();
    return problem.empty() ? "" : "a 2 GB file: " + problem;
  }

 private:
  void ResetSettings() {
    App& app = *App::Instance();
    app.SelectedLang.clear();
    app.SelectedColor = "Black";
    app.SelectedMouseLoc = false;
    app.ColorMode = "RGB";
    app.PlaySound = false;
  }
  static bool AtDefaults(const App& app) {
    return app.SelectedLang.empty() && app.SelectedColor == "Black" && !app.SelectedMouseLoc &&
           app.ColorMode == "RGB" && !app.PlaySound;
  }

  std::string ReadRefused(const std::string& what) {
    ResetSettings();
    try {
      App::Instance()->ReadPrefFile();
      return what + " was read";
    } catch (const fw::IOException&) {
    }
    return AtDefaults(*App::Instance()) ? "" : what + " changed a setting";
  }

  std::string LeftAsItIs(const std::string& what) {
    try {
      App::Instance()->WritePrefFile();
    } catch (const fw::IOException&) {
    }
    struct stat st {};
    return ::lstat(folders_.PrefFilePath().c_str(), &st) == 0 && S_ISFIFO(st.st_mode) ? "" : what + " was replaced";
  }

  std::string ReadThenWrite() {
    ResetSettings();
    App& app = *App::Instance();
    try {
      app.ReadPrefFile();
    } catch (const std::exception& e) {
      return std::string("exception: ") + e.what();
    }
    try {
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
    for (const std::string& line : lines)
      if (line.size() > PrefFileMaxBytes) return "a line longer than the reader's limit";
    auto written = fw::TextInputStream::Open(fw::FolderItem(folders_.PrefFilePath()), 16 * PrefFileMaxBytes);
    for (size_t i = 1; i <= lines.size(); ++i) {
      fw::TextLine line = written->ReadTextLine();
      if (line.Damaged()) return "line " + std::to_string(i) + " written back " + line.damage;
    }
    return "";
  }

  UserFolders folders_;
};

}  // namespace apptest
