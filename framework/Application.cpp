#include "Application.h"

#include "FrameworkState.h"

namespace fw {

namespace {
Application*& Registered() {
  static Application* app = nullptr;
  return app;
}
}  // namespace

void detail::ClearAppObject() { Registered() = nullptr; }

void Application::RegisterAppObject(Application* app) { Registered() = app; }

Application* Application::GetAppObject() { return Registered(); }

void Application::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  menuHandlers_[itemName] = std::move(handler);
}

const MenuHandler* Application::FindMenuHandler(const std::string& itemName) const {
  auto it = menuHandlers_.find(itemName);
  return it == menuHandlers_.end() || !it->second ? nullptr : &it->second;
}

}  // namespace fw
