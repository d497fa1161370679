#include "QtBackend.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <xcb/xcb.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <unordered_map>

#include "ContentView.h"
#include "ControlPainter.h"
#include "DisplayScale.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "NativeWindow.h"
#include "Runtime.h"
#include "Timer.h"
#include "Window.h"

namespace fw::qt {
namespace {

class QtBackend final : public fw::Backend {
 public:
  QtBackend(int& argc, char** argv) {
    if (!QApplication::instance()) ownedApp_ = std::make_unique<QApplication>(argc, argv);
    // Closing a window is the framework's business, never Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
  }

  ~QtBackend() override {
    for (auto& [timer, qtimer] : timers_) delete qtimer;
    for (auto& [window, widget] : windows_) {
      if (!widget) continue;
      widget->Detach();
      delete widget;
    }
    // Windows and timers let go during their own events wait for the event
    // loop, which may not run again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  int RunEventLoop() override {
    // A quit asked for before the loop started (during start-up) would be
    // lost on Qt's side: the loop would never end.
    if (quitRequested_) return exitCode_;
    return QApplication::exec();
  }

  void QuitEventLoop(int code) override {
    quitRequested_ = true;
    exitCode_ = code;
    QCoreApplication::exit(code);
  }

  void ServeEvents(int ms) override {
    // Paints and timers go on while a command runs; the user's input waits
    // until the command has ended, so no menu command or key runs in the
    // middle of the program's own work.
    EventGate::EnterWait();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, std::max(0, ms));
    EventGate::LeaveWait();
  }

  void CreateNativeWindow(fw::Window& w) override {
    auto* widget = new NativeWindow(w);
    windows_[&w] = widget;
  }

  void DestroyNativeWindow(fw::Window& w) override {
    auto it = windows_.find(&w);
    if (it == windows_.end()) return;
    if (NativeWindow* widget = it->second) {
      widget->Detach();
      widget->hide();
      // It may be in the middle of one of its own events.
      widget->deleteLater();
    }
    windows_.erase(it);
  }

  void ShowWindow(fw::Window& w) override {
    NativeWindow* widget = Find(w);
    if (!widget) return;
    widget->Sync();
    if (widget->isMinimized())
      widget->showNormal();
    else
      widget->show();
    // Without this a window is not active under no window manager, and its
    // shortcuts do not fire.
    widget->raise();
    widget->activateWindow();
  }

  void HideWindow(fw::Window& w) override {
    if (NativeWindow* widget = Find(w)) widget->hide();
  }

  void MinimizeWindow(fw::Window& w) override {
    if (NativeWindow* widget = Find(w)) widget->showMinimized();
  }

  fw::Point WindowPosition(const fw::Window& w) override {
    NativeWindow* widget = Find(w);
    if (!widget) return {};
    const QPoint p = widget->pos();
    return {p.x(), p.y()};
  }

  void MoveWindow(fw::Window& w, int32_t left, int32_t top) override {
    if (NativeWindow* widget = Find(w)) widget->move(left, top);
  }

  void UpdateWindow(fw::Window& w) override {
    if (NativeWindow* widget = Find(w)) widget->Sync();
  }

  void RefreshControl(fw::Window& w, fw::RectControl& c) override {
    if (NativeWindow* widget = Find(w)) widget->Content().update(ControlRect(c));
  }

  double ScaleFactor(const fw::Window& w) override {
    NativeWindow* widget = Find(w);
    if (!widget) throw fw::ObjCException("the window has no native window");
    return widget->devicePixelRatioF();
  }

  void StartTimer(fw::Timer& timer, int32_t periodMs) override {
    QPointer<QTimer>& qtimer = timers_[&timer];
    if (!qtimer) {
      qtimer = new QTimer;
      // Qt's default coarse timers drift by some percent; the capture tick
      // keeps its period.
      qtimer->setTimerType(Qt::PreciseTimer);
      QObject::connect(qtimer, &QTimer::timeout, qtimer, [t = &timer] {
        fw::Runtime::CallWithExceptionHandling([t] { t->Fire(); });
        RepaintAllWindows();
      });
    }
    qtimer->start(std::max<int32_t>(1, periodMs));
  }

  void StopTimer(fw::Timer& timer) override {
    auto it = timers_.find(&timer);
    if (it == timers_.end()) return;
    if (QTimer* qtimer = it->second) {
      qtimer->stop();
      // The timer may be stopped from its own tick.
      qtimer->deleteLater();
    }
    timers_.erase(it);
  }

  fw::Point MousePosition() override {
    // Qt rounds the pointer's device position to the nearest point, which on
    // a scaled screen puts its last device pixels in a point beyond its
    // edge. Asked in device pixels, the pointer is in the point that owns
    // its pixel, as screencapture counts them.
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection()) {
      xcb_connection_t* connection = x11->connection();
      const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
      std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
          xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr), &std::free);
      if (reply) return PointOfDevicePixel(QPoint(reply->root_x, reply->root_y));
    }
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
  }

  fw::ScreenInfo MainScreen() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QSize size = screen->geometry().size();
    return {size.width(), size.height()};
  }

  bool OpenURL(const std::string& url) override {
    // A web address without its scheme ("www.example.com") opens too.
    const QUrl target = QUrl::fromUserInput(QString::fromStdString(url));
    return target.isValid() && QDesktopServices::openUrl(target);
  }

 private:
  // A screen keeps its top-left corner in both device pixels and points.
  static fw::Point PointOfDevicePixel(QPoint d) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    for (const QScreen* candidate : QGuiApplication::screens()) {
      const QRect g = candidate->geometry();
      const double scale = candidate->devicePixelRatio();
      if (QRect(g.topLeft(), QSize(int(std::ceil(g.width() * scale)), int(std::ceil(g.height() * scale)))).contains(d))
        screen = candidate;
    }
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const double scale = screen ? screen->devicePixelRatio() : 1.0;
    return {int32_t(origin.x() + fw::PointAt(d.x() - origin.x(), scale)),
            int32_t(origin.y() + fw::PointAt(d.y() - origin.y(), scale))};
  }

  NativeWindow* Find(const fw::Window& w) const {
    auto it = windows_.find(&w);
    return it == windows_.end() ? nullptr : it->second.data();
  }

  std::unique_ptr<QApplication> ownedApp_;
  std::unordered_map<const fw::Window*, QPointer<NativeWindow>> windows_;
  std::unordered_map<const fw::Timer*, QPointer<QTimer>> timers_;
  bool quitRequested_ = false;
  int exitCode_ = 0;
};

}  // namespace
}  // namespace fw::qt

std::unique_ptr<fw::Backend> MakeQtBackend(int& argc, char** argv) {
  return std::make_unique<fw::qt::QtBackend>(argc, argv);
}
