// The picker window: its accessor, its layout and its eight controls.
#include "picker/Main.h"

#include "app/MainMenuBar.h"
#include "framework/Exceptions.h"
#include "framework/PropertyStream.h"
#include "picker/MainLayout.h"

namespace Main {

namespace {

// The control registered in window under name, as class T.
template <class T>
T* ControlNamed(const fw::Window& window, const char* name) {
  T* control = dynamic_cast<T*>(window.ControlByName(name));
  if (!control) throw fw::NilObjectException(std::string("Main.Main has no control ") + name);
  return control;
}

}  // namespace

Main* Main::Instance() {
  if (fw::Window* existing = fw::Window::GetImplicitWindow("Main.Main")) return static_cast<Main*>(existing);
  // The framework's registration is the one record of the window; it lives
  // until the application ends.
  Main* window = new Main;
  window->Constructor("Main.Main");
  return window;
}

void Main::ServeApp() {
  PickerWindow::SetAccessor([]() -> PickerWindow* { return Instance(); });
}

void Main::Event_Layout() {
  SetMenuBar(MainMenuBar::MainMenuBar::Instance());
  fw::SetProperties(*this, MainLayout::Window());
}

void Main::Event_CreateControls() { CreateControls0(); }

void Main::CreateControls0() {
  AddControl("Viewer", New<fw::Canvas>());
  fw::SetProperties(*Viewer(), MainLayout::Viewer());

  AddControl("LocationBG", New<fw::Rectangle>());
  fw::SetProperties(*LocationBG(), MainLayout::LocationBG());

  AddControl("LocLabel", New<fw::Label>());
  LocLabel()->TextUnit = 0;
  LocLabel()->TextSize = 11.0f;
  fw::SetProperties(*LocLabel(), MainLayout::LocLabel());

  AddControl("GetPicture", New<fw::Timer>());
  fw::SetProperties(*GetPicture(), MainLayout::GetPicture());
  GetPicture()->Action = [this](fw::Timer& timer) { GetPicture_Action(timer); };

  AddControl("CurrentColorRect", New<fw::Rectangle>());
  fw::SetProperties(*CurrentColorRect(), MainLayout::CurrentColorRect());

  AddControl("ColorLabel", New<fw::Label>());
  ColorLabel()->TextUnit = 0;
  ColorLabel()->TextSize = 12.0f;
  fw::SetProperties(*ColorLabel(), MainLayout::ColorLabel());

  AddControl("NameLabel", New<fw::Label>());
  NameLabel()->TextUnit = 0;
  NameLabel()->TextSize = 12.0f;
  fw::SetProperties(*NameLabel(), MainLayout::NameLabel());

  AddControl("SayColor", New<fw::Timer>());
  fw::SetProperties(*SayColor(), MainLayout::SayColor());
  SayColor()->Action = [this](fw::Timer& timer) { SayColor_Action(timer); };
}

fw::Canvas* Main::Viewer() { return ControlNamed<fw::Canvas>(*this, "Viewer"); }
fw::Rectangle* Main::LocationBG() { return ControlNamed<fw::Rectangle>(*this, "LocationBG"); }
fw::Label* Main::LocLabel() { return ControlNamed<fw::Label>(*this, "LocLabel"); }
fw::Timer* Main::GetPicture() { return ControlNamed<fw::Timer>(*this, "GetPicture"); }
fw::Rectangle* Main::CurrentColorRect() { return ControlNamed<fw::Rectangle>(*this, "CurrentColorRect"); }
fw::Label* Main::ColorLabel() { return ControlNamed<fw::Label>(*this, "ColorLabel"); }
fw::Label* Main::NameLabel() { return ControlNamed<fw::Label>(*this, "NameLabel"); }
fw::Timer* Main::SayColor() { return ControlNamed<fw::Timer>(*this, "SayColor"); }

}  // namespace Main
