#pragma once
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;

namespace fw {
class Label;
class RectControl;
class Picture;
}  // namespace fw

namespace fw::qt {

// The control's rectangle in window coordinates (points).
QRect ControlRect(const fw::RectControl& control);

// The font a label's text is drawn in: its face, size and style.
QFont LabelFont(const fw::Label& label);

// A copy of the picture, one image pixel per picture pixel, at the
// picture's pixels per point: with the picture's transparency as its alpha,
// or opaque.
QImage ToImage(const fw::Picture& picture, bool withAlpha);

// Paints one control: a canvas's backdrop, a rectangle, a label's text.
// The caller clips the painter to where the control shows.
void PaintControl(QPainter& painter, const fw::RectControl& control);

}  // namespace fw::qt
