#include "Shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "Backend.h"

extern char** environ;

namespace fw {

namespace {

// How long the wait goes without serving the desktop's events.
constexpr int kServeSliceMs = 5;

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

// Reads what the pipe holds now; false once the write end is closed.
bool Drain(int fd, std::string& out) {
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      return false;
    } else if (errno == EINTR) {
      continue;
    } else {
      return errno == EAGAIN || errno == EWOULDBLOCK;
    }
  }
}

// The child and its descriptors; whatever way the wait ends (an event
// handler may throw while events are served), the child is reaped and
// nothing stays open.
struct Child {
  pid_t pid = -1;
  int pipeFd = -1;
  int pidFd = -1;
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
  void Reap() {
    while (!reaped) {
      pid_t r = ::waitpid(pid, &status, 0);
      if (r == pid || (r < 0 && errno != EINTR)) reaped = true;
    }
  }
  ~Child() {
    if (pipeFd >= 0) ::close(pipeFd);
    if (pidFd >= 0) ::close(pidFd);
    if (pid > 0) Reap();
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

pid_t Spawn(const std::string& command, int stdoutFd,
            const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<std::string> entries = CommandEnvironment(settings);
  std::vector<char*> env;
  for (std::string& entry : entries) env.push_back(entry.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
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
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string dashC = "-c";
  std::string sh = "sh";
  std::string line = command;
  char* argv[] = {sh.data(), dashC.data(), line.data(), nullptr};
  pid_t pid = -1;
  int err = ::posix_spawn(&pid, "/bin/sh", &actions, &attr, argv, env.data());
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) {
    std::fprintf(stderr, "tintbeacon: cannot run /bin/sh: %s\n", std::strerror(err));
    return -1;
  }
  return pid;
}

}  // namespace

void Shell::SetToolsFolder(const std::string& path) {
  std::error_code ec;
  auto absolute = path.empty() ? std::filesystem::path() : std::filesystem::absolute(path, ec);
  ToolsFolderSetting() = ec ? path : absolute.string();
}

std::string Shell::ToolsFolder() { return ToolsFolderSetting(); }

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
  exitCode_ = -1;

  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    std::fprintf(stderr, "tintbeacon: cannot run a command: pipe: %s\n", std::strerror(errno));
    return;
  }
  Child child;
  child.pipeFd = fds[0];
  child.pid = Spawn(command, fds[1], environment_);
  ::close(fds[1]);
  if (child.pid < 0) return;
  ::fcntl(child.pipeFd, F_SETFL, O_NONBLOCK);
  child.pidFd = OpenPidFd(child.pid);

  using Clock = std::chrono::steady_clock;
  auto nextServe = Clock::now() + std::chrono::milliseconds(kServeSliceMs);
  while (!child.reaped) {
    pollfd watched[2];
    nfds_t count = 0;
    if (child.pipeFd >= 0) watched[count++] = {child.pipeFd, POLLIN, 0};
    if (child.pidFd >= 0) watched[count++] = {child.pidFd, POLLIN, 0};
    int timeout = kServeSliceMs;
    if (HasBackend()) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(nextServe - Clock::now()).count();
      timeout = static_cast<int>(std::max<long long>(0, left));
    } else if (child.pidFd >= 0) {
      timeout = -1;
    }
    // Without a pidfd the end of the command is only seen by asking.
    if (child.pidFd < 0 && child.pipeFd < 0) timeout = std::min(timeout, 1);
    int ready = ::poll(watched, count, timeout);
    if (ready < 0 && errno != EINTR) break;
    if (child.pipeFd >= 0 && !Drain(child.pipeFd, output_)) {
      ::close(child.pipeFd);
      child.pipeFd = -1;
    }
    if (child.TryReap()) break;
    if (HasBackend() && Clock::now() >= nextServe) {
      CurrentBackend().ServeEvents(kServeSliceMs);
      nextServe = Clock::now() + std::chrono::milliseconds(kServeSliceMs);
    }
  }
  child.Reap();
  // What the command printed before it ended; a background process that
  // still holds the pipe does not keep us waiting.
  if (child.pipeFd >= 0) Drain(child.pipeFd, output_);
  exitCode_ = child.status < 0 ? -1 : ExitCodeOf(child.status);
}

}  // namespace fw
