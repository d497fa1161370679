#include "EventGate.h"

#include <utility>

#include "Backend.h"
#include "FrameworkState.h"
#include "Runtime.h"

namespace fw::EventGate {
namespace {

detail::GateState& Gate() { return detail::Runtime().gate; }

bool Waiting() { return Gate().commands > 0 || Gate().startingUp; }

void Flush() {
  Gate().flushPosted = false;
  // One at a time, so that work held meanwhile lines up behind the rest and
  // a wait started by one of them holds the others back again.
  while (!Waiting() && !Gate().held.empty()) {
    std::function<void()> f = std::move(Gate().held.front());
    Gate().held.pop_front();
    Runtime::CallWithExceptionHandling(f);
  }
}

void PostFlush() {
  if (Gate().flushPosted || Gate().held.empty() || Waiting() || !HasBackend()) return;
  Gate().flushPosted = true;
  CurrentBackend().Post(Flush);
}

}  // namespace

CommandWait::CommandWait() { ++Gate().commands; }

CommandWait::~CommandWait() {
  --Gate().commands;
  PostFlush();
}

void BeginStartup() { Gate().startingUp = true; }

void EndStartup() {
  Gate().startingUp = false;
  PostFlush();
}

bool StartingUp() { return Gate().startingUp; }

void RunWhenIdle(std::function<void()> f) {
  if (!Waiting() && Gate().held.empty()) {
    Runtime::CallWithExceptionHandling(f);
    return;
  }
  Gate().held.push_back(std::move(f));
  PostFlush();
}

}  // namespace fw::EventGate
