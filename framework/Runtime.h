#pragma once
#include <exception>
#include <functional>

namespace fw {

// The framework's start-up and event-loop entry points.
namespace Runtime {
// The framework is ready to make objects (the backend must be set).
void Init();
// Runs the late start-up step on the user-interface thread, then raises the
// application's Open event. An exception of the late step comes out of this
// call; one of the Open handler is reported and start-up goes on.
void RunFrameworkInitialization(const std::function<void()>& lateStartup);
// Runs the event loop until the application has quit; returns at once when
// it quit during start-up.
void Run();
// Releases the framework's own module-level objects (the windows still
// alive, the application object's registration, the backend); returns the
// code given to Quit, 0 when there was none.
int Exit();
// Reports an exception that nothing caught through the diagnostic log
// (class and message).
void UnhandledException(const std::exception& e);
// Runs f; an exception that escapes it goes to UnhandledException and the
// program keeps running. Every event handler runs through it.
void CallWithExceptionHandling(const std::function<void()>& f);
}  // namespace Runtime

}  // namespace fw
