#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace fw {

// A pixel of the X screen, in device pixels from its top-left corner.
struct DevicePixel {
  int32_t x = 0, y = 0;
  bool operator==(const DevicePixel&) const = default;
};

// The pointer and the user's language.
namespace System {
// Pointer position in global screen points; MouseY right after MouseX in
// the same handler answers from the same query.
int32_t MouseX();
int32_t MouseY();
// The device pixel under the pointer's hot spot, in global device pixels of
// the X screen, from the same query as the MouseX just before it in this
// handler; none when the desktop tells only points or MouseX was not asked.
std::optional<DevicePixel> MouseDevicePixel();
// The text of key in language (the empty code: the user's language, see
// UserLanguage); defaultText where the localisation data has
// none. Data lives in the resources folder as <lang>.strings, one
// "key = text" per line, UTF-8.
std::string GetLocalizedString(const std::string& key, const std::string& defaultText,
                               const std::string& language);
// The user's language code ("ja", "en", ...) as gettext finds it: the first
// entry of LANGUAGE with texts, unless the locale is C or POSIX; else the
// locale of LC_ALL, LC_MESSAGES or LANG; "en" by default.
std::string UserLanguage();
}  // namespace System

// Modifier keys as held while the current key event is handled.
namespace Keyboard {
bool ShiftKey();
bool OptionKey();  // Alt on the desktop
void SetState(bool shift, bool option);
}  // namespace Keyboard

struct ScreenInfo {
  int32_t Width = 0;   // points
  int32_t Height = 0;  // points
};
// A screen's place on the desktop, in global points.
struct ScreenRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
// Screen(0) is the main screen.
ScreenInfo Screen(int index);

// Asks the desktop to open url in the default browser.
void ShowURL(const std::string& url);
// Asks the application to quit: raises Application::Event_Close (not during
// start-up, before the application has opened), then the event loop returns.
void Quit(int32_t code = 0);

}  // namespace fw
