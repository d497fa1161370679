#include "Program.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

namespace fs = std::filesystem;

Program::Program(const XvfbServer& x) : x_(x), executable_(BinDir() + "/tintbeacon") {
  for (const char* sub : {"home", "config", "runtime", "tmp"}) fs::create_directory(dir_ / sub);
  chmod((dir_ / "runtime").c_str(), 0700);
}

Program::~Program() {
  // A program that a test left running must not hold keys for the next one.
  if (process_ && process_->Running()) x_.Run("xdotool keyup ctrl alt shift q");
}

std::string Program::PrefFile() const { return dir_ / "config/org.tintbeacon.Tintbeacon.prefs/Tintbeacon.pref"; }

void Program::WritePrefs(const std::vector<std::string>& lines) const {
  fs::create_directories(fs::path(PrefFile()).parent_path());
  std::ofstream out(PrefFile());
  for (const std::string& line : lines) out << line << "\n";
}

std::vector<std::string> Program::PrefLines() const {
  std::ifstream in(PrefFile());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Program::Log() const {
  std::ifstream in(dir_ / "program.log");
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Program::CopyBinFolder() {
  const fs::path bin = BinDir(), app = dir_ / "app";
  if (fs::create_directory(app)) {
    fs::copy_file(bin / "tintbeacon", app / "tintbeacon");
    fs::copy(bin / "resources", app / "resources", fs::copy_options::recursive);
    fs::copy(bin / "tools", app / "tools", fs::copy_options::recursive);
    executable_ = (app / "tintbeacon").string();
  }
  return (app / "tools").string();
}

void Program::LogCaptures() {
  const fs::path tools = CopyBinFolder(), tool = tools / "screencapture", real = tools / "screencapture.real";
  fs::rename(tool, real);
  std::ofstream(tool) << "#!/bin/sh\n"
                      << "echo \"$(date +%s.%N) $*\" >> '" << (dir_ / "captures.log") << "'\n"
                      << "exec '" << real.string() << "' \"$@\"\n";
  chmod(tool.c_str(), 0755);
}

std::vector<Program::Capture> Program::Captures() const {
  std::ifstream in(dir_ / "captures.log");
  std::vector<Capture> captures;
  for (std::string line; std::getline(in, line);) {
    const size_t space = line.find(' ');
    if (space != std::string::npos) captures.push_back({std::stod(line.substr(0, space)), line.substr(space + 1)});
  }
  return captures;
}

void Program::Start(const EnvChanges& extra, const std::vector<std::string>& args,
                    const std::vector<std::string>& launcher) {
  EnvChanges env = {"HOME=" + (dir_ / "home"), "XDG_CONFIG_HOME=" + (dir_ / "config"),
                    "XDG_RUNTIME_DIR=" + (dir_ / "runtime"), "TMPDIR=" + (dir_ / "tmp"), "LANG=C.UTF-8",
                    "LANGUAGE", "LC_ALL", "LC_MESSAGES", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                    "QT_SCREEN_SCALE_FACTORS"};
  env.insert(env.end(), extra.begin(), extra.end());
  std::vector<std::string> argv = launcher;
  argv.push_back(executable_);
  argv.insert(argv.end(), args.begin(), args.end());
  process_ = std::make_unique<Process>(argv, x_.env(env), dir_.Path(), dir_ / "program.log");
}

std::string Program::WaitForWindow(const std::string& name, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    RunResult r = x_.Run("xdotool search --onlyvisible --name '" + name + "'");
    const std::string id = r.out.substr(0, r.out.find('\n'));
    if (r.status == 0 && !id.empty()) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "";
}

std::string Program::OpenAbout(const std::string& pickerId) const {
  // A click that comes before the window has settled where it shows misses
  // the menu's title: then the title is clicked where the window is now.
  bool opened = false;
  for (int attempt = 0; attempt < 4 && !opened; ++attempt) {
    const XvfbServer::Origin at = x_.ClientOrigin(std::stoul(pickerId));
    x_.Run("xdotool mousemove " + std::to_string(at.x + 15) + " " + std::to_string(at.y + 10) + " click 1");
    opened = WaitFor([&] { return x_.MenuShown(); }, 3000);
  }
  if (!opened) return "";
  Keys("Up Return");
  // The menu closes as its command runs.
  if (!WaitFor([&] { return !x_.MenuShown(); })) return "";
  std::string about;
  WaitFor([&] {
    // Both windows have the program's class; the About window is the other.
    const RunResult r = x_.Run("xdotool search --onlyvisible --classname tintbeacon");
    std::istringstream ids(r.out);
    for (std::string id; std::getline(ids, id);)
      if (!id.empty() && id != pickerId) about = id;
    return !about.empty();
  });
  return about;
}

void Program::Keys(const std::string& keys) const {
  x_.Run("xdotool key --delay 100 " + keys);
  x_.Run("xdotool keyup ctrl alt shift q");
}

int Program::Quit() {
  // A key sent while the window manager is still giving the new window its
  // focus can be lost on a busy machine; a second Ctrl+Q is harmless.
  for (int attempt = 0; attempt < 5; ++attempt) {
    Keys("ctrl+q");
    if (const int status = process_->Wait(3000); status != -1) return status;
  }
  return -1;
}

}  // namespace e2e
