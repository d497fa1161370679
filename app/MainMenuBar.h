#pragma once
#include "framework/MenuItem.h"

namespace MainMenuBar {

// The one menu bar, shared by the application and the picker window: an Edit
// menu and a View menu, 35 items found by their Name.
class MainMenuBar : public fw::MenuBar {
 public:
  // The shared bar, built with its whole tree on the first call.
  static MainMenuBar* Instance();
  // Drops the shared bar at program end: the reference goes first, then the bar.
  static void ReleaseInstance();

  // Builds the tree: the Edit menu, then the View menu.
  void Constructor();
  void Untitled0();  // items 1 to 15: the Edit menu
  void Untitled1();  // items 16 to 35: the View menu
};

}  // namespace MainMenuBar
