#include "App.h"

#include "AboutWindow.h"
#include "PickerWindow.h"
#include "framework/Exceptions.h"

App::App() = default;

App* App::Instance() { return dynamic_cast<App*>(fw::Application::GetAppObject()); }

bool App::ViewTintbeacon_Action() {
  PickerWindow* window = PickerWindow::Instance();
  if (!window) throw fw::NilObjectException("no picker window");
  window->Show();
  return true;
}

bool App::AboutTintbeacon_Action() {
  AboutWindow::AboutWindow* window = AboutWindow::AboutWindow::Instance();
  if (!window) throw fw::NilObjectException("no About window");
  window->Show();
  return true;
}

// Both commands are always available, whatever window is in front.
void App::Event_EnableMenuItems() {
  fw::ApplicationMenuItem* about = AboutTintbeacon();
  if (!about) throw fw::NilObjectException("no menu item AboutTintbeacon");
  about->Enabled = true;
  fw::MenuItem* view = ViewTintbeacon();
  if (!view) throw fw::NilObjectException("no menu item ViewTintbeacon");
  view->Enabled = true;
}

namespace {

fw::MenuItem* LookupInAppMenuBar(const std::string& name) {
  App* app = App::Instance();
  if (!app) throw fw::NilObjectException("no application object");
  fw::MenuBar* bar = app->MenuBar();
  if (!bar) throw fw::NilObjectException("the application has no menu bar");
  return bar->Lookup(name);
}

}  // namespace

fw::MenuItem* ViewTintbeacon() { return LookupInAppMenuBar("ViewTintbeacon"); }

fw::ApplicationMenuItem* AboutTintbeacon() {
  return dynamic_cast<fw::ApplicationMenuItem*>(LookupInAppMenuBar("AboutTintbeacon"));
}
