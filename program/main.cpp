// The process entry: the program's name to the framework, the desktop
// backend, the picker window handed to the application shell, then the
// start-up road.
#include <exception>
#include <memory>

#include "app/AppIdentifier.h"
#include "app/Startup.h"
#include "framework/Backend.h"
#include "framework/Diagnostics.h"
#include "framework/ProgramName.h"
#include "framework/qt/QtBackend.h"
#include "picker/Main.h"

int main(int argc, char** argv) {
  fw::SetProgramName(AppName);
  // Owned here, so that it ends before the toolkit's own teardown.
  std::unique_ptr<fw::Backend> backend;
  try {
    backend = MakeQtBackend(argc, argv);
  } catch (const std::exception& e) {
    fw::Diagnose(e.what());
    return 1;
  }
  fw::SetBackend(backend.get());
  Main::Main::ServeApp();
  return Startup::Run();
}
