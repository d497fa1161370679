#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "System.h"

namespace fw {

class Window;
class Timer;
class MenuBar;
class RectControl;

struct Point {
  int32_t x = 0, y = 0;
};

// The pointer in points, and the device pixel under its hot spot where the
// desktop tells it (read in the same query, so both agree).
struct PointerPosition {
  Point points;
  std::optional<DevicePixel> device;
};

// The native side of the framework. Two implementations: the test backend
// (virtual clock, settable pointer and screen) and the desktop backend over
// Qt. All calls happen on the user-interface thread.
class Backend {
 public:
  virtual ~Backend() = default;

  // Runs the event loop until QuitEventLoop; returns its exit code.
  virtual int RunEventLoop() = 0;
  virtual void QuitEventLoop(int code) = 0;
  // Serves window events and timers as they come until one of wakeOn (file
  // descriptors) is ready to read or ms milliseconds have passed (ms < 0: no
  // limit). Shell calls it while it waits for a command, with the command's
  // pipes and end, so that the wait wakes only for what it serves.
  virtual void ServeEvents(int ms, const std::vector<int>& wakeOn) = 0;
  // Runs f from the event loop soon, after what is already pending.
  virtual void Post(std::function<void()> f) = 0;

  // Windows: the native window of w, in w's size, title and position.
  virtual void CreateNativeWindow(Window& w) = 0;
  virtual void DestroyNativeWindow(Window& w) = 0;
  virtual void ShowWindow(Window& w) = 0;
  virtual void HideWindow(Window& w) = 0;
  virtual void MinimizeWindow(Window& w) = 0;
  // Global position of the window (its frame's top-left), in points.
  virtual Point WindowPosition(const Window& w) = 0;
  virtual void MoveWindow(Window& w, int32_t left, int32_t top) = 0;
  // Places w, not yet shown, so that it shows in the middle of the main
  // screen: its frame, where the desktop tells how far the frame reaches.
  virtual void CentreWindow(Window& w) = 0;
  // Size, title or menu bar changed.
  virtual void UpdateWindow(Window& w) = 0;
  // Repaints one control of a window.
  virtual void RefreshControl(Window& w, RectControl& c) = 0;
  // Device pixels per point; throws ObjCException when it cannot be read.
  virtual double ScaleFactor(const Window& w) = 0;

  // Timers: the backend calls timer.Fire() every periodMs until stopped.
  virtual void StartTimer(Timer& timer, int32_t periodMs) = 0;
  virtual void StopTimer(Timer& timer) = 0;

  virtual PointerPosition MousePosition() = 0;
  virtual ScreenInfo MainScreen() = 0;
  // Every screen, the main screen first.
  virtual std::vector<ScreenRect> Screens() = 0;
  // Returns false when the desktop could not open it.
  virtual bool OpenURL(const std::string& url) = 0;
};

// The backend in use; the program installs one before anything else. The
// caller owns it and keeps it alive while it is installed: a desktop backend
// must end before its toolkit's teardown, never at static destruction.
void SetBackend(Backend* backend);
Backend& CurrentBackend();
bool HasBackend();

}  // namespace fw
