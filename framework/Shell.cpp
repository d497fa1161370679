#include "Shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Backend.h"
#include "Diagnostics.h"
#include "EventGate.h"

extern char** environ;

namespace fw {

namespace {

// How often a wait without a pidfd asks whether the command has ended.
constexpr int kAskSliceMs = 5;
// A command that ends within this long (a capture, most often) is waited
// for directly; a longer one hands its wait to the event loop, which serves
// events meanwhile and wakes for the command.
constexpr int kDirectWaitMs = 5;
// How much of a command's stderr is kept; the rest is read and dropped.
constexpr size_t kErrorsKept = 65536;

std::string& ToolsFolderSetting() {
  static std::string folder = [] {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : (exe.parent_path() / "tools").string();
  }();
  return folder;
}

// PATH for the command: the tools folder first. An empty element would mean
// the current folder, so neither an empty tools folder nor an empty PATH
// leaves one.
std::string CommandPath() {
  const char* inherited = std::getenv("PATH");
  std::string rest = inherited && *inherited ? inherited : "/usr/local/bin:/usr/bin:/bin";
  const std::string& tools = ToolsFolderSetting();
  return tools.empty() ? rest : tools + ":" + rest;
}

// The command's end, as a descriptor that poll can wait on with the pipe.
int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// The shells of the commands running now (a command's wait may serve an
// event that runs another).
std::vector<pid_t>& RunningShells() {
  static std::vector<pid_t> shells;
  return shells;
}

// What a command leaves behind (a process it started in a group or session
// of its own, which a kill of its group misses) becomes our child once its
// parent ends, instead of going to init, so it can be ended and reaped.
void AdoptOrphans() {
  static const bool adopted = ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
  if (!adopted) Diagnose("processes that commands leave behind cannot be stopped: " + ErrorText(errno));
}

// Our children now, of every thread (an orphan goes to any of them).
std::vector<pid_t> Children() {
  std::vector<pid_t> children;
  DIR* tasks = ::opendir("/proc/self/task");
  if (!tasks) return children;
  while (struct dirent* task = ::readdir(tasks)) {
    if (task->d_name[0] == '.') continue;
    std::ifstream in(std::string("/proc/self/task/") + task->d_name + "/children");
    for (pid_t pid; in >> pid;) children.push_back(pid);
  }
  ::closedir(tasks);
  return children;
}

// Children that no command started (a browser the desktop opened, adopted
// as an orphan): noted when no command runs, since every command's
// leftovers have been ended by then; they are spared and, once ended,
// reaped.
std::vector<pid_t>& Foreign() {
  static std::vector<pid_t> foreign;
  return foreign;
}

// Whether the program has any child at all: one system call, where listing
// them reads a file per thread.
bool HasChildren() {
  siginfo_t info{};
  return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
}

void NoteForeignChildren() {
  if (!RunningShells().empty()) return;
  std::vector<pid_t>& foreign = Foreign();
  if (!HasChildren()) {
    foreign.clear();
    return;
  }
  std::erase_if(foreign, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
  for (pid_t pid : Children())
    if (std::find(foreign.begin(), foreign.end(), pid) == foreign.end()) foreign.push_back(pid);
}

bool Spared(pid_t pid) {
  const std::vector<pid_t>& running = RunningShells();
  const std::vector<pid_t>& foreign = Foreign();
  return std::find(running.begin(), running.end(), pid) != running.end() ||
         std::find(foreign.begin(), foreign.end(), pid) != foreign.end();
}

// Ends every child that commands left behind, and what each of them
// started: the children of one that ends become ours in turn.
void EndLeftovers() {
  while (HasChildren()) {
    std::vector<pid_t> leftovers = Children();
    std::erase_if(leftovers, Spared);
    if (leftovers.empty()) return;
    for (pid_t pid : leftovers) ::kill(pid, SIGKILL);
    for (pid_t pid : leftovers)
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
  }
}

// Reads what the pipe holds now, keeping at most limit bytes of it; false
// once the write end is closed.
bool Drain(int fd, std::string& out, size_t limit) {
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      if (out.size() < limit) out.append(buffer, std::min(static_cast<size_t>(n), limit - out.size()));
    } else if (n == 0) {
      return false;
    } else if (errno == EINTR) {
      continue;
    } else {
      return errno == EAGAIN || errno == EWOULDBLOCK;
    }
  }
}

// A pipe end that the command writes into and we read from.
struct Stream {
  int fd = -1;
  std::string* text = nullptr;
  size_t limit = 0;

  void Read() {
    if (fd >= 0 && !Drain(fd, *text, limit)) Close();
  }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

// The command (its own process group) and its descriptors; whatever way
// the wait ends (an event handler may throw while events are served), the
// command is reaped and nothing stays open. A command given up on is killed
// with its group rather than waited for.
struct Child {
  pid_t pid = -1;
  int pidFd = -1;
  Stream streams[2];
  bool reaped = false;
  int status = 0;

