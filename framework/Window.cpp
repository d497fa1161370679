#include "Window.h"

#include <algorithm>
#include <utility>

#include "Backend.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "FrameworkState.h"
#include "PropertyTables.h"
#include "Runtime.h"
#include "System.h"

namespace fw {

namespace {

std::vector<Window*>& Live() {
  static std::vector<Window*> windows;  // creation order
  return windows;
}

std::map<std::string, Window*>& Implicit() {
  static std::map<std::string, Window*> byClass;
  return byClass;
}

void Erase(std::vector<Window*>& v, const Window* w) { v.erase(std::remove(v.begin(), v.end(), w), v.end()); }

}  // namespace

namespace detail {

std::vector<Window*>& FrontOrder() {
  static std::vector<Window*> order;
  return order;
}

void BringToFront(Window& w) {
  Erase(FrontOrder(), &w);
  FrontOrder().insert(FrontOrder().begin(), &w);
}

void ShowWindowsHeldAtStartup() {
  for (Window* w : Live())
    if (std::exchange(w->showHeld_, false) && w->visible_) w->Show();
}

void DestroyAllWindows() {
  while (!Live().empty()) delete Live().back();
}

}  // namespace detail

using props::Field;
using props::Setter;

Window::Window() {
  Live().push_back(this);
  detail::FrontOrder().push_back(this);
}

Window::~Window() {
  // Controls go first so that timers stop before the native window does.
  controlsByName_.clear();
  controls_.clear();
  owned_.clear();
  if (native_ && HasBackend()) {
    try {
      CurrentBackend().DestroyNativeWindow(*this);
    } catch (const std::exception& e) {
      Runtime::UnhandledException(e);
    }
  }
  Erase(Live(), this);
  Erase(detail::FrontOrder(), this);
  for (auto it = Implicit().begin(); it != Implicit().end();) {
    it = it->second == this ? Implicit().erase(it) : std::next(it);
  }
}

const PropertyTable& Window::StoredProperties() const {
  static const PropertyTable table = {
      Field("Placement", &Window::Placement),
      Setter("Width", &Window::SetWidth),
      Setter("Height", &Window::SetHeight),
      Field("MinWidth", &Window::MinWidth),
      Field("MinHeight", &Window::MinHeight),
      Field("MaxWidth", &Window::MaxWidth),
      Field("MaxHeight", &Window::MaxHeight),
      Field("Frame", &Window::Frame),
      Field("Composite", &Window::Composite),
      Field("HasBackColor", &Window::HasBackColor),
      Field("BackColor", &Window::BackColor),
      Setter("Title", &Window::SetTitle),
      Setter("Visible", &Window::SetVisible),
      Field("FullScreen", &Window::FullScreen),
      Field("MenuBarVisible", &Window::MenuBarVisible),
      Field("CloseButton", &Window::CloseButton),
      Field("Resizeable", &Window::Resizeable),
      Field("LiveResize", &Window::LiveResize),
      Field("MaximizeButton", &Window::MaximizeButton),
      Field("MinimizeButton", &Window::MinimizeButton),
      Field("FullScreenButton", &Window::FullScreenButton),
      Field("MacProcId", &Window::MacProcId),
  };
  return table;
}

void Window::Constructor(const std::string& className) {
  if (native_ || built_) throw RuntimeException("Window.Constructor ran twice for " + className);
  className_ = className;
  CurrentBackend().CreateNativeWindow(*this);
  native_ = true;
  try {
    Event_Layout();
    Event_CreateControls();
    Event_AddMenuHandlers();
  } catch (...) {
    // A half-built window must not keep timers running or stay on screen.
    controlsByName_.clear();
    controls_.clear();
    owned_.clear();
    native_ = false;
    CurrentBackend().DestroyNativeWindow(*this);
    throw;
  }
  Implicit()[className] = this;
  built_ = true;
  if (visible_) Show();
}

Window* Window::GetImplicitWindow(const std::string& className) {
  auto it = Implicit().find(className);
  return it == Implicit().end() ? nullptr : it->second;
}

std::vector<Window*> Window::AllWindows() { return Live(); }

void Window::SetWidth(int32_t w) {
  width_ = w;
  if (native_) CurrentBackend().UpdateWindow(*this);
}

void Window::SetHeight(int32_t h) {
  height_ = h;
  if (native_) CurrentBackend().UpdateWindow(*this);
}

int32_t Window::Top() const { return native_ ? CurrentBackend().WindowPosition(*this).y : top_; }

int32_t Window::Left() const { return native_ ? CurrentBackend().WindowPosition(*this).x : left_; }

// A move by the program is a move as one by the user is: the window's
// Moved handler learns the new place at once, not when the desktop reports
// it, which may come after a quit.
void Window::SetTop(int32_t top) {
  if (native_) CurrentBackend().MoveWindow(*this, Left(), top);
  top_ = top;
  if (built_) DispatchMoved();
}

void Window::SetLeft(int32_t left) {
  if (native_) CurrentBackend().MoveWindow(*this, left, Top());
  left_ = left;
  if (built_) DispatchMoved();
}

void Window::KeepOnScreen() {
  const std::vector<ScreenRect> screens = CurrentBackend().Screens();
  if (screens.empty()) return;
  const int64_t left = Left(), top = Top(), width = Width(), height = Height();
  for (const ScreenRect& s : screens)
    if (left < int64_t(s.Left) + s.Width && left + width > s.Left && top < int64_t(s.Top) + s.Height &&
        top + height > s.Top)
      return;
  // Larger than the screen: its top-left corner stays on it.
  auto fit = [](int64_t at, int64_t size, int64_t start, int64_t length) {
    return int32_t(std::max(start, std::min(at, start + length - size)));
  };
  const ScreenRect& main = screens.front();
  const int32_t newLeft = fit(left, width, main.Left, main.Width), newTop = fit(top, height, main.Top, main.Height);
  if (newTop != top) SetTop(newTop);
  if (newLeft != left) SetLeft(newLeft);
}

void Window::SetTitle(const std::string& title) {
  title_ = title;
  if (native_) CurrentBackend().UpdateWindow(*this);
}

void Window::SetVisible(bool visible) {
  // While the window is being built the flag only decides whether
  // Constructor shows it at the end, with all its controls.
  if (!built_) {
    visible_ = visible;
  } else if (visible) {
    Show();
  } else {
    Hide();
  }
}

void Window::SetMenuBar(fw::MenuBar* bar) {
  menuBar_ = bar;
  if (native_) CurrentBackend().UpdateWindow(*this);
}

void Window::Show() {
  visible_ = true;
  if (!built_) return;
  if (EventGate::StartingUp()) {
    showHeld_ = true;
    return;
  }
  // Placement 2 opens the window in the middle of the main screen, the first
  // time only: later the window shows where the user left it.
  if (!shownOnce_ && Placement == 2) CurrentBackend().CentreWindow(*this);
  shownOnce_ = true;
  CurrentBackend().ShowWindow(*this);
  detail::BringToFront(*this);
}

void Window::Hide() {
  visible_ = false;
  showHeld_ = false;
  if (built_) CurrentBackend().HideWindow(*this);
}

void Window::Minimize() {
  if (built_) CurrentBackend().MinimizeWindow(*this);
}

void Window::Close() {
  Event_Close();
  // The window stays registered; hidden, it can be shown again.
  Hide();
}

void Window::AddControl(const std::string& name, Control* control) {
  if (control == nullptr) throw NilObjectException("Window.AddControl: no control for " + name);
  if (control->window_ != this) throw RuntimeException("Window.AddControl: " + name + " was made for another window");
  if (controlsByName_.count(name) != 0) throw RuntimeException("Window.AddControl: a control named " + name + " exists");
  control->Name = name;
  controls_.push_back(control);
  controlsByName_[name] = control;
}

Control* Window::ControlByName(const std::string& name) const {
  auto it = controlsByName_.find(name);
  return it == controlsByName_.end() ? nullptr : it->second;
}

void Window::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  menuHandlers_[itemName] = std::move(handler);
}

const MenuHandler* Window::FindMenuHandler(const std::string& itemName) const {
  auto it = menuHandlers_.find(itemName);
  return it == menuHandlers_.end() || !it->second ? nullptr : &it->second;
}

double Window::BackingScaleFactor() const { return CurrentBackend().ScaleFactor(*this); }

void Window::DispatchKeyDown(const std::string& key, bool shift, bool option) {
  const bool oldShift = Keyboard::ShiftKey(), oldOption = Keyboard::OptionKey();
  Keyboard::SetState(shift, option);
  Runtime::CallWithExceptionHandling([&] { Event_KeyDown(key); });
  Keyboard::SetState(oldShift, oldOption);
}

void Window::DispatchMoved() {
  Runtime::CallWithExceptionHandling([this] { Event_Moved(); });
}

void Window::DispatchActivate() {
  detail::BringToFront(*this);
  Runtime::CallWithExceptionHandling([this] { Event_Activate(); });
}

void Window::DispatchCloseRequest() {
  Runtime::CallWithExceptionHandling([this] { Close(); });
}

}  // namespace fw
