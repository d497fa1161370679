#pragma once
#include <cstdint>

#include "Color.h"

namespace fw {

class Picture;

// Drawing on a Picture: exact pixels, no anti-aliasing, everything clipped
// to the picture.
class Graphics {
 public:
  explicit Graphics(Picture& target) : target_(target) {}

  static constexpr int32_t OmittedSize = -10000;  // the source's own width or height

  Color ForeColor{0x000000};

  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height);
  // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // The source rectangle of picture drawn with its top-left at (x, y), scaled
  // to the destination size by nearest neighbour. OmittedSize in any size
  // stands for the picture's own width or height.
  void DrawPicture(const Picture& picture, int32_t x, int32_t y,
                   int32_t destWidth = OmittedSize, int32_t destHeight = OmittedSize,
                   int32_t sourceX = 0, int32_t sourceY = 0,
                   int32_t sourceWidth = OmittedSize, int32_t sourceHeight = OmittedSize);
  // The colour of a pixel; 000000 outside the picture.
  Color Pixel(int32_t x, int32_t y) const;

 private:
  Picture& target_;
};

}  // namespace fw
