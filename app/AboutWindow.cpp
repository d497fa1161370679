#include "AboutWindow.h"

#include "App.h"
#include "TBIcon72.h"
#include "framework/Exceptions.h"
#include "framework/PropertyStream.h"
#include "framework/System.h"

namespace AboutWindow {

namespace {

constexpr const char* kClassName = "AboutWindow.AboutWindow";

template <class T>
T* ControlNamed(const fw::Window& window, const char* name) {
  T* control = dynamic_cast<T*>(window.ControlByName(name));
  if (!control) throw fw::NilObjectException(std::string("AboutWindow.AboutWindow has no control ") + name);
  return control;
}

}  // namespace

AboutWindow* AboutWindow::Instance() {
  if (fw::Window* existing = fw::Window::GetImplicitWindow(kClassName)) {
    auto* window = dynamic_cast<AboutWindow*>(existing);
    if (!window) throw fw::NilObjectException("the window registered as AboutWindow.AboutWindow is another class");
    return window;
  }
  // The framework's registration keeps the window until the application ends.
  auto* window = new AboutWindow;
  window->Constructor(kClassName);
  return window;
}

void AboutWindow::Event_Layout() { fw::SetProperties(*this, Streams::Window()); }

void AboutWindow::Event_CreateControls() { CreateControls0(); }

void AboutWindow::CreateControls0() {
  AddControl("AboutName", New<fw::Label>());
  AboutName()->TextSize = 18.0f;
  AboutName()->TextUnit = 0;
  fw::SetProperties(*AboutName(), Streams::AboutName());

  AddControl("AboutVersion", New<fw::Label>());
  AboutVersion()->Text = App::kVersion("");
  AboutVersion()->TextSize = 12.0f;
  AboutVersion()->TextUnit = 0;
  fw::SetProperties(*AboutVersion(), Streams::AboutVersion());

  AddControl("AboutVersionNumber", New<fw::Label>());
  AboutVersionNumber()->Text = App::kAppVersion("");
  AboutVersionNumber()->TextSize = 12.0f;
  AboutVersionNumber()->TextUnit = 0;
  fw::SetProperties(*AboutVersionNumber(), Streams::AboutVersionNumber());

  AddControl("CboutCopy", New<fw::Label>());
  CboutCopy()->TextSize = 12.0f;
  CboutCopy()->TextUnit = 0;
  fw::SetProperties(*CboutCopy(), Streams::CboutCopy());

  AddControl("AboutURL", New<fw::Label>());
  AboutURL()->TextSize = 12.0f;
  AboutURL()->TextUnit = 0;
  fw::SetProperties(*AboutURL(), Streams::AboutURL());
  AboutURL()->MouseDown = [this](fw::Label& label, int32_t x, int32_t y) { return AboutURL_MouseDown(label, x, y); };

  AddControl("Canvas1", New<fw::Canvas>());
  Canvas1()->Backdrop = TBIcon72();
  fw::SetProperties(*Canvas1(), Streams::Canvas1());
}

fw::Label* AboutWindow::AboutName() { return ControlNamed<fw::Label>(*this, "AboutName"); }
fw::Label* AboutWindow::AboutVersion() { return ControlNamed<fw::Label>(*this, "AboutVersion"); }
fw::Label* AboutWindow::AboutVersionNumber() { return ControlNamed<fw::Label>(*this, "AboutVersionNumber"); }
fw::Label* AboutWindow::CboutCopy() { return ControlNamed<fw::Label>(*this, "CboutCopy"); }
fw::Label* AboutWindow::AboutURL() { return ControlNamed<fw::Label>(*this, "AboutURL"); }
fw::Canvas* AboutWindow::Canvas1() { return ControlNamed<fw::Canvas>(*this, "Canvas1"); }

bool AboutWindow::AboutURL_MouseDown(fw::Label& label, int32_t /*x*/, int32_t /*y*/) {
  fw::ShowURL(label.Text);
  return false;
}

}  // namespace AboutWindow
