#pragma once
#include <memory>

#include "Backend.h"

// The desktop backend over Qt 6 Widgets. Creates the QApplication unless one
// exists already (on X11 unless QT_QPA_PLATFORM names another platform);
// argc and argv must outlive the backend. Throws std::runtime_error, naming
// the display, when the X display cannot be opened.
std::unique_ptr<fw::Backend> MakeQtBackend(int& argc, char** argv);
