#pragma once
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <string>
#include <vector>

namespace fw {
class Window;
class Control;
class RectControl;
class Label;
class Rectangle;
class Canvas;
class Picture;
}  // namespace fw

namespace fw::qt {

// What a window's controls show (place, visibility, texts, colours,
// pictures), kept to tell where any of it has changed: the program sets
// label texts and flags without telling the view. A call with nothing
// changed compares in place, allocating nothing.
class ShownState {
 public:
  // Where what is shown differs from the last call: the rectangle of each
  // control that changed, where it was and where it is; whole (the window's
  // area) at the first call and when controls were added. Remembers what
  // is shown now.
  QRegion Update(const fw::Window& window, const QRect& whole);

 private:
  struct Shown {
    const fw::RectControl* control = nullptr;
    // The control's kind, found once.
    const fw::Label* label = nullptr;
    const fw::Rectangle* box = nullptr;
    const fw::Canvas* canvas = nullptr;
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool visible = false;
    std::string text, font;
    float textSize = 0;
    int32_t textAlign = 0;
    uint32_t textColor = 0;
    bool bold = false, italic = false, underline = false;
    uint32_t fill = 0, topLeft = 0, bottomRight = 0;
    int32_t border = 0;
    const fw::Picture* backdrop = nullptr;
    uint64_t backdropVersion = 0;
    bool transparent = false;
  };

  std::vector<const fw::Control*> controls_;  // the controls shown_ was made for
  std::vector<Shown> shown_;
};

}  // namespace fw::qt
