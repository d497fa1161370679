#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "System.h"

namespace fw {

class Window;

// State shared by the framework's own files; not for the program's code.
namespace detail {

// The event gate's state (EventGate.h).
struct GateState {
  int commands = 0;          // shell commands waited for, nested
  bool startingUp = false;   // from the framework's initialisation to the end of Open
  bool flushPosted = false;  // the held work is due to run from the event loop
  std::deque<std::function<void()>> held;
};

struct RuntimeState {
  bool quitting = false;  // Quit has run: a second request is ignored
  int exitCode = 0;       // the code given to Quit
  uint64_t dispatches = 0;  // event handlers entered so far
  // The y of the pointer query MouseX made, for the MouseY that follows it
  // within the same handler.
  bool pointerYKept = false;
  uint64_t pointerYDispatch = 0;
  int32_t pointerY = 0;
  // The device pixel of MouseX's query, for MouseDevicePixel within the
  // same handler.
  uint64_t pointerDeviceDispatch = 0;
  std::optional<DevicePixel> pointerDevice;
  GateState gate;
};
RuntimeState& Runtime();

// Live windows, the one in front first: a window moves to the front when it
// is shown or activated.
std::vector<Window*>& FrontOrder();
void BringToFront(Window& w);

// Puts on screen the windows whose showing waited for the end of start-up.
void ShowWindowsHeldAtStartup();

// Destroys every live window, newest first.
void DestroyAllWindows();
// Forgets the application object.
void ClearAppObject();

}  // namespace detail
}  // namespace fw
