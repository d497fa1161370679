#include "EventGate.h"

#include <QTimer>
#include <deque>
#include <utility>

namespace fw::qt::EventGate {
namespace {

int depth = 0;
bool flushScheduled = false;

std::deque<std::function<void()>>& Pending() {
  static std::deque<std::function<void()>> pending;
  return pending;
}

void Flush();

void ScheduleFlush() {
  if (flushScheduled || Pending().empty()) return;
  flushScheduled = true;
  QTimer::singleShot(0, Flush);
}

void Flush() {
  flushScheduled = false;
  // One at a time, so that work queued meanwhile lines up behind the rest and
  // a wait started by one of them holds the others back again.
  while (depth == 0 && !Pending().empty()) {
    std::function<void()> f = std::move(Pending().front());
    Pending().pop_front();
    f();
  }
}

}  // namespace

bool Waiting() { return depth > 0; }

void EnterWait() { ++depth; }

void LeaveWait() {
  if (--depth == 0) ScheduleFlush();
}

void RunWhenIdle(std::function<void()> f) {
  if (depth == 0 && Pending().empty()) {
    f();
    return;
  }
  Pending().push_back(std::move(f));
  if (depth == 0) ScheduleFlush();
}

}  // namespace fw::qt::EventGate
