#include "Startup.h"

#include <exception>
#include <memory>

#include "App.h"
#include "MainMenuBar.h"
#include "PickerWindow.h"
#include "framework/Exceptions.h"
#include "framework/Runtime.h"

namespace Startup {

namespace {

// The application object lives from early start-up to finalize.
std::unique_ptr<App>& AppObject() {
  static std::unique_ptr<App> app;
  return app;
}

App& RegisteredApp() {
  App* app = App::Instance();
  if (!app) throw fw::NilObjectException("no application object");
  return *app;
}

}  // namespace

int Run() {
  fw::Runtime::Init();
  initialize();
  Main();
  finalize();
  return fw::Runtime::Exit();
}

void initialize() {}

void Main() {
  try {
    EarlyStartup();
    fw::Runtime::RunFrameworkInitialization(LateStartup);
    fw::Runtime::Run();
  } catch (const std::exception& e) {
    fw::Runtime::UnhandledException(e);
  } catch (...) {
    fw::Runtime::UnhandledException(fw::RuntimeException("an exception of unknown class"));
  }
}

void EarlyStartup() {
  InitFileTypes();
  NewAppInstance();
  ApplicationAddMenuHandlers();
}

void InitFileTypes() {}

void NewAppInstance() {
  auto app = std::make_unique<App>();
  app->SetMenuBar(MainMenuBar::MainMenuBar::Instance());
  fw::Application::RegisterAppObject(app.get());
  AppObject() = std::move(app);
}

void ApplicationAddMenuHandlers() {
  App& app = RegisteredApp();
  app.AddMenuHandler("ViewTintbeacon", [&app] { return app.ViewTintbeacon_Action(); });
  app.AddMenuHandler("AboutTintbeacon", [&app] { return app.AboutTintbeacon_Action(); });
}

void LateStartup() { MakeDefaultView(); }

void MakeDefaultView() {
  if (!PickerWindow::Instance()) throw fw::NilObjectException("no picker window");
}

void finalize() {
  for (fw::Window* window : fw::Window::AllWindows()) delete window;
  fw::Application::RegisterAppObject(nullptr);
  AppObject().reset();
  MainMenuBar::MainMenuBar::ReleaseInstance();
}

}  // namespace Startup
