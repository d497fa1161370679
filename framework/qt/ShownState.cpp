#include "ShownState.h"

#include <algorithm>

#include "Canvas.h"
#include "Label.h"
#include "Rectangle.h"
#include "Window.h"

namespace fw::qt {

QRegion ShownState::Update(const fw::Window& window, const QRect& whole) {
  QRegion dirty;
  const std::vector<fw::Control*>& controls = window.Controls();
  if (!std::equal(controls.begin(), controls.end(), controls_.begin(), controls_.end())) {
    controls_.assign(controls.begin(), controls.end());
    shown_.clear();
    for (const fw::Control* control : controls) {
      const auto* rect = dynamic_cast<const fw::RectControl*>(control);
      if (!rect) continue;
      Shown& s = shown_.emplace_back();
      s.control = rect;
      s.label = dynamic_cast<const fw::Label*>(rect);
      s.box = dynamic_cast<const fw::Rectangle*>(rect);
      s.canvas = dynamic_cast<const fw::Canvas*>(rect);
    }
    dirty = whole;
  }
  for (Shown& s : shown_) {
    bool changed = false;
    auto keep = [&changed](auto& kept, const auto& now) {
      if (kept == now) return;
      kept = now;
      changed = true;
    };
    const QRect was(s.left, s.top, std::max(0, s.width), std::max(0, s.height));
    const fw::RectControl& c = *s.control;
    keep(s.left, c.Left), keep(s.top, c.Top), keep(s.width, c.Width), keep(s.height, c.Height);
    keep(s.visible, c.Visible);
    if (const fw::Label* label = s.label) {
      keep(s.text, label->Text), keep(s.font, label->TextFont);
      keep(s.textSize, label->TextSize), keep(s.textAlign, label->TextAlign), keep(s.textColor, label->TextColor.value);
      keep(s.bold, label->Bold), keep(s.italic, label->Italic), keep(s.underline, label->Underline);
    } else if (const fw::Rectangle* box = s.box) {
      keep(s.fill, box->FillColor.value), keep(s.border, box->BorderWidth);
      keep(s.topLeft, box->TopLeftColor.value), keep(s.bottomRight, box->BottomRightColor.value);
    } else if (const fw::Canvas* canvas = s.canvas) {
      const fw::Picture* backdrop = canvas->Backdrop.get();
      keep(s.backdrop, backdrop);
      keep(s.backdropVersion, backdrop ? backdrop->Version() : 0);
      keep(s.transparent, canvas->Transparent);
    }
    if (!changed) continue;
    dirty += was;
    dirty += QRect(c.Left, c.Top, std::max(0, c.Width), std::max(0, c.Height));
  }
  return dirty;
}

}  // namespace fw::qt
