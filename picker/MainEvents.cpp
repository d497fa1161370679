// The picker window's own events: close, move, activate and the Tab keys.
#include <span>
#include <string>

#include "app/App.h"
#include "framework/System.h"
#include "framework/Text.h"
#include "picker/Main.h"
#include "picker/TheApp.h"

namespace Main {

namespace {

struct Step {
  const char* from;
  const char* to;
};

// Shift+Tab walks the grid colours in the order of the Grid Color submenu.
constexpr Step kGridColorCycle[] = {
    {"None", "Black"}, {"Black", "White"}, {"White", "Red"}, {"Red", "Green"}, {"Green", "Blue"}, {"Blue", "None"},
};

// Option+Tab walks the notations in the order of the Mode submenu.
constexpr Step kModeCycle[] = {{"RGB", "CMYK"}, {"CMYK", "HLS"}, {"HLS", "RGB"}};

constexpr Step kLanguageCycle[] = {{"ja", "en"}, {"en", "ja"}};

constexpr int32_t kTab = 9;

// A value found in no row (a damaged preferences file) stays as it is.
void Advance(std::string& value, std::span<const Step> cycle) {
  for (const Step& step : cycle) {
    if (fw::StrEq(value, step.from)) {
      value = step.to;
      return;
    }
  }
}

// The preferences file keeps the position the window had last.
void RememberPosition(const fw::Window& window) {
  App& app = TheApp();
  app.MainTop = window.Top();
  app.MainLeft = window.Left();
}

}  // namespace

void Main::Event_Close() { fw::Quit(0); }

void Main::Event_Moved() { RememberPosition(*this); }

void Main::Event_Activate() { RememberPosition(*this); }

bool Main::Event_KeyDown(const std::string& key) {
  if (fw::Asc(key) != kTab) return false;
  App& app = TheApp();
  if (fw::Keyboard::ShiftKey()) {
    Advance(app.SelectedColor, kGridColorCycle);
  } else if (fw::Keyboard::OptionKey()) {
    Advance(app.ColorMode, kModeCycle);
  } else {
    Advance(app.SelectedLang, kLanguageCycle);
  }
  // Redraw even when the setting did not change, as the menu commands do.
  MouseX = -1;
  MouseY = -1;
  // Tab is never reported as handled.
  return false;
}

}  // namespace Main
