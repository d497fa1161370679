#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Backend.h"

namespace fw {

// A backend without a display for tests: a virtual clock that fires timers
// only when the test advances it, a pointer and a main screen the test sets,
// and a record of what was asked of each window.
class TestBackend : public Backend {
 public:
  struct WindowRecord {
    bool exists = false;  // the native window is alive
    bool visible = false;
    bool minimized = false;
    int created = 0, destroyed = 0, shown = 0, hidden = 0, minimizedCount = 0, updated = 0;
    Point position;
  };

  // Virtual time in milliseconds since the backend was made.
  int64_t Now() const { return now_; }
  // Runs the work posted to the event loop, then moves the clock ms
  // forward, firing every timer that falls due on the way, in time order
  // (ties in the order the timers were started), each every period.
  void Advance(int64_t ms);
  // Runs the work posted to the event loop, in the order it came.
  void RunPosted();
  // A command's wait takes no virtual time and serves nothing, however long
  // the command runs; only the next wait runs f, once (to move the clock,
  // or to bring input that arrives while the command runs).
  void WhileNextCommandWaits(std::function<void()> f) { duringNextCommand_ = std::move(f); }
  // A command's wait in real time, serving nothing: until one of fds is
  // ready to read or ms milliseconds have passed (ms < 0: no limit).
  static void WaitReadable(int ms, const std::vector<int>& fds);

  // The pointer in points; device, when given, is what the desktop reports
  // as the device pixel under it.
  void SetMouse(int32_t x, int32_t y, std::optional<DevicePixel> device = std::nullopt) { mouse_ = {{x, y}, device}; }
  // A main screen at the origin of the desktop and no other screen.
  void SetMainScreen(int32_t width, int32_t height) {
    screen_ = {width, height};
    screens_ = {{0, 0, width, height}};
  }
  // These screens, the main screen first.
  void SetScreens(const std::vector<ScreenRect>& screens) {
    screens_ = screens;
    screen_ = screens.empty() ? ScreenInfo{} : ScreenInfo{screens[0].Width, screens[0].Height};
  }
  void SetScaleFactor(double factor) { scale_ = factor; }
  // While set, the scale query throws ObjCException.
  void SetScaleQueryFails(bool fails) { scaleFails_ = fails; }
  // What OpenURL answers (true: the desktop opened it).
  void SetOpenURLResult(bool opened) { openResult_ = opened; }
  // The longest stretch of virtual time RunEventLoop runs without a quit.
  void SetEventLoopLimit(int64_t ms) { loopLimit_ = ms; }

  // The record of w (an empty one for a window never seen).
  WindowRecord Record(const Window& w) const;
  int RefreshCount() const { return refreshes_; }
  int RefreshCount(const RectControl& c) const;
  const std::vector<std::string>& OpenedURLs() const { return urls_; }
  bool QuitRequested() const { return quitRequested_; }
  int QuitCode() const { return quitCode_; }
  // Whether t is scheduled, and at which period.
  bool TimerScheduled(const Timer& t) const { return timers_.count(&t) != 0; }
  int32_t TimerPeriod(const Timer& t) const;
  int ServeEventsCalls() const { return serveCalls_; }
  // How often the pointer position was asked for.
  int MouseQueries() const { return mouseQueries_; }
  int DestroyedWindows() const { return destroyedWindows_; }

  int RunEventLoop() override;
  void QuitEventLoop(int code) override;
  void ServeEvents(int ms, const std::vector<int>& wakeOn) override;
  void Post(std::function<void()> f) override;
  void CreateNativeWindow(Window& w) override;
  void DestroyNativeWindow(Window& w) override;
  void ShowWindow(Window& w) override;
  void HideWindow(Window& w) override;
  void MinimizeWindow(Window& w) override;
  Point WindowPosition(const Window& w) override;
  void MoveWindow(Window& w, int32_t left, int32_t top) override;
  void CentreWindow(Window& w) override;
  void UpdateWindow(Window& w) override;
  void RefreshControl(Window& w, RectControl& c) override;
  double ScaleFactor(const Window& w) override;
  void StartTimer(Timer& timer, int32_t periodMs) override;
  void StopTimer(Timer& timer) override;
  PointerPosition MousePosition() override {
    ++mouseQueries_;
    return mouse_;
  }
  ScreenInfo MainScreen() override { return screen_; }
  std::vector<ScreenRect> Screens() override { return screens_; }
  bool OpenURL(const std::string& url) override;

 private:
  struct Scheduled {
    int32_t period;
    int64_t due;
    uint64_t order;  // start order, for timers due at the same time
  };

  int64_t now_ = 0;
  std::function<void()> duringNextCommand_;
  std::deque<std::function<void()>> posted_;
  PointerPosition mouse_;
  ScreenInfo screen_{1440, 900};
  std::vector<ScreenRect> screens_{{0, 0, 1440, 900}};
  double scale_ = 1.0;
  bool scaleFails_ = false;
  bool openResult_ = true;
  int64_t loopLimit_ = 60000;
  bool quitRequested_ = false;
  int quitCode_ = 0;
  int refreshes_ = 0;
  int serveCalls_ = 0;
  int mouseQueries_ = 0;
  int destroyedWindows_ = 0;
  uint64_t nextOrder_ = 0;
  std::map<const Window*, WindowRecord> windows_;
  std::map<const RectControl*, int> controlRefreshes_;
  std::map<const Timer*, Scheduled> timers_;
  std::vector<std::string> urls_;
};

}  // namespace fw
