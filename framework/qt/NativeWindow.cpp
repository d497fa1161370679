#include "NativeWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include "Application.h"
#include "Centring.h"
#include "ContentView.h"
#include "EventGate.h"
#include "MenuBarBuilder.h"
#include "Window.h"
#include "X11.h"

namespace fw::qt {

NativeWindow::NativeWindow(fw::Window& window) : window_(&window) {
  bar_ = new QMenuBar(this);
  // The bar belongs to the window, also on desktops that offer a global one,
  // so that the content area always lies right below it.
  bar_->setNativeMenuBar(false);
  setMenuBar(bar_);
  content_ = new ContentView(window, this);
  setCentralWidget(content_);
  Sync();
}

void NativeWindow::Detach() {
  window_ = nullptr;
  content_->Detach();
  bar_->clear();
  builtFrom_ = nullptr;
}

fw::MenuItem* NativeWindow::MenuTree() const {
  if (!window_) return nullptr;
  if (window_->MenuBar()) return window_->MenuBar();
  const fw::Application* app = fw::Application::GetAppObject();
  return app ? app->MenuBar() : nullptr;
}

void NativeWindow::Sync() {
  if (!window_) return;
  SyncTitle();
  SyncFlags();
  fw::MenuItem* tree = MenuTree();
  if (tree != builtFrom_) {
    BuildMenuBar(*bar_, [self = QPointer<NativeWindow>(this)]() -> fw::MenuItem* {
      return self ? self->MenuTree() : nullptr;
    });
    builtFrom_ = tree;
  }
  bar_->setVisible(tree && window_->MenuBarVisible);
  SyncSize();
  content_->update();
}

void NativeWindow::SyncTitle() {
  if (appliedTitle_ == window_->Title()) return;
  appliedTitle_ = window_->Title();
  setWindowTitle(QString::fromStdString(*appliedTitle_));
  if (appliedTitle_->empty() && testAttribute(Qt::WA_WState_Created)) ShowEmptyTitle(winId());
}

void NativeWindow::SyncFlags() {
  // A window with neither minimise nor maximise button (the About window)
  // is a dialog to the window manager: it stays above the program's window
  // and its empty title is shown empty.
  const bool dialog = !window_->MinimizeButton && !window_->MaximizeButton;
  Qt::WindowFlags flags = (dialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (window_->CloseButton) flags |= Qt::WindowCloseButtonHint;
  if (window_->MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (window_->MaximizeButton) flags |= Qt::WindowMaximizeButtonHint;
  // Qt adds hints of its own to windowFlags(), so compare with what was set.
  if (appliedFlags_ == flags) return;
  appliedFlags_ = flags;
  // Changing the flags of a shown window hides it.
  const bool shown = isVisible();
  setWindowFlags(flags);
  if (shown) show();
}

void NativeWindow::SyncSize() {
  const QSize size(std::max(0, window_->Width()), std::max(0, window_->Height()));
  if (!window_->Resizeable) {
    content_->setFixedSize(size);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    return;
  }
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  content_->setMinimumSize(window_->MinWidth, window_->MinHeight);
  content_->setMaximumSize(window_->MaxWidth, window_->MaxHeight);
  if (content_->size() != size) {
    const int barHeight = bar_->isVisibleTo(this) ? bar_->sizeHint().height() : 0;
    resize(size.width(), size.height() + barHeight);
  }
}

namespace {

// What the program reads as the key: Tab and Shift+Tab (Backtab) are "\t";
// Ctrl turns a letter into a control code (Ctrl+I is "\t" too), and the
// program reads the letter instead.
std::string KeyText(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return "\t";
  if (event.modifiers().testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
    return std::string(1, char('a' + (key - Qt::Key_A)));
  return event.text().toStdString();
}

// The frame of a window the window manager has framed already; none when
// there is none.
QMargins FrameOfAShownWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!widget->isVisible() || !widget->windowHandle()) continue;
    const QMargins frame = widget->windowHandle()->frameMargins();
    if (!frame.isNull()) return frame;
  }
  return {};
}

}  // namespace

void NativeWindow::CentreOnScreen() {
  Sync();
  // The window's size, menu bar included, is settled by its layout.
  layout()->activate();
  PlaceCentred(FrameOfAShownWindow());
}

void NativeWindow::PlaceCentred(const QMargins& frame) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const fw::Point at = fw::CentredOrigin({area.x(), area.y(), area.width(), area.height()}, width(), height(),
                                         {frame.left(), frame.top(), frame.right(), frame.bottom()});
  setGeometry(QRect(QPoint(at.x, at.y), size()));
  centredAt_ = QPoint(at.x, at.y);
  centredBy_ = frame;
}

void NativeWindow::CentreByOwnFrame() {
  const QMargins frame = windowHandle()->frameMargins();
  if (frame.isNull()) return;
  const QPoint placed = *centredAt_;
  centredAt_.reset();
  // A window the user has moved meanwhile stays where it was put.
  if (frame != centredBy_ && geometry().topLeft() == placed) {
    PlaceCentred(frame);
    centredAt_.reset();
  }
}

void NativeWindow::WhenIdle(std::function<void(fw::Window&)> f) {
  EventGate::RunWhenIdle([self = QPointer<NativeWindow>(this), f = std::move(f)] {
    if (!self || !self->window_) return;
    f(*self->window_);
    RepaintAllWindows();
  });
}

void NativeWindow::keyPressEvent(QKeyEvent* event) {
  if (!window_) return QMainWindow::keyPressEvent(event);
  const bool shift = event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
  const bool option = event->modifiers().testFlag(Qt::AltModifier);
  const std::string key = KeyText(*event);
  // A modifier or another key without text is nothing the program can read.
  if (key.empty()) return QMainWindow::keyPressEvent(event);
  WhenIdle([key, shift, option](fw::Window& w) { w.DispatchKeyDown(key, shift, option); });
}

void NativeWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // A window that is not shown yet is only being placed.
  if (window_ && isVisible()) WhenIdle([](fw::Window& w) { w.DispatchMoved(); });
}

void NativeWindow::closeEvent(QCloseEvent* event) {
  // The framework decides what closing means (the picker window quits).
  event->ignore();
  WhenIdle([](fw::Window& w) { w.DispatchCloseRequest(); });
}

void NativeWindow::NativeWindowDestroyed() {
  WhenIdle([](fw::Window& w) { w.DispatchCloseRequest(); });
}

void NativeWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Qt names a window without a title after the program when it creates it.
  if (appliedTitle_ && appliedTitle_->empty()) ShowEmptyTitle(winId());
}

bool NativeWindow::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  const QEvent::Type type = event->type();
  // Framing a window moves it (its own area, in Qt's eyes) or activates it.
  if (centredAt_ && isVisible() && (type == QEvent::Move || type == QEvent::WindowActivate)) CentreByOwnFrame();
  if (type == QEvent::WindowActivate && window_) WhenIdle([](fw::Window& w) { w.DispatchActivate(); });
  return handled;
}

void RepaintAllWindows() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = dynamic_cast<NativeWindow*>(widget)) window->Content().UpdateIfChanged();
}

}  // namespace fw::qt
