#pragma once
#include <functional>

namespace fw::qt {

// While a command runs, Shell serves events so that the window keeps painting
// and the timers keep ticking. Work that would re-enter the program in the
// middle of that command (a close request) is held back until the wait is
// over and then runs from the event loop.
namespace EventGate {
bool Waiting();
void EnterWait();
void LeaveWait();
// Runs f now, or from the event loop once no wait is in progress.
void RunWhenIdle(std::function<void()> f);
}  // namespace EventGate

}  // namespace fw::qt
