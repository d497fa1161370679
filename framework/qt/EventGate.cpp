#include "EventGate.h"

#include <QTimer>
#include <utility>
#include <vector>

namespace fw::qt::EventGate {
namespace {

int depth = 0;
bool flushScheduled = false;

std::vector<std::function<void()>>& Pending() {
  static std::vector<std::function<void()>> pending;
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
  // Reached from a wait that started after the flush was scheduled: the end
  // of that wait schedules it again.
  if (depth > 0) return;
  auto work = std::exchange(Pending(), {});
  for (auto& f : work) f();
}

}  // namespace

bool Waiting() { return depth > 0; }

void EnterWait() { ++depth; }

void LeaveWait() {
  if (--depth == 0) ScheduleFlush();
}

void RunWhenIdle(std::function<void()> f) {
  if (depth == 0) {
    f();
    return;
  }
  Pending().push_back(std::move(f));
}

}  // namespace fw::qt::EventGate
