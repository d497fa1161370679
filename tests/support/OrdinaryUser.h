#pragma once
// Runs part of a test as an ordinary user. Root passes every permission
// check on files, so a test of "this process may not write that file" means
// nothing as root; a forked child that gives up root ("nobody") makes it
// honest. Without root the child is simply the test's own user.
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

namespace testfiles {

// The user the child runs as.
inline uid_t OrdinaryUid() { return ::geteuid() == 0 ? 65534 : ::geteuid(); }
inline gid_t OrdinaryGid() { return ::geteuid() == 0 ? 65534 : ::getegid(); }

// Gives path, and everything below it, to the ordinary user (no-op when the
// test is not root, as everything is its own already).
inline void GiveToOrdinaryUser(const std::string& path) {
  if (::geteuid() != 0) return;
  std::error_code ec;
  ::lchown(path.c_str(), OrdinaryUid(), OrdinaryGid());
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) return;
  for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    ::lchown(it->path().c_str(), OrdinaryUid(), OrdinaryGid());
}

// The child's exit status for "could not become the ordinary user".
inline constexpr int kCannotDropRoot = 125;

// Runs action in a child process as the ordinary user and gives back what it
// returns (0..123; 124 when it throws), or nullopt when the child could not give up root, so the
// caller can skip. The child never returns into the test framework.
inline std::optional<int> AsOrdinaryUser(const std::function<int()>& action) {
  std::fflush(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(OrdinaryGid()) != 0 || ::setuid(OrdinaryUid()) != 0))
      ::_exit(kCannotDropRoot);
    int result = 124;
    try {
      result = action();
    } catch (...) {
    }
    std::fflush(nullptr);
    ::_exit(result);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return 126;
  if (WEXITSTATUS(status) == kCannotDropRoot) return std::nullopt;
  return WEXITSTATUS(status);
}

}  // namespace testfiles
