#include "Backend.h"

#include "Exceptions.h"

namespace fw {

namespace {
Backend*& Installed() {
  static Backend* backend = nullptr;
  return backend;
}
}  // namespace

void SetBackend(Backend* backend) { Installed() = backend; }

Backend& CurrentBackend() {
  if (!Installed()) throw NilObjectException("no backend installed");
  return *Installed();
}

bool HasBackend() { return Installed() != nullptr; }

}  // namespace fw
