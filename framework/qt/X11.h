#pragma once
#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>
#include <cstdint>
#include <string>

struct xcb_connection_t;

// The few things the desktop backend asks of the X server itself, past Qt.
namespace fw::qt {

// What the command line tells Qt of where to show: "-platform NAME" and
// "-display NAME" (also with two dashes, as Qt reads them); "" where not given.
struct QtArguments {
  std::string platform, display;
};
QtArguments ReadQtArguments(int argc, char** argv);

// Why the X display that DISPLAY names cannot be used; "" when it can.
std::string DisplayProblem();

// Whether the program's connection to the X server has broken.
bool DisplayConnectionBroken();

// Where the pointer is on the root window, in device pixels, asked on a
// connection of its own: Qt's connection is read by Qt's event thread, which
// every reply would wake besides the asking thread, at every capture tick.
class PointerQuery {
 public:
  PointerQuery() = default;
  ~PointerQuery();
  PointerQuery(const PointerQuery&) = delete;
  PointerQuery& operator=(const PointerQuery&) = delete;
  // False when the program is not on X11 or the server does not answer.
  bool Position(QPoint& position);

 private:
  xcb_connection_t* connection_ = nullptr;
  uint32_t root_ = 0;
};

// Sets the title the window manager shows for the window to the empty text
// (Qt puts the program's name in place of an empty title).
void ShowEmptyTitle(WId window);

// Reports every window that the X server destroys, by its id: the program's
// own, and one that another client destroyed under the program.
class DestroyWatch : public QAbstractNativeEventFilter {
 public:
  explicit DestroyWatch(std::function<void(WId)> destroyed) : destroyed_(std::move(destroyed)) {}
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void(WId)> destroyed_;
};

}  // namespace fw::qt
