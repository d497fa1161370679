#pragma once
#include <QImage>
#include <QRect>

class QPainter;

namespace fw {
class RectControl;
class Picture;
}  // namespace fw

namespace fw::qt {

// The control's rectangle in window coordinates (points).
QRect ControlRect(const fw::RectControl& control);

// An opaque copy of the picture, one image pixel per picture pixel.
QImage ToImage(const fw::Picture& picture);

// Paints one control: a canvas's backdrop, a rectangle, a label's text.
// The caller clips the painter to where the control shows.
void PaintControl(QPainter& painter, const fw::RectControl& control);

}  // namespace fw::qt
