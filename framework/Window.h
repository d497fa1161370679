#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Color.h"
#include "Control.h"
#include "MenuItem.h"
#include "Property.h"

namespace fw {

class Window;
namespace detail {
void ShowWindowsHeldAtStartup();
}

using MenuHandler = std::function<bool()>;

// A top-level window. Subclasses handle its events by overriding the
// Event_ methods; the framework raises them on the user-interface thread.
// Windows are made with new and belong to the framework from then on:
// Runtime::Exit destroys those still alive (deleting one earlier is fine).
class Window : public Object {
 public:
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  const PropertyTable& StoredProperties() const override;

  // Builds the native window, raises Layout, CreateControls and
  // AddMenuHandlers, registers the window under className and shows it when
  // Visible. Call once, right after the object is made.
  void Constructor(const std::string& className);
  // The window registered under className, or nullptr.
  static Window* GetImplicitWindow(const std::string& className);
  // Every live window, in creation order.
  static std::vector<Window*> AllWindows();

  // Stored properties (sizes and positions in points).
  int32_t Placement = 0, MinWidth = 64, MinHeight = 64, MaxWidth = 32000, MaxHeight = 32000;
  int32_t Frame = 0, MacProcId = 0;
  bool Composite = false, HasBackColor = false;
  Color BackColor{0xFFFFFF};
  bool FullScreen = false, MenuBarVisible = true, CloseButton = true, Resizeable = true;
  bool LiveResize = true, MaximizeButton = true, MinimizeButton = true, FullScreenButton = false;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetWidth(int32_t w);
  void SetHeight(int32_t h);
  // Global screen position of the window, in points; read from and written to
  // the native window once it exists. Setting either raises Moved.
  int32_t Top() const;
  int32_t Left() const;
  void SetTop(int32_t top);
  void SetLeft(int32_t left);
  // A window wholly off every screen (a place saved on a monitor that is
  // gone) is brought onto the main screen, as near its place as it fits; a
  // window that shows at least in part stays where it is.
  void KeepOnScreen();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  fw::MenuBar* MenuBar() const { return menuBar_; }
  void SetMenuBar(fw::MenuBar* bar);

  // Puts the window on screen and in front; during start-up only once the
  // application's Open event has ended.
  void Show();
  void Hide();
  void Minimize();
  // Closes the window as the close button does: raises Event_Close.
  void Close();

  // Makes a new control of class T for this window, owned by it but not yet
  // registered (the framework's Window.__New).
  template <class T>
  T* New() {
    auto control = std::make_unique<T>();
    T* raw = control.get();
    raw->window_ = this;
    owned_.push_back(std::move(control));
    return raw;
  }
  // Registers a control made by New under name.
  void AddControl(const std::string& name, Control* control);
  // The control registered under name, or nullptr.
  Control* ControlByName(const std::string& name) const;
  // Registered controls in registration order.
  const std::vector<Control*>& Controls() const { return controls_; }

  void AddMenuHandler(const std::string& itemName, MenuHandler handler);
  const MenuHandler* FindMenuHandler(const std::string& itemName) const;

  // True once Constructor has built the native window.
  bool HasNativeWindow() const { return native_; }

  // Native side: device pixels per point, read from the native window.
  // Throws ObjCException when the query fails.
  double BackingScaleFactor() const;

  // Entry points for the native side; each runs the handler through the
  // framework's exception handling and sets the keyboard state for KeyDown.
  void DispatchKeyDown(const std::string& key, bool shift, bool option);
  void DispatchMoved();
  void DispatchActivate();
  void DispatchCloseRequest();

  // Events; the defaults do nothing (Close's default destroys nothing either:
  // the window stays registered until the application ends).
  virtual void Event_Layout() {}
  virtual void Event_CreateControls() {}
  virtual void Event_AddMenuHandlers() {}
  virtual void Event_EnableMenuItems() {}
  virtual void Event_Close() {}
  virtual void Event_Moved() {}
  virtual void Event_Activate() {}
  // Returns True when the key was handled.
  virtual bool Event_KeyDown(const std::string& /*key*/) { return false; }

 private:
  friend void detail::ShowWindowsHeldAtStartup();
  int32_t width_ = 100, height_ = 100, top_ = 0, left_ = 0;
  std::string title_;
  bool visible_ = true;
  bool built_ = false;   // Constructor has finished
  bool shownOnce_ = false;
  bool showHeld_ = false;  // shown during start-up: on screen once it ends
  bool native_ = false;  // the backend holds a native window for it
  fw::MenuBar* menuBar_ = nullptr;
  std::string className_;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> controls_;
  std::map<std::string, Control*> controlsByName_;
  std::map<std::string, MenuHandler> menuHandlers_;
};

}  // namespace fw
