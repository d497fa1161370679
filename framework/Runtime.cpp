#include "Runtime.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "Application.h"
#include "Backend.h"
#include "Diagnostics.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "FrameworkState.h"

namespace fw {

detail::RuntimeState& detail::Runtime() {
  static RuntimeState state;
  return state;
}

namespace {
std::string TypeName(const std::exception& e) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status),
                                              std::free);
  return status == 0 && name ? name.get() : typeid(e).name();
}
}  // namespace

void Runtime::Init() {
  if (!HasBackend()) throw RuntimeException("Runtime.Init: no backend installed");
  detail::Runtime() = {};
}

// The late step first, so the default window exists when Open runs; the
// program does not depend on this order. Until Open has ended no timer
// ticks, no reaction to the user runs and no window goes on screen: the
// first tick sees what Open set, and the window appears where Open put it.
void Runtime::RunFrameworkInitialization(const std::function<void()>& lateStartup) {
  {
    struct Startup {
      Startup() { EventGate::BeginStartup(); }
      ~Startup() { EventGate::EndStartup(); }
    } startup;
    if (lateStartup) lateStartup();
    if (Application* app = Application::GetAppObject()) {
      CallWithExceptionHandling([app] { app->Event_Open(); });
    }
  }
  detail::ShowWindowsHeldAtStartup();
}

void Runtime::Run() {
  // A quit asked for during start-up has already ended the application.
  if (detail::Runtime().quitting) return;
  CurrentBackend().RunEventLoop();
}

int Runtime::Exit() {
  detail::DestroyAllWindows();
  detail::ClearAppObject();
  SetBackend(nullptr);
  return detail::Runtime().exitCode;
}

void Runtime::UnhandledException(const std::exception& e) {
  const auto* framework = dynamic_cast<const RuntimeException*>(&e);
  Diagnose("unhandled " + (framework ? std::string(framework->ClassName()) : TypeName(e)) + ": " + e.what());
}

void Runtime::CallWithExceptionHandling(const std::function<void()>& f) {
  ++detail::Runtime().dispatches;
  try {
    f();
  } catch (const std::exception& e) {
    UnhandledException(e);
  } catch (...) {
    Diagnose("unhandled exception of unknown type");
  }
}

}  // namespace fw
