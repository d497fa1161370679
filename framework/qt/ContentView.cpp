#include "ContentView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <utility>

#include "Canvas.h"
#include "ControlPainter.h"
#include "EventGate.h"
#include "Label.h"
#include "Rectangle.h"
#include "NativeWindow.h"
#include "Runtime.h"
#include "Window.h"

namespace fw::qt {

ContentView::ContentView(fw::Window& window, QWidget* parent) : QWidget(parent), window_(&window) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

QRect ContentView::VisibleArea(const fw::RectControl& control) const {
  QRect area = ControlRect(control);
  const fw::RectControl* current = &control;
  // The chain is bounded by the number of controls, so a loop of parents
  // cannot hang the paint.
  for (size_t steps = 0; current && steps <= window_->Controls().size(); ++steps) {
    if (!current->Visible) return {};
    area &= ControlRect(*current);
    if (current->InitialParent.empty()) return area;
    current = dynamic_cast<const fw::RectControl*>(window_->ControlByName(current->InitialParent));
  }
  return area;
}

void ContentView::UpdateIfChanged() {
  if (!window_) return;
  const QRegion dirty = shown_.Update(*window_, rect());
  if (!dirty.isEmpty()) update(dirty);
}

void ContentView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!window_) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  const fw::Window& w = *window_;
  if (w.HasBackColor)
    painter.fillRect(event->rect(), QColor(w.BackColor.Red(), w.BackColor.Green(), w.BackColor.Blue()));
  else
    painter.fillRect(event->rect(), palette().window());
  for (fw::Control* control : w.Controls()) {
    auto* rc = dynamic_cast<fw::RectControl*>(control);
    if (!rc) continue;
    const QRect area = VisibleArea(*rc) & event->rect();
    if (area.isEmpty()) continue;
    painter.setClipRect(area);
    PaintControl(painter, *rc);
  }
}

fw::RectControl* ContentView::ControlAt(QPoint pos) const {
  if (!window_) return nullptr;
  const auto& controls = window_->Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    auto* rc = dynamic_cast<fw::RectControl*>(*it);
    if (rc && VisibleArea(*rc).contains(pos)) return rc;
  }
  return nullptr;
}

void ContentView::mousePressEvent(QMouseEvent* event) {
  auto* label = dynamic_cast<fw::Label*>(ControlAt(event->position().toPoint()));
  if (!label || !label->MouseDown || event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint() - QPoint(label->Left, label->Top);
  WhenIdle(label->Name, [at](fw::Control& control) {
    if (auto* pressed = dynamic_cast<fw::Label*>(&control); pressed && pressed->MouseDown)
      pressed->MouseDown(*pressed, at.x(), at.y());
  });
}

void ContentView::mouseMoveEvent(QMouseEvent* event) {
  TrackPointer(ControlAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void ContentView::leaveEvent(QEvent* event) {
  TrackPointer(nullptr);
  QWidget::leaveEvent(event);
}

void ContentView::TrackPointer(const fw::RectControl* now) {
  if (!window_) return;
  // The canvas under the pointer, also when a control that lies on it is on top.
  const fw::RectControl* c = now;
  for (size_t steps = 0; c && !dynamic_cast<const fw::Canvas*>(c) && steps <= window_->Controls().size(); ++steps)
    c = c->InitialParent.empty() ? nullptr
                                 : dynamic_cast<const fw::RectControl*>(window_->ControlByName(c->InitialParent));
  const std::string name = dynamic_cast<const fw::Canvas*>(c) ? c->Name : std::string();
  if (name == hoveredCanvas_) return;
  const std::string left = std::exchange(hoveredCanvas_, name);
  WhenIdle(left, [](fw::Control& control) {
    if (auto* canvas = dynamic_cast<fw::Canvas*>(&control); canvas && canvas->MouseExit) canvas->MouseExit(*canvas);
  });
  WhenIdle(name, [](fw::Control& control) {
    if (auto* canvas = dynamic_cast<fw::Canvas*>(&control); canvas && canvas->MouseEnter) canvas->MouseEnter(*canvas);
  });
}

void ContentView::WhenIdle(const std::string& controlName, std::function<void(fw::Control&)> f) {
  if (controlName.empty()) return;
  EventGate::RunWhenIdle([self = QPointer<ContentView>(this), controlName, f = std::move(f)] {
    // Found again by name: the control may have gone meanwhile.
    fw::Control* control = self && self->window_ ? self->window_->ControlByName(controlName) : nullptr;
    if (!control) return;
    fw::Runtime::CallWithExceptionHandling([&] { f(*control); });
    RepaintAllWindows();
  });
}

}  // namespace fw::qt
