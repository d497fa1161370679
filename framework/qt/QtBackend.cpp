#include "QtBackend.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <unordered_map>

#include "ContentView.h"
#include "ControlPainter.h"
#include "DisplayScale.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "FolderItem.h"
#include "NativeWindow.h"
#include "ProgramName.h"
#include "Runtime.h"
#include "SessionEnd.h"
#include "Timer.h"
#include "WakeSet.h"
#include "Window.h"
#include "X11.h"

namespace fw::qt {
namespace {

class QtBackend final : public fw::Backend {
 public:
  QtBackend(int& argc, char** argv) : destroyWatch_([this](WId id) { NativeWindowGone(id); }) {
    if (!QApplication::instance()) {
      const QtArguments given = ReadQtArguments(argc, argv);
      // A display named on the command line is the program's, and so the
      // display of the commands it runs (screencapture reads it).
      if (!given.display.empty()) setenv("DISPLAY", given.display.c_str(), 1);
      // Capture and the pointer are read from X11: Qt must not pick Wayland.
      // The choice is Qt's alone: the commands the program runs get the
      // environment the user gave it.
      const bool chosen = !std::getenv("QT_QPA_PLATFORM");
      if (chosen) setenv("QT_QPA_PLATFORM", "xcb", 1);
      // Qt aborts without a display; the program says which one it missed.
      const std::string platform = given.platform.empty() ? std::getenv("QT_QPA_PLATFORM") : given.platform;
      if (platform.rfind("xcb", 0) == 0) {
        const std::string problem = DisplayProblem();
        if (!problem.empty()) {
          if (chosen) unsetenv("QT_QPA_PLATFORM");
          throw std::runtime_error(problem);
        }
      }
      // Qt would make its runtime folder under $TMPDIR, or at /, and leave it.
      fw::SpecialFolder::ProvideRuntimeFolder();
      ownedApp_ = std::make_unique<QApplication>(argc, argv);
      QCoreApplication::setApplicationName(QString::fromStdString(fw::ProgramName()));
      if (chosen) unsetenv("QT_QPA_PLATFORM");
    }
    // Closing a window is the framework's business, never Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
    QuitOnSessionSignals();
    QuitWhenDisplayLost();
    QCoreApplication::instance()->installNativeEventFilter(&destroyWatch_);
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
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(&destroyWatch_);
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

  void ServeEvents(int ms, const std::vector<int>& wakeOn) override {
    // Every event is served while a command runs, input included: held back
    // in Qt's queue, a key press is read later against the modifiers held
    // then, and Ctrl+Q becomes a plain q. The program's reactions to the
    // input wait at the gate until the command has ended. The loop sleeps
    // until an event, a timer or the command wakes it: the command's
    // descriptors and the time limit are gathered into one descriptor, so
    // the loop watches one more source only.
    const WakeSet wake(ms, wakeOn);
    if (!wake.Valid()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, std::max(0, std::min(ms, 5)));
      return;
    }
    bool woken = false;
    QSocketNotifier notifier(wake.Descriptor(), QSocketNotifier::Read);
    // Once is enough: a command's end stays readable, and a wait nested in
    // an event served here must not spin on it.
    QObject::connect(&notifier, &QSocketNotifier::activated, &notifier, [&woken, &notifier] {
      notifier.setEnabled(false);
      woken = true;
    });
    while (!woken) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }

  void Post(std::function<void()> f) override { QTimer::singleShot(0, QCoreApplication::instance(), std::move(f)); }

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
    // A window placed before it first shows would be mapped with its frame,
    // not its client area, at the place (north-west gravity). Qt takes the
    // client area's place (static gravity) from a geometry that changed on
    // the native window right before it is shown.
    if (!widget->isVisible() && widget->testAttribute(Qt::WA_Moved)) {
      const QRect placed = widget->geometry();
      widget->winId();
      widget->windowHandle()->setGeometry(placed.translated(1, 0));
      widget->windowHandle()->setGeometry(placed);
    }
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
    // The client area's origin, the point MoveWindow sets: the frame's
    // origin would differ by the title bar under a window manager, and the
    // window would creep at every start.
    const QPoint p = widget->geometry().topLeft();
    return {p.x(), p.y()};
  }

  void MoveWindow(fw::Window& w, int32_t left, int32_t top) override {
    NativeWindow* widget = Find(w);
    if (!widget) return;
    widget->setGeometry(QRect(QPoint(left, top), widget->size()));
  }

  void CentreWindow(fw::Window& w) override {
    if (NativeWindow* widget = Find(w)) widget->CentreOnScreen();
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

  fw::PointerPosition MousePosition() override {
    // Qt rounds the pointer's device position to the nearest point, which on
    // a scaled screen puts its last device pixels in a point beyond its
    // edge. Asked in device pixels, the pointer is in the point that owns
    // its pixel, as screencapture counts them.
    if (QPoint device; pointer_.Position(device))
      return {PointOfDevicePixel(device), fw::DevicePixel{device.x(), device.y()}};
    const QPoint p = QCursor::pos();
    return {{p.x(), p.y()}, std::nullopt};
  }

  fw::ScreenInfo MainScreen() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QSize size = screen->geometry().size();
    return {size.width(), size.height()};
  }

  std::vector<fw::ScreenRect> Screens() override {
    std::vector<fw::ScreenRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&screens](const QScreen* screen) {
      const QRect g = screen->geometry();
      screens.push_back({g.x(), g.y(), g.width(), g.height()});
    };
    if (primary) add(primary);
    for (const QScreen* screen : QGuiApplication::screens())
      if (screen != primary) add(screen);
    return screens;
  }

  bool OpenURL(const std::string& url) override {
    // A web address without its scheme ("www.example.com") opens too.
    const QUrl target = QUrl::fromUserInput(QString::fromStdString(url));
    return target.isValid() && QDesktopServices::openUrl(target);
  }

 private:
  void NativeWindowGone(WId id) {
    for (auto& [window, widget] : windows_)
      if (widget && widget->testAttribute(Qt::WA_WState_Created) && widget->internalWinId() == id)
        widget->NativeWindowDestroyed();
  }

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

  DestroyWatch destroyWatch_;
  PointerQuery pointer_;
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
