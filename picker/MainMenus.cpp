// The picker window's menu commands and the menu state they are shown with.
#include <span>
#include <string>

#include "app/App.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "picker/Main.h"
#include "picker/TheApp.h"

namespace Main {

namespace {

// The item of that name in the window's menu bar, of class T. Searched afresh
// at every call: the tree is the menu bar's, not ours.
template <class T>
T* FindItem(const fw::Window& window, const char* name) {
  fw::MenuBar* bar = window.MenuBar();
  if (bar == nullptr) throw fw::NilObjectException("the picker window has no menu bar");
  T* item = dynamic_cast<T*>(bar->Lookup(name));
  if (item == nullptr) throw fw::NilObjectException(std::string("no menu item ") + name + " of its class");
  return item;
}

// The next capture tick then finds the pointer "moved" and redraws with the
// new setting.
void RequestRedraw(Main& window) {
  window.MouseX = -1;
  window.MouseY = -1;
}

bool SetAndRedraw(Main& window, std::string App::*setting, const char* value) {
  TheApp().*setting = value;
  RequestRedraw(window);
  return true;
}

struct Command {
  const char* itemName;
  bool (Main::*handler)();
};

// Registration order of the commands.
constexpr Command kCommands[] = {
    {"ViewLanguageJa", &Main::ViewLanguageJa_Action},
    {"ViewLanguageEn", &Main::ViewLanguageEn_Action},
    {"ViewLineColorBlack", &Main::ViewLineColorBlack_Action},
    {"ViewLineColorWhite", &Main::ViewLineColorWhite_Action},
    {"ViewLineColorRed", &Main::ViewLineColorRed_Action},
    {"ViewLineColorGreen", &Main::ViewLineColorGreen_Action},
    {"ViewLineColorBlue", &Main::ViewLineColorBlue_Action},
    {"ViewShowMouseLocation", &Main::ViewShowMouseLocation_Action},
    {"ViewWindowMinimize", &Main::ViewWindowMinimize_Action},
    {"ViewLineColorNone", &Main::ViewLineColorNone_Action},
    {"ViewModeRGB", &Main::ViewModeRGB_Action},
    {"ViewModeCMYK", &Main::ViewModeCMYK_Action},
    {"ViewModeHLS", &Main::ViewModeHLS_Action},
    {"EditStartSpeaking", &Main::EditStartSpeaking_Action},
    {"EditStopSpeaking", &Main::EditStopSpeaking_Action},
};

// An item of a group of alternatives and the setting value it stands for.
struct Choice {
  const char* value;
  fw::MenuItem* (Main::*item)();
};

// Compared in this order; the first equal value is the one checked.
constexpr Choice kGridColors[] = {
    {"Black", &Main::ViewLineColorBlack}, {"White", &Main::ViewLineColorWhite}, {"Red", &Main::ViewLineColorRed},
    {"Green", &Main::ViewLineColorGreen}, {"Blue", &Main::ViewLineColorBlue},   {"None", &Main::ViewLineColorNone},
};

constexpr Choice kModes[] = {
    {"RGB", &Main::ViewModeRGB},
    {"CMYK", &Main::ViewModeCMYK},
    {"HLS", &Main::ViewModeHLS},
};

// Enables the group, clears its marks and checks the item of the setting's
// value; a value of none of them (a damaged preferences file) checks nothing.
void ShowChoice(Main& window, std::span<const Choice> group, const std::string& setting) {
  for (const Choice& c : group) (window.*c.item)()->Enabled = true;
  for (const Choice& c : group) (window.*c.item)()->Checked = false;
  for (const Choice& c : group) {
    if (fw::StrEq(setting, c.value)) {
      (window.*c.item)()->Checked = true;
      return;
    }
  }
}

}  // namespace

fw::MenuItem* Main::View() { return FindItem<fw::MenuItem>(*this, "View"); }
fw::MenuItem* Main::ViewTintbeacon() { return FindItem<fw::MenuItem>(*this, "ViewTintbeacon"); }
fw::MenuItem* Main::UntitledSeparator0() { return FindItem<fw::MenuItem>(*this, "UntitledSeparator0"); }
fw::MenuItem* Main::ViewWindowMinimize() { return FindItem<fw::MenuItem>(*this, "ViewWindowMinimize"); }
fw::MenuItem* Main::UntitledSeparator() { return FindItem<fw::MenuItem>(*this, "UntitledSeparator"); }
fw::MenuItem* Main::ViewShowMouseLocation() { return FindItem<fw::MenuItem>(*this, "ViewShowMouseLocation"); }
fw::MenuItem* Main::ViewMode() { return FindItem<fw::MenuItem>(*this, "ViewMode"); }
fw::MenuItem* Main::ViewModeHLS() { return FindItem<fw::MenuItem>(*this, "ViewModeHLS"); }
fw::MenuItem* Main::ViewModeCMYK() { return FindItem<fw::MenuItem>(*this, "ViewModeCMYK"); }
fw::MenuItem* Main::ViewModeRGB() { return FindItem<fw::MenuItem>(*this, "ViewModeRGB"); }
fw::MenuItem* Main::ViewLineColor() { return FindItem<fw::MenuItem>(*this, "ViewLineColor"); }
fw::MenuItem* Main::ViewLineColorBlue() { return FindItem<fw::MenuItem>(*this, "ViewLineColorBlue"); }
fw::MenuItem* Main::ViewLineColorGreen() { return FindItem<fw::MenuItem>(*this, "ViewLineColorGreen"); }
fw::MenuItem* Main::ViewLineColorRed() { return FindItem<fw::MenuItem>(*this, "ViewLineColorRed"); }
fw::MenuItem* Main::ViewLineColorWhite() { return FindItem<fw::MenuItem>(*this, "ViewLineColorWhite"); }
fw::MenuItem* Main::ViewLineColorBlack() { return FindItem<fw::MenuItem>(*this, "ViewLineColorBlack"); }
fw::MenuItem* Main::ViewLineColorNone() { return FindItem<fw::MenuItem>(*this, "ViewLineColorNone"); }
fw::MenuItem* Main::ViewLanguage() { return FindItem<fw::MenuItem>(*this, "ViewLanguage"); }
fw::MenuItem* Main::ViewLanguageJa() { return FindItem<fw::MenuItem>(*this, "ViewLanguageJa"); }
fw::MenuItem* Main::ViewLanguageEn() { return FindItem<fw::MenuItem>(*this, "ViewLanguageEn"); }
fw::MenuItem* Main::EditMenu() { return FindItem<fw::MenuItem>(*this, "EditMenu"); }
fw::ApplicationMenuItem* Main::AboutTintbeacon() { return FindItem<fw::ApplicationMenuItem>(*this, "AboutTintbeacon"); }
fw::QuitMenuItem* Main::FileQuit() { return FindItem<fw::QuitMenuItem>(*this, "FileQuit"); }
fw::MenuItem* Main::EditSpeech() { return FindItem<fw::MenuItem>(*this, "EditSpeech"); }
fw::MenuItem* Main::EditStopSpeaking() { return FindItem<fw::MenuItem>(*this, "EditStopSpeaking"); }
fw::MenuItem* Main::EditStartSpeaking() { return FindItem<fw::MenuItem>(*this, "EditStartSpeaking"); }
fw::MenuItem* Main::UntitledSeparator1() { return FindItem<fw::MenuItem>(*this, "UntitledSeparator1"); }
fw::MenuItem* Main::EditSelectAll() { return FindItem<fw::MenuItem>(*this, "EditSelectAll"); }
fw::MenuItem* Main::EditSeparator2() { return FindItem<fw::MenuItem>(*this, "EditSeparator2"); }
fw::MenuItem* Main::EditClear() { return FindItem<fw::MenuItem>(*this, "EditClear"); }
fw::MenuItem* Main::EditPaste() { return FindItem<fw::MenuItem>(*this, "EditPaste"); }
fw::MenuItem* Main::EditCopy() { return FindItem<fw::MenuItem>(*this, "EditCopy"); }
fw::MenuItem* Main::EditCut() { return FindItem<fw::MenuItem>(*this, "EditCut"); }
fw::MenuItem* Main::EditSeparator1() { return FindItem<fw::MenuItem>(*this, "EditSeparator1"); }
fw::MenuItem* Main::EditUndo() { return FindItem<fw::MenuItem>(*this, "EditUndo"); }

void Main::Event_AddMenuHandlers() {
  for (const Command& c : kCommands) {
    AddMenuHandler(c.itemName, [this, handler = c.handler] { return (this->*handler)(); });
  }
}

bool Main::ViewLanguageJa_Action() { return SetAndRedraw(*this, &App::SelectedLang, "ja"); }
bool Main::ViewLanguageEn_Action() { return SetAndRedraw(*this, &App::SelectedLang, "en"); }
bool Main::ViewLineColorBlack_Action() { return SetAndRedraw(*this, &App::SelectedColor, "Black"); }
bool Main::ViewLineColorWhite_Action() { return SetAndRedraw(*this, &App::SelectedColor, "White"); }
bool Main::ViewLineColorRed_Action() { return SetAndRedraw(*this, &App::SelectedColor, "Red"); }
bool Main::ViewLineColorGreen_Action() { return SetAndRedraw(*this, &App::SelectedColor, "Green"); }
bool Main::ViewLineColorBlue_Action() { return SetAndRedraw(*this, &App::SelectedColor, "Blue"); }
bool Main::ViewLineColorNone_Action() { return SetAndRedraw(*this, &App::SelectedColor, "None"); }
bool Main::ViewModeRGB_Action() { return SetAndRedraw(*this, &App::ColorMode, "RGB"); }
bool Main::ViewModeCMYK_Action() { return SetAndRedraw(*this, &App::ColorMode, "CMYK"); }
bool Main::ViewModeHLS_Action() { return SetAndRedraw(*this, &App::ColorMode, "HLS"); }

bool Main::ViewShowMouseLocation_Action() {
  App& app = TheApp();
  app.SelectedMouseLoc = !app.SelectedMouseLoc;
  RequestRedraw(*this);
  return true;
}

bool Main::ViewWindowMinimize_Action() {
  Instance()->Minimize();
  return true;
}

bool Main::EditStartSpeaking_Action() {
  TheApp().PlaySound = true;
  SayColor()->SetMode(fw::Timer::ModeMultiple);
  return true;
}

bool Main::EditStopSpeaking_Action() {
  TheApp().PlaySound = false;
  SayColor()->SetMode(fw::Timer::ModeOff);
  return true;
}

void Main::Event_EnableMenuItems() {
  App& app = TheApp();

  ViewLanguageEn()->Enabled = true;
  ViewLanguageJa()->Enabled = true;
  // Any other language ("" before the first capture tick) leaves the marks
  // as they were.
  if (fw::StrEq(app.SelectedLang, "en")) {
    ViewLanguageEn()->Checked = true;
    ViewLanguageJa()->Checked = false;
  } else if (fw::StrEq(app.SelectedLang, "ja")) {
    ViewLanguageEn()->Checked = false;
    ViewLanguageJa()->Checked = true;
  }

  ShowChoice(*this, kGridColors, app.SelectedColor);

  ViewShowMouseLocation()->Enabled = true;
  ViewShowMouseLocation()->Checked = app.SelectedMouseLoc;

  ShowChoice(*this, kModes, app.ColorMode);

  if (app.PlaySound) {
    EditStartSpeaking()->Enabled = false;
    EditStartSpeaking()->Checked = true;
    EditStopSpeaking()->Enabled = true;
  } else {
    EditStartSpeaking()->Enabled = true;
    EditStopSpeaking()->Enabled = false;
    EditStartSpeaking()->Checked = false;
  }

  ViewWindowMinimize()->Enabled = true;
}

}  // namespace Main
