#pragma once
#include "framework/Timer.h"
#include "framework/Window.h"

// The picker window as the application object needs it: shown by View >
// Tintbeacon, placed and given its speech timer's mode from the settings.
// The window itself is built in the picker library, which builds on this
// one; the program hands over its accessor (SetAccessor) where both are
// known, before start-up.
class PickerWindow : public fw::Window {
 public:
  // The timer that speaks the colour's name.
  virtual fw::Timer* SayColor() = 0;

  // The one picker window, made on the first call by the accessor handed
  // over; nullptr when none was.
  static PickerWindow* Instance();
  using Accessor = PickerWindow* (*)();
  static void SetAccessor(Accessor accessor);
};
