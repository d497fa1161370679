#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "Color.h"
#include "Control.h"

namespace fw {

// A line of static text.
class Label : public RectControl {
 public:
  const PropertyTable& StoredProperties() const override;

  std::string Text;
  std::string TextFont = "System";  // "System" is the desktop's default font
  float TextSize = 0;               // points; 0 is the default size
  uint8_t TextUnit = 0;
  int32_t TextAlign = 0;  // 0 left, 1 centred, 2 right
  Color TextColor{0x000000};
  bool Bold = false, Italic = false, Underline = false, MultiLine = false;
  bool Selectable = false, Transparent = false;
  std::string DataSource, DataField;

  // The press position is in the label's coordinates; returns True when handled.
  std::function<bool(Label&, int32_t, int32_t)> MouseDown;
};

}  // namespace fw
