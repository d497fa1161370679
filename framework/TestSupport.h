#pragma once
#include "TestBackend.h"

namespace fw {

// Puts the framework back as it is at process start: destroys every window,
// forgets the application object (without deleting it), clears the keyboard
// state, the quit state and the diagnostics said, and removes the backend.
void ResetFrameworkForTests();

// Resets the framework, installs a fresh TestBackend and runs Runtime::Init;
// the backend stays alive until the next call.
TestBackend& InstallTestBackend();

}  // namespace fw
