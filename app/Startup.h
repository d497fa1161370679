#pragma once

// The road from process start to exit, and its steps. The backend must be
// installed (fw::SetBackend) before Run.
namespace Startup {

// The whole road: framework start, Main, finalize; returns the exit status.
int Run();

// Hands the program's classes to the framework: C++ classes describe
// themselves, so there is nothing to hand over.
void initialize();
// Early start-up, framework initialisation and the event loop inside one
// catch-all: an escaping exception goes to the framework's unhandled-exception
// handling and the road goes on.
void Main();
void EarlyStartup();
// The program has no document file types.
void InitFileTypes();
// Makes the App instance, gives it the shared menu bar and registers it.
void NewAppInstance();
// Registers App's two menu handlers, ViewTintbeacon and AboutTintbeacon.
void ApplicationAddMenuHandlers();
// The step the framework runs once it is initialised.
void LateStartup();
// Makes the default window, the picker window; NilObjectException when the
// program handed over none (PickerWindow::SetAccessor).
void MakeDefaultView();
// Releases the module-level objects: the windows, the application object,
// and the shared menu bar last.
void finalize();

}  // namespace Startup
