#include "ControlPainter.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <cmath>
#include <algorithm>

#include "Canvas.h"
#include "FontTable.h"
#include "Label.h"
#include "Picture.h"
#include "PictureImage.h"
#include "Rectangle.h"

namespace fw::qt {
namespace {

QColor ToQColor(fw::Color c) { return QColor(c.Red(), c.Green(), c.Blue()); }

void PaintCanvas(QPainter& painter, const fw::Canvas& canvas) {
  if (!canvas.Backdrop) return;
  // A picture made at the display's own scale lands on device pixels one
  // for one, never a blend of its neighbours; one of another resolution (an
  // icon) is smoothed to fit. Only a transparent canvas lets what lies
  // beneath show through its picture.
  painter.setRenderHint(QPainter::SmoothPixmapTransform,
                        canvas.Backdrop->PixelsPerPoint() != painter.device()->devicePixelRatioF());
  painter.drawImage(QPoint(canvas.Left, canvas.Top), PictureImage(*canvas.Backdrop, canvas.Transparent));
}

void PaintRectangle(QPainter& painter, const fw::Rectangle& rect) {
  const QRect r = ControlRect(rect);
  painter.fillRect(r, ToQColor(rect.FillColor));
  const int b = std::min({rect.BorderWidth, r.width(), r.height()});
  if (b <= 0) return;
  const QColor topLeft = ToQColor(rect.TopLeftColor), bottomRight = ToQColor(rect.BottomRightColor);
  painter.fillRect(QRect(r.left(), r.top(), r.width(), b), topLeft);
  painter.fillRect(QRect(r.left(), r.top(), b, r.height()), topLeft);
  painter.fillRect(QRect(r.left(), r.bottom() - b + 1, r.width(), b), bottomRight);
  painter.fillRect(QRect(r.right() - b + 1, r.top(), b, r.height()), bottomRight);
}

void PaintLabel(QPainter& painter, const fw::Label& label) {
  if (label.Text.empty()) return;
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  const Qt::Alignment horizontal = label.TextAlign >= 0 && label.TextAlign <= 2 ? kAlign[label.TextAlign] : Qt::AlignLeft;
  painter.setFont(LabelFont(label));
  painter.setPen(ToQColor(label.TextColor));
  const int flags = int(horizontal | Qt::AlignVCenter) | (label.MultiLine ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine));
  painter.drawText(ControlRect(label), flags, QString::fromStdString(label.Text));
}

}  // namespace

QRect ControlRect(const fw::RectControl& control) {
  return QRect(control.Left, control.Top, std::max(0, control.Width), std::max(0, control.Height));
}

QFont LabelFont(const fw::Label& label) {
  QFont font = FontFor(label.TextFont, QApplication::font());
  // The program's points are screen points, which are Qt's device-independent
  // pixels: a size of 12 is a 12-pixel font on an ordinary display.
  if (label.TextSize > 0) font.setPixelSize(std::max(1, int(std::lround(label.TextSize))));
  font.setBold(label.Bold);
  font.setItalic(label.Italic);
  font.setUnderline(label.Underline);
  return font;
}

QImage ToImage(const fw::Picture& picture, bool withAlpha) {
  QImage image(picture.Width(), picture.Height(), withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  const uint32_t* source = picture.Data();
  for (int y = 0; y < picture.Height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    const uint32_t* from = source + size_t(y) * size_t(picture.Width());
    // A picture pixel holds its transparency where QImage holds its alpha.
    for (int x = 0; x < picture.Width(); ++x) line[x] = withAlpha ? from[x] ^ 0xFF000000u : from[x] | 0xFF000000u;
  }
  image.setDevicePixelRatio(picture.PixelsPerPoint());
  return image;
}

void PaintControl(QPainter& painter, const fw::RectControl& control) {
  painter.save();
  if (auto* canvas = dynamic_cast<const fw::Canvas*>(&control)) {
    PaintCanvas(painter, *canvas);
  } else if (auto* rect = dynamic_cast<const fw::Rectangle*>(&control)) {
    PaintRectangle(painter, *rect);
  } else if (auto* label = dynamic_cast<const fw::Label*>(&control)) {
    PaintLabel(painter, *label);
  }
  painter.restore();
}

}  // namespace fw::qt
