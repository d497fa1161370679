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
  auto backend = std::make_unique<TestBackend>();
  TestBackend& installed = *backend;
  SetBackend(std::move(backend));
  Runtime::Init();
  return installed;
}

}  // namespace fw
