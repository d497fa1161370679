#include "TestSupport.h"

#include <memory>

#include "Diagnostics.h"
#include "FrameworkState.h"
#include "Runtime.h"
#include "System.h"

namespace fw {

void ResetFrameworkForTests() {
  detail::DestroyAllWindows();
  detail::ClearAppObject();
  Keyboard::SetState(false, false);
  detail::Runtime() = {};
  ResetDiagnostics();
  SetBackend(nullptr);
}

TestBackend& InstallTestBackend() {
  ResetFrameworkForTests();
  // One fresh backend per test; the old one is let go only after the
  // framework no longer points at it.
  static std::unique_ptr<TestBackend> owned;
  owned = std::make_unique<TestBackend>();
  SetBackend(owned.get());
  Runtime::Init();
  return *owned;
}

}  // namespace fw
