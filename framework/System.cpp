#include "System.h"

#include "Application.h"
#include "Backend.h"
#include "Diagnostics.h"
#include "EventGate.h"
#include "FrameworkState.h"
#include "Runtime.h"

namespace fw {

// A handler that asks MouseX and then MouseY gets both from one query of
// the desktop (a round trip to the display server): MouseX keeps the y it
// was given for the next MouseY, as long as no other handler ran between.
int32_t System::MouseX() {
  const PointerPosition p = CurrentBackend().MousePosition();
  detail::RuntimeState& state = detail::Runtime();
  state.pointerYKept = true;
  state.pointerYDispatch = state.dispatches;
  state.pointerY = p.points.y;
  state.pointerDeviceDispatch = state.dispatches;
  state.pointerDevice = p.device;
  return p.points.x;
}

int32_t System::MouseY() {
  detail::RuntimeState& state = detail::Runtime();
  if (state.pointerYKept && state.pointerYDispatch == state.dispatches) {
    state.pointerYKept = false;
    return state.pointerY;
  }
  return CurrentBackend().MousePosition().points.y;
}

std::optional<DevicePixel> System::MouseDevicePixel() {
  const detail::RuntimeState& state = detail::Runtime();
  if (state.pointerDeviceDispatch != state.dispatches) return std::nullopt;
  return state.pointerDevice;
}

namespace {
struct KeyState {
  bool shift = false, option = false;
};
KeyState& Keys() {
  static KeyState keys;
  return keys;
}
}  // namespace

bool Keyboard::ShiftKey() { return Keys().shift; }
bool Keyboard::OptionKey() { return Keys().option; }
void Keyboard::SetState(bool shift, bool option) { Keys() = {shift, option}; }

// Only the main screen is known; other indices give an empty screen.
ScreenInfo Screen(int index) { return index == 0 ? CurrentBackend().MainScreen() : ScreenInfo{}; }

void ShowURL(const std::string& url) {
  if (!CurrentBackend().OpenURL(url)) Diagnose("the desktop could not open " + url);
}

void Quit(int32_t code) {
  detail::RuntimeState& state = detail::Runtime();
  // Closing the last window while quitting asks again; one Close event and
  // one exit code are all there is.
  if (state.quitting) return;
  state.quitting = true;
  state.exitCode = code;
  // An application that has not opened yet has read no settings and changed
  // none: closing it would only write defaults over the saved ones.
  Application* app = Application::GetAppObject();
  if (app && !EventGate::StartingUp()) Runtime::CallWithExceptionHandling([app] { app->Event_Close(); });
  CurrentBackend().QuitEventLoop(code);
}

}  // namespace fw
