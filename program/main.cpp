// The process entry: the desktop backend, the picker window handed to the
// application shell, then the start-up road.
#include <exception>
#include <iostream>
#include <memory>

#include "app/Startup.h"
#include "framework/Backend.h"
#include "framework/qt/QtBackend.h"
#include "picker/Main.h"

int main(int argc, char** argv) {
  // Owned here, so that it ends before the toolkit's own teardown.
  std::unique_ptr<fw::Backend> backend;
  try {
    backend = MakeQtBackend(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "tintbeacon: " << e.what() << std::endl;
    return 1;
  }
  fw::SetBackend(backend.get());
  Main::Main::ServeApp();
  return Startup::Run();
}
