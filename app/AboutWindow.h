#pragma once
#include <cstdint>
#include <string>

#include "framework/Canvas.h"
#include "framework/Label.h"
#include "framework/Window.h"

namespace AboutWindow {

// The About window: icon, name, version, copyright line and the maker's web
// address as a link. Fixed size 280 x 222 points, no title.
class AboutWindow : public fw::Window {
 public:
  // The one About window, made when none exists.
  static AboutWindow* Instance();

  void Event_Layout() override;
  void Event_CreateControls() override;
  void CreateControls0();

  // Controls, looked up by name at every call.
  fw::Label* AboutName();
  fw::Label* AboutVersion();
  fw::Label* AboutVersionNumber();
  fw::Label* CboutCopy();
  fw::Label* AboutURL();
  fw::Canvas* Canvas1();

  // Opens the text the link label shows; returns False.
  bool AboutURL_MouseDown(fw::Label& label, int32_t x, int32_t y);
};

// The stored layouts of the window and its six controls.
namespace Streams {
const std::string& Window();
const std::string& AboutName();
const std::string& AboutVersion();
const std::string& AboutVersionNumber();
const std::string& CboutCopy();
const std::string& AboutURL();
const std::string& Canvas1();
}  // namespace Streams

// The texts the copyright and link labels carry in their streams.
inline constexpr const char* kCopyrightLine = "\u00A9 2026 Tintbeacon";
inline constexpr const char* kWebAddress = "https://tintbeacon.org/";

}  // namespace AboutWindow
