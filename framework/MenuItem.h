#pragma once
#include <memory>
#include <string>
#include <vector>

namespace fw {

// A node of the menu tree. A separator is an item whose Text is "-".
class MenuItem {
 public:
  MenuItem() = default;
  virtual ~MenuItem() = default;
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Name;
  std::string Text;
  // Shortcut text as given ("Cmd+Q", "Cmd+Option+m"); Cmd is Ctrl and Option
  // is Alt on the desktop.
  std::string KeyboardShortcut;
  bool AutoEnable = false;
  bool Visible = true;
  bool Enabled = false;
  bool Checked = false;

  // Adds item as the last child; the tree owns it.
  void Append(std::unique_ptr<MenuItem> item);
  // The direct child of that Name, or nullptr.
  MenuItem* Child(const std::string& name) const;
  // The item of that Name anywhere below this one (this one included), or nullptr.
  MenuItem* Lookup(const std::string& name);
  int Count() const { return int(children_.size()); }
  // Child at position i, from 0.
  MenuItem* Item(int i) const { return children_.at(size_t(i)).get(); }
  bool IsSeparator() const { return Text == "-"; }

 private:
  std::vector<std::unique_ptr<MenuItem>> children_;
};

class MenuBar : public MenuItem {};
// Choosing it quits the application; no handler is needed.
class QuitMenuItem : public MenuItem {};
class ApplicationMenuItem : public MenuItem {};

}  // namespace fw
