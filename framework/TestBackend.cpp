#include "TestBackend.h"

#include <poll.h>

#include <algorithm>
#include <utility>

#include "Centring.h"
#include "Exceptions.h"
#include "Timer.h"
#include "Window.h"

namespace fw {

void TestBackend::RunPosted() {
  while (!posted_.empty()) {
    std::function<void()> f = std::move(posted_.front());
    posted_.pop_front();
    f();
  }
}

void TestBackend::Advance(int64_t ms) {
  RunPosted();
  const int64_t until = now_ + std::max<int64_t>(ms, 0);
  for (;;) {
    // The next timer due; searched afresh each time, since an Action may
    // start, stop or destroy timers (its own included).
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due > until) continue;
      if (next == timers_.end() || it->second.due < next->second.due ||
          (it->second.due == next->second.due && it->second.order < next->second.order)) {
        next = it;
      }
    }
    if (next == timers_.end()) break;
    Timer* timer = const_cast<Timer*>(next->first);
    now_ = std::max(now_, next->second.due);
    next->second.due += next->second.period;
    timer->Fire();
  }
  // An Action that served events may have moved the clock past the target.
  now_ = std::max(now_, until);
}

int TestBackend::RunEventLoop() {
  const int64_t end = now_ + loopLimit_;
  while (!quitRequested_ && now_ < end) Advance(std::min<int64_t>(10, end - now_));
  RunPosted();
  return quitRequested_ ? quitCode_ : -1;
}

void TestBackend::QuitEventLoop(int code) {
  quitRequested_ = true;
  quitCode_ = code;
}

void TestBackend::WaitReadable(int ms, const std::vector<int>& fds) {
  std::vector<pollfd> polled;
  for (int fd : fds) polled.push_back({fd, POLLIN, 0});
  ::poll(polled.data(), polled.size(), ms);
}

void TestBackend::ServeEvents(int ms, const std::vector<int>& wakeOn) {
  ++serveCalls_;
  // Virtual time moves only as the test says, whatever the real command takes.
  if (std::function<void()> f = std::exchange(duringNextCommand_, nullptr)) f();
  WaitReadable(ms, wakeOn);
}

void TestBackend::Post(std::function<void()> f) { posted_.push_back(std::move(f)); }

void TestBackend::CreateNativeWindow(Window& w) {
  WindowRecord record;
  record.exists = true;
  record.created = 1;
  record.position = {w.Left(), w.Top()};
  windows_[&w] = record;
}

void TestBackend::DestroyNativeWindow(Window& w) {
  WindowRecord& r = windows_[&w];
  r.exists = false;
  r.visible = false;
  ++r.destroyed;
  ++destroyedWindows_;
}

void TestBackend::ShowWindow(Window& w) {
  WindowRecord& r = windows_[&w];
  r.visible = true;
  r.minimized = false;
  ++r.shown;
}

void TestBackend::HideWindow(Window& w) {
  WindowRecord& r = windows_[&w];
  r.visible = false;
  ++r.hidden;
}

void TestBackend::MinimizeWindow(Window& w) {
  WindowRecord& r = windows_[&w];
  r.minimized = true;
  ++r.minimizedCount;
}

Point TestBackend::WindowPosition(const Window& w) {
  auto it = windows_.find(&w);
  return it == windows_.end() ? Point{} : it->second.position;
}

void TestBackend::MoveWindow(Window& w, int32_t left, int32_t top) { windows_[&w].position = {left, top}; }

// The test screen has no frames: the window's own area is centred.
void TestBackend::CentreWindow(Window& w) {
  windows_[&w].position = CentredOrigin({0, 0, screen_.Width, screen_.Height}, w.Width(), w.Height());
}

void TestBackend::UpdateWindow(Window& w) { ++windows_[&w].updated; }

void TestBackend::RefreshControl(Window& /*w*/, RectControl& c) {
  ++refreshes_;
  ++controlRefreshes_[&c];
}

double TestBackend::ScaleFactor(const Window& /*w*/) {
  if (scaleFails_) throw ObjCException("backingScaleFactor: the query failed");
  return scale_;
}

void TestBackend::StartTimer(Timer& timer, int32_t periodMs) {
  const int32_t period = std::max<int32_t>(periodMs, 1);
  timers_[&timer] = {period, now_ + period, nextOrder_++};
}

void TestBackend::StopTimer(Timer& timer) { timers_.erase(&timer); }

bool TestBackend::OpenURL(const std::string& url) {
  urls_.push_back(url);
  return openResult_;
}

TestBackend::WindowRecord TestBackend::Record(const Window& w) const {
  auto it = windows_.find(&w);
  return it == windows_.end() ? WindowRecord{} : it->second;
}

int TestBackend::RefreshCount(const RectControl& c) const {
  auto it = controlRefreshes_.find(&c);
  return it == controlRefreshes_.end() ? 0 : it->second;
}

int32_t TestBackend::TimerPeriod(const Timer& t) const {
  auto it = timers_.find(&t);
  return it == timers_.end() ? 0 : it->second.period;
}

}  // namespace fw
