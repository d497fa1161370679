#pragma once
#include <memory>

#include "Backend.h"

// The desktop backend over Qt 6 Widgets. Creates the QApplication unless one
// exists already; argc and argv must outlive the backend.
std::unique_ptr<fw::Backend> MakeQtBackend(int& argc, char** argv);
