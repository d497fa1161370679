#include "MenuItem.h"

#include "Exceptions.h"

namespace fw {

void MenuItem::Append(std::unique_ptr<MenuItem> item) {
  if (!item) throw NilObjectException("MenuItem.Append: no item");
  children_.push_back(std::move(item));
}

MenuItem* MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name == name) return child.get();
  }
  return nullptr;
}

MenuItem* MenuItem::Lookup(const std::string& name) {
  if (Name == name) return this;
  for (const auto& child : children_) {
    if (MenuItem* found = child->Lookup(name)) return found;
  }
  return nullptr;
}

}  // namespace fw
