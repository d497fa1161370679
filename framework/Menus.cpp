#include <vector>

#include "Application.h"
#include "FrameworkState.h"
#include "Runtime.h"
#include "System.h"

namespace fw {

namespace {

// The bars whose items are served: the application's and the front
// window's, each once.
std::vector<MenuItem*> ServedBars(Application* app, Window* front) {
  std::vector<MenuItem*> bars;
  if (app != nullptr && app->MenuBar() != nullptr) bars.push_back(app->MenuBar());
  if (front != nullptr && front->MenuBar() != nullptr && (bars.empty() || bars[0] != front->MenuBar())) {
    bars.push_back(front->MenuBar());
  }
  return bars;
}

const MenuHandler* HandlerFor(const std::string& name, Application* app, Window* front) {
  if (front != nullptr) {
    if (const MenuHandler* h = front->FindMenuHandler(name)) return h;
  }
  return app != nullptr ? app->FindMenuHandler(name) : nullptr;
}

// An item can be chosen when something serves it: a handler, the quit
// action, or (for a menu) its children.
void EnableServedItems(MenuItem& item, Application* app, Window* front) {
  for (int i = 0; i < item.Count(); ++i) {
    MenuItem& child = *item.Item(i);
    child.Enabled = child.Count() > 0 || dynamic_cast<QuitMenuItem*>(&child) != nullptr ||
                    HandlerFor(child.Name, app, front) != nullptr;
    EnableServedItems(child, app, front);
  }
}

MenuItem* FindItem(const std::string& name, Application* app, Window* front) {
  for (MenuItem* bar : ServedBars(app, front)) {
    if (MenuItem* item = bar->Lookup(name)) return item;
  }
  return nullptr;
}

}  // namespace

void UpdateMenus() {
  Application* app = Application::GetAppObject();
  Window* front = FrontWindow();
  for (MenuItem* bar : ServedBars(app, front)) EnableServedItems(*bar, app, front);
  if (app != nullptr) Runtime::CallWithExceptionHandling([app] { app->Event_EnableMenuItems(); });
  if (front != nullptr) Runtime::CallWithExceptionHandling([front] { front->Event_EnableMenuItems(); });
}

bool ChooseMenuItem(const std::string& itemName) {
  Application* app = Application::GetAppObject();
  Window* front = FrontWindow();
  MenuItem* item = FindItem(itemName, app, front);
  if (item == nullptr || !item->Enabled) return false;
  if (dynamic_cast<QuitMenuItem*>(item) != nullptr) {
    Quit(0);
    return true;
  }
  const MenuHandler* handler = HandlerFor(itemName, app, front);
  if (handler == nullptr) return false;
  // A copy, so that a handler may register handlers while it runs.
  MenuHandler run = *handler;
  bool handled = false;
  Runtime::CallWithExceptionHandling([&] { handled = run(); });
  return handled;
}

Window* FrontWindow() {
  const std::vector<Window*>& order = detail::FrontOrder();
  for (Window* w : order) {
    if (w->Visible() && w->HasNativeWindow()) return w;
  }
  for (Window* w : order) {
    if (w->HasNativeWindow()) return w;
  }
  return nullptr;
}

}  // namespace fw
