#include "Backend.h"

#include "Exceptions.h"

namespace fw {

namespace {
std::unique_ptr<Backend>& Installed() {
  static std::unique_ptr<Backend> backend;
  return backend;
}
}  // namespace

void SetBackend(std::unique_ptr<Backend> backend) { Installed() = std::move(backend); }

Backend& CurrentBackend() {
  if (!Installed()) throw NilObjectException("no backend installed");
  return *Installed();
}

bool HasBackend() { return Installed() != nullptr; }

}  // namespace fw
