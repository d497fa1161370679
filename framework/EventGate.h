#pragma once
#include <functional>

// What may run while the program waits: while a shell command runs, and
// during start-up until the application's Open event has ended.
//
// - The program's reactions to the user (keys, menu commands, clicks, a
//   close request, a session's end) wait at the gate: they run later from
//   the event loop, one at a time and in the order they came, once nothing
//   waits. A quit asked for during start-up so comes after Open has read
//   the settings it would write.
// - A timer's tick may run while a command runs (the speech tick guards
//   itself, the capture keeps following the pointer), but never during
//   start-up and never inside its own action (Timer::Fire).
// - Windows keep painting; a window shown during start-up is put on screen
//   when start-up has ended, where Open has placed it.
namespace fw::EventGate {

// A shell command's wait, for as long as the object lives.
class CommandWait {
 public:
  CommandWait();
  ~CommandWait();
  CommandWait(const CommandWait&) = delete;
  CommandWait& operator=(const CommandWait&) = delete;
};

// Start-up, from the framework's initialisation to the end of Open.
void BeginStartup();
void EndStartup();
bool StartingUp();

// Runs f now when nothing waits and nothing is held before it; otherwise
// after the work held before it, from the event loop.
void RunWhenIdle(std::function<void()> f);

}  // namespace fw::EventGate
