#pragma once
#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>
#include <string>

// The few things the desktop backend asks of the X server itself, past Qt.
namespace fw::qt {

// Why the X display that DISPLAY names cannot be used; "" when it can.
std::string DisplayProblem();

// Whether the program's connection to the X server has broken.
bool DisplayConnectionBroken();

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
