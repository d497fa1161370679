#pragma once
#include "Color.h"
#include "Control.h"

namespace fw {

// A filled rectangle with a border of BorderWidth points.
class Rectangle : public RectControl {
 public:
  const PropertyTable& StoredProperties() const override;

  Color FillColor{0xFFFFFF};
  int32_t BorderWidth = 1;
  Color TopLeftColor{0x000000}, BottomRightColor{0x000000};
};

}  // namespace fw
