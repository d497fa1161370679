#include "NativeWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>

#include "Application.h"
#include "ContentView.h"
#include "EventGate.h"
#include "MenuBarBuilder.h"
#include "Window.h"

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
  setWindowTitle(QString::fromStdString(window_->Title()));
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

void NativeWindow::SyncFlags() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (window_->CloseButton) flags |= Qt::WindowCloseButtonHint;
  if (window_->MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (window_->MaximizeButton) flags |= Qt::WindowMaximizeButtonHint;
  if (flags == windowFlags()) return;
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

void NativeWindow::keyPressEvent(QKeyEvent* event) {
  if (!window_) return QMainWindow::keyPressEvent(event);
  const bool backtab = event->key() == Qt::Key_Backtab;
  const bool shift = backtab || event->modifiers().testFlag(Qt::ShiftModifier);
  const bool option = event->modifiers().testFlag(Qt::AltModifier);
  const std::string key = backtab || event->key() == Qt::Key_Tab ? "\t" : event->text().toStdString();
  // A modifier or another key without text is nothing the program can read.
  if (key.empty()) return QMainWindow::keyPressEvent(event);
  window_->DispatchKeyDown(key, shift, option);
  RepaintAllWindows();
}

void NativeWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // A window that is not shown yet is only being placed.
  if (window_ && isVisible()) window_->DispatchMoved();
}

void NativeWindow::closeEvent(QCloseEvent* event) {
  // The framework decides what closing means (the picker window quits).
  event->ignore();
  EventGate::RunWhenIdle([self = QPointer<NativeWindow>(this)] {
    if (!self || !self->window_) return;
    self->window_->DispatchCloseRequest();
    RepaintAllWindows();
  });
}

bool NativeWindow::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate && window_) {
    window_->DispatchActivate();
    RepaintAllWindows();
  }
  return handled;
}

void RepaintAllWindows() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = dynamic_cast<NativeWindow*>(widget)) window->Content().UpdateIfChanged();
}

}  // namespace fw::qt
