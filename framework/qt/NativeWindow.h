#pragma once
#include <QMainWindow>
#include <QMargins>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>

class QMenuBar;

namespace fw {
class Window;
class MenuItem;
}  // namespace fw

namespace fw::qt {

class ContentView;

// The top-level window of one framework window: its menu bar above a
// content area of exactly the window's Width x Height points. Keys, moves,
// activation and the close button go to the framework window.
class NativeWindow : public QMainWindow {
 public:
  explicit NativeWindow(fw::Window& window);

  fw::Window* FrameworkWindow() const { return window_; }
  ContentView& Content() const { return *content_; }
  QMenuBar& Bar() const { return *bar_; }
  // The framework window is going away: pass nothing more to it.
  void Detach();
  // Copies the framework window's title, buttons, size and menu bar.
  void Sync();
  // Another client destroyed the native window: that closes it.
  void NativeWindowDestroyed();
  // Places the window, not shown yet, with its frame in the middle of the
  // main screen. A window manager tells the frame only once it has framed
  // a window: until this one is, the frame of a window already shown stands
  // in for its own, and the place is put right once when its own is known.
  void CentreOnScreen();

 protected:
  // Every Tab, Shift+Tab included, must reach the window's KeyDown instead of
  // moving the focus.
  bool focusNextPrevChild(bool) override { return false; }
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The menu tree the window shows: its own bar, else the application's.
  fw::MenuItem* MenuTree() const;
  void SyncTitle();
  void SyncFlags();
  void SyncSize();
  void PlaceCentred(const QMargins& frame);
  // Puts the centred place right once the window's own frame is known.
  void CentreByOwnFrame();
  // Runs f on the framework window from the event loop, once no command is
  // running; nothing when the window has gone by then.
  void WhenIdle(std::function<void(fw::Window&)> f);

  fw::Window* window_;
  ContentView* content_;
  QMenuBar* bar_;
  const fw::MenuItem* builtFrom_ = nullptr;
  // What was last handed to Qt: handing the same again is not free (new
  // flags re-create the native window, an empty title becomes the program's
  // name).
  std::optional<Qt::WindowFlags> appliedFlags_;
  std::optional<std::string> appliedTitle_;
  // Where CentreOnScreen put the window and the frame it went by, until the
  // window's own frame is known.
  std::optional<QPoint> centredAt_;
  QMargins centredBy_;
};

// Program code may have changed what any control shows (a label's text, a
// control shown or hidden) without asking for a repaint: after it has run,
// every window whose controls changed is repainted.
void RepaintAllWindows();

}  // namespace fw::qt
