#include "Control.h"

#include "Backend.h"
#include "PropertyTables.h"
#include "Window.h"

namespace fw {

using props::Extend;
using props::Field;

const PropertyTable& Control::StoredProperties() const {
  static const PropertyTable table = {
      Field("Name", &Control::Name),
      Field("Index", &Control::Index),
  };
  return table;
}

const PropertyTable& RectControl::StoredProperties() const {
  static const PropertyTable table = Extend(Control::StoredProperties(), {
      Field("Left", &RectControl::Left),
      Field("Top", &RectControl::Top),
      Field("Width", &RectControl::Width),
      Field("Height", &RectControl::Height),
      Field("Visible", &RectControl::Visible),
      Field("Enabled", &RectControl::Enabled),
      Field("LockLeft", &RectControl::LockLeft),
      Field("LockTop", &RectControl::LockTop),
      Field("LockRight", &RectControl::LockRight),
      Field("LockBottom", &RectControl::LockBottom),
      Field("TabIndex", &RectControl::TabIndex),
      Field("TabPanelIndex", &RectControl::TabPanelIndex),
      Field("TabStop", &RectControl::TabStop),
      Field("AutoDeactivate", &RectControl::AutoDeactivate),
      Field("HelpTag", &RectControl::HelpTag),
      Field("InitialParent", &RectControl::InitialParent),
  });
  return table;
}

void RectControl::Refresh(bool /*eraseBackground*/) {
  // Before its window is on screen there is nothing to repaint: the first
  // paint shows the control as it is then.
  if (window_ != nullptr && window_->HasNativeWindow() && HasBackend()) {
    CurrentBackend().RefreshControl(*window_, *this);
  }
}

}  // namespace fw
