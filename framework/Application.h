#pragma once
#include <map>
#include <memory>
#include <string>

#include "MenuItem.h"
#include "Window.h"

namespace fw {

// The application object; the program registers one subclass instance.
class Application {
 public:
  virtual ~Application() = default;

  static void RegisterAppObject(Application* app);
  static Application* GetAppObject();

  fw::MenuBar* MenuBar() const { return menuBar_; }
  void SetMenuBar(fw::MenuBar* bar) { menuBar_ = bar; }

  void AddMenuHandler(const std::string& itemName, MenuHandler handler);
  const MenuHandler* FindMenuHandler(const std::string& itemName) const;

  // Events.
  virtual void Event_Open() {}
  virtual void Event_Close() {}
  virtual void Event_EnableMenuItems() {}

 private:
  fw::MenuBar* menuBar_ = nullptr;
  std::map<std::string, MenuHandler> menuHandlers_;
};

// Brings the menus up to date: enables every item of the bar that has a
// handler registered with the application or the front window (and every
// QuitMenuItem and every menu with items), disables the others, then raises
// EnableMenuItems on the application and on the front window, so that the
// states those handlers write are the ones shown. The native side calls it
// before a menu opens and before a shortcut is dispatched.
void UpdateMenus();
// Runs the command of the item of that name: a QuitMenuItem quits; otherwise
// the front window's handler, else the application's. Returns True when a
// handler took it. Disabled items do nothing.
bool ChooseMenuItem(const std::string& itemName);
// The window that serves menu commands: the active one, else the last shown.
Window* FrontWindow();

}  // namespace fw
