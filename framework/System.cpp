#include "System.h"

#include <iostream>

#include "Application.h"
#include "Backend.h"
#include "FrameworkState.h"
#include "Runtime.h"

namespace fw {

int32_t System::MouseX() { return CurrentBackend().MousePosition().x; }

int32_t System::MouseY() { return CurrentBackend().MousePosition().y; }

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
  if (!CurrentBackend().OpenURL(url)) std::cerr << "ShowURL: the desktop could not open " << url << "\n";
}

void Quit(int32_t code) {
  detail::RuntimeState& state = detail::Runtime();
  // Closing the last window while quitting asks again; one Close event and
  // one exit code are all there is.
  if (state.quitting) return;
  state.quitting = true;
  state.exitCode = code;
  if (Application* app = Application::GetAppObject()) {
    Runtime::CallWithExceptionHandling([app] { app->Event_Close(); });
  }
  CurrentBackend().QuitEventLoop(code);
}

}  // namespace fw
