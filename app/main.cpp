// The process entry: the desktop backend, then the start-up road.
#include "Startup.h"
#include "framework/Backend.h"
#include "framework/qt/QtBackend.h"

int main(int argc, char** argv) {
  fw::SetBackend(MakeQtBackend(argc, argv));
  return Startup::Run();
}
