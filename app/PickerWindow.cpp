#include "PickerWindow.h"

namespace {

PickerWindow::Accessor& TheAccessor() {
  static PickerWindow::Accessor accessor = nullptr;
  return accessor;
}

}  // namespace

PickerWindow* PickerWindow::Instance() { return TheAccessor() ? TheAccessor()() : nullptr; }

void PickerWindow::SetAccessor(Accessor accessor) { TheAccessor() = accessor; }
