#pragma once
#include <functional>

#include "Exceptions.h"

namespace fwtest {

// The error number of the fw::IOException the action throws; 0 when it throws none.
inline int ErrnoOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const fw::IOException& e) {
    return e.ErrorNumber();
  }
  return 0;
}

}  // namespace fwtest
