#include "picker/TheApp.h"

#include "framework/Exceptions.h"

namespace Main {

App& TheApp() {
  App* app = App::Instance();
  if (app == nullptr) throw fw::NilObjectException("no application object");
  return *app;
}

}  // namespace Main
