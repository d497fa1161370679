#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "ShownState.h"

namespace fw {
class Window;
class Control;
class RectControl;
}  // namespace fw

namespace fw::qt {

// The content area of a window: paints the window's controls in the order
// they were registered and passes presses and the pointer's coming and going
// to them.
class ContentView : public QWidget {
 public:
  ContentView(fw::Window& window, QWidget* parent);
  // The framework window is gone: paint nothing more, call nothing more.
  void Detach() { window_ = nullptr; }
  // Where the control shows (window coordinates): its rectangle clipped to
  // the controls it lies on; empty when it or one of those is hidden.
  QRect VisibleArea(const fw::RectControl& control) const;
  // Schedules a repaint of the controls whose content has changed since the
  // last call: program code sets label texts and flags without telling the
  // view, and repainting unchanged content at every tick costs CPU.
  void UpdateIfChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // The topmost control that shows at pos, or nullptr.
  fw::RectControl* ControlAt(QPoint pos) const;
  // Raises MouseExit and MouseEnter on the canvases the pointer leaves and enters.
  void TrackPointer(const fw::RectControl* now);
  // Runs f on the named control from the event loop, once no command is
  // running; nothing when the name is empty or the control has gone by then.
  void WhenIdle(const std::string& controlName, std::function<void(fw::Control&)> f);

  fw::Window* window_;
  std::string hoveredCanvas_;  // by name: the view never holds a control
  ShownState shown_;           // what UpdateIfChanged last saw
};

}  // namespace fw::qt
