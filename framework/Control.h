#pragma once
#include <cstdint>
#include <string>

#include "Property.h"

namespace fw {

class Window;

// A control of a window: registered there under its Name.
class Control : public Object {
 public:
  ~Control() override = default;
  const PropertyTable& StoredProperties() const override;

  std::string Name;
  int32_t Index = INT32_MIN;  // INT32_MIN: not part of a control array
  Window* ParentWindow() const { return window_; }

 protected:
  friend class Window;
  Window* window_ = nullptr;
};

// A visible control with a rectangle in window coordinates (points).
class RectControl : public Control {
 public:
  const PropertyTable& StoredProperties() const override;

  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool Visible = true;
  bool Enabled = true;
  bool LockLeft = false, LockTop = false, LockRight = false, LockBottom = false;
  int32_t TabIndex = 0, TabPanelIndex = 0;
  bool TabStop = true;
  bool AutoDeactivate = true;
  std::string HelpTag;
  std::string InitialParent;  // name of the control it lies on, "" for the window

  // Asks the native side to repaint the control.
  void Refresh(bool eraseBackground = true);
};

}  // namespace fw
