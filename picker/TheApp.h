#pragma once
#include "app/App.h"

namespace Main {

// The application object; throws fw::NilObjectException when there is none.
App& TheApp();

}  // namespace Main
