#pragma once
#include <functional>
#include <memory>

#include "Control.h"
#include "Picture.h"

namespace fw {

// A control that shows its Backdrop picture at its top-left corner, one
// picture pixel per point, clipped to the control.
class Canvas : public RectControl {
 public:
  const PropertyTable& StoredProperties() const override;

  std::shared_ptr<Picture> Backdrop;  // nullptr: nothing shown
  bool Transparent = false, EraseBackground = true, DoubleBuffer = false;
  bool AcceptTabs = false, AcceptFocus = false, UseFocusRing = true;

  std::function<void(Canvas&)> MouseEnter, MouseExit;
};

}  // namespace fw