  bool TryReap() {
    for (;;) {
      pid_t r = ::waitpid(pid, &status, WNOHANG);
      if (r == pid) return reaped = true;
      if (r == 0) return false;
      if (errno != EINTR) {
        status = -1;
        return reaped = true;
      }
    }
  }
  void Kill() { ::kill(-pid, SIGKILL); }
  void Reap() {
    while (!reaped) {
      pid_t r = ::waitpid(pid, &status, 0);
      if (r == pid || (r < 0 && errno != EINTR)) reaped = true;
    }
  }
  ~Child() {
    for (Stream& s : streams) s.Close();
    if (pidFd >= 0) ::close(pidFd);
    if (pid > 0 && !reaped) {
      Kill();
      Reap();
    }
    if (pid > 0) {
      std::erase(RunningShells(), pid);
      EndLeftovers();
    }
  }
};

// The inherited environment with PATH and the shell's own settings in place
// of their inherited values.
std::vector<std::string> CommandEnvironment(const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<std::string> env;
  auto isSet = [&](const char* entry) {
    if (std::strncmp(entry, "PATH=", 5) == 0) return true;
    for (const auto& [name, value] : settings)
      if (std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=') return true;
    return false;
  };
  for (char** e = environ; e && *e; ++e)
    if (!isSet(*e)) env.emplace_back(*e);
  env.push_back("PATH=" + CommandPath());
  for (const auto& [name, value] : settings) env.push_back(name + "=" + value);
  return env;
}

pid_t Spawn(const std::string& command, int stdoutFd, int stderrFd,
            const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<std::string> entries = CommandEnvironment(settings);
  std::vector<char*> env;
  for (std::string& entry : entries) env.push_back(entry.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
  // Descriptors that a library opened without close-on-exec stay ours.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  // Its own process group, so that a command that overruns is stopped with
  // all that stays in the group at once; the rest is adopted (AdoptOrphans).
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  std::string dashC = "-c";
  std::string sh = "sh";
  std::string line = command;
  char* argv[] = {sh.data(), dashC.data(), line.data(), nullptr};
  pid_t pid = -1;
  int err = ::posix_spawn(&pid, "/bin/sh", &actions, &attr, argv, env.data());
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) {
    Diagnose("cannot run /bin/sh: " + ErrorText(err));
    return -1;
  }
  return pid;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

void Shell::SetToolsFolder(const std::string& path) {
  std::error_code ec;
  auto absolute = path.empty() ? std::filesystem::path() : std::filesystem::absolute(path, ec);
  ToolsFolderSetting() = ec ? path : absolute.string();
}

std::string Shell::ToolsFolder() { return ToolsFolderSetting(); }

void Shell::StopAll() {
  for (pid_t shell : RunningShells()) {
    ::kill(-shell, SIGKILL);
    while (::waitpid(shell, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  RunningShells().clear();
  EndLeftovers();
}

void Shell::SetEnvironment(const std::string& name, const std::string& value) {
  for (auto& setting : environment_)
    if (setting.first == name) {
      setting.second = value;
      return;
    }
  environment_.emplace_back(name, value);
}

void Shell::Execute(const std::string& command) {
  output_.clear();
  errors_.clear();
  exitCode_ = -1;
  timedOut_ = false;

  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0) {
    Diagnose("cannot run a command: pipe: " + ErrorText(errno));
    return;
  }
  if (::pipe2(err, O_CLOEXEC) != 0) {
    Diagnose("cannot run a command: pipe: " + ErrorText(errno));
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  // The user's reactions wait for the command's end (EventGate.h).
  EventGate::CommandWait wait;
  Child child;
  child.streams[0] = {out[0], &output_, std::string().max_size()};
  child.streams[1] = {err[0], &errors_, kErrorsKept};
  AdoptOrphans();
  NoteForeignChildren();
  child.pid = Spawn(command, out[1], err[1], environment_);
  ::close(out[1]);
  ::close(err[1]);
  if (child.pid < 0) return;
  RunningShells().push_back(child.pid);
  for (Stream& s : child.streams) ::fcntl(s.fd, F_SETFL, O_NONBLOCK);
  child.pidFd = OpenPidFd(child.pid);

  using Clock = std::chrono::steady_clock;
  const bool limited = TimeOut > 0;
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::milliseconds(limited ? TimeOut : 0);
  const auto serveFrom = start + std::chrono::milliseconds(kDirectWaitMs);
  while (!child.reaped) {
    std::vector<int> watched;
    for (Stream& s : child.streams)
      if (s.fd >= 0) watched.push_back(s.fd);
    if (child.pidFd >= 0) watched.push_back(child.pidFd);
    // Rounded up: a wait rounded down to 0 ms would spin until the moment.
    const auto now = Clock::now();
    auto msUntil = [now](Clock::time_point t) -> long long {
      return std::chrono::ceil<std::chrono::milliseconds>(t - now).count();
    };
    auto atMost = [](long long timeout, long long limit) { return timeout < 0 ? limit : std::min(timeout, limit); };
    long long timeout = limited ? msUntil(deadline) : -1;
    // Without a pidfd the end of the command is only seen by asking.
    if (child.pidFd < 0) timeout = atMost(timeout, kAskSliceMs);
    const bool serve = HasBackend() && now >= serveFrom;
    if (HasBackend() && !serve) timeout = atMost(timeout, msUntil(serveFrom));
    timeout = std::max<long long>(0, timeout);
    if (serve) {
      CurrentBackend().ServeEvents(static_cast<int>(timeout), watched);
    } else {
      std::vector<pollfd> polled;
      for (int fd : watched) polled.push_back({fd, POLLIN, 0});
      if (::poll(polled.data(), polled.size(), static_cast<int>(timeout)) < 0 && errno != EINTR) break;
    }
    for (Stream& s : child.streams) s.Read();
    if (child.TryReap()) break;
    if (limited && Clock::now() >= deadline) {
      timedOut_ = true;
      child.Kill();
      break;
    }
  }
  child.Reap();
  // What the command wrote before it ended; a background process that still
  // holds a pipe does not keep us waiting.
  for (Stream& s : child.streams) s.Read();
  exitCode_ = child.status < 0 ? -1 : ExitCodeOf(child.status);

  if (timedOut_) Diagnose("stopped a command that ran over " + std::to_string(TimeOut) + " ms: " + command);
  if (!errors_.empty()) Diagnose(FirstLine(errors_));
}

}  // namespace fw
