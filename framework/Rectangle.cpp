#include "Rectangle.h"

#include "PropertyTables.h"

namespace fw {

using props::Extend;
using props::Field;

const PropertyTable& Rectangle::StoredProperties() const {
  static const PropertyTable table = Extend(RectControl::StoredProperties(), {
      Field("FillColor", &Rectangle::FillColor),
      Field("BorderWidth", &Rectangle::BorderWidth),
      Field("TopLeftColor", &Rectangle::TopLeftColor),
      Field("BottomRightColor", &Rectangle::BottomRightColor),
  });
  return table;
}

}  // namespace fw
