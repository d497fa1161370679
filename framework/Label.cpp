#include "Label.h"

#include "PropertyTables.h"

namespace fw {

using props::Extend;
using props::Field;

// TextSize and TextUnit are set by code, never stored.
const PropertyTable& Label::StoredProperties() const {
  static const PropertyTable table = Extend(RectControl::StoredProperties(), {
      Field("Text", &Label::Text),
      Field("TextFont", &Label::TextFont),
      Field("TextAlign", &Label::TextAlign),
      Field("TextColor", &Label::TextColor),
      Field("Bold", &Label::Bold),
      Field("Italic", &Label::Italic),
      Field("Underline", &Label::Underline),
      Field("MultiLine", &Label::MultiLine),
      Field("Selectable", &Label::Selectable),
      Field("Transparent", &Label::Transparent),
      Field("DataSource", &Label::DataSource),
      Field("DataField", &Label::DataField),
  });
  return table;
}

}  // namespace fw
