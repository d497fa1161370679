#include "Canvas.h"

#include "PropertyTables.h"

namespace fw {

using props::Extend;
using props::Field;

const PropertyTable& Canvas::StoredProperties() const {
  static const PropertyTable table = Extend(RectControl::StoredProperties(), {
      Field("Transparent", &Canvas::Transparent),
      Field("EraseBackground", &Canvas::EraseBackground),
      Field("DoubleBuffer", &Canvas::DoubleBuffer),
      Field("AcceptTabs", &Canvas::AcceptTabs),
      Field("AcceptFocus", &Canvas::AcceptFocus),
      Field("UseFocusRing", &Canvas::UseFocusRing),
  });
  return table;
}

}  // namespace fw
