#pragma once
#include <functional>

namespace fw::qt {

// While a command runs, Shell serves every event so that the window keeps
// painting, the timers keep ticking and the toolkit keeps track of the keys
// held. The program's reactions to the user (keys, menu commands, clicks, a
// close request, a session's end) are held back until the wait is over and
// then run from the event loop in the order they came.
namespace EventGate {
bool Waiting();
void EnterWait();
void LeaveWait();
// Runs f now when no wait is in progress and nothing waits before it;
// otherwise after the work held back before it.
void RunWhenIdle(std::function<void()> f);
}  // namespace EventGate

}  // namespace fw::qt
