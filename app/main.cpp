// The process entry: the desktop backend, then the start-up road.
#include <exception>
#include <iostream>
#include <memory>

#include "Startup.h"
#include "framework/Backend.h"
#include "framework/qt/QtBackend.h"

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
  return Startup::Run();
}
