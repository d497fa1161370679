#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Color.h"

namespace fw {

class Graphics;
class FolderItem;

// A raster of 32-bit pixels 0xTTRRGGBB, exact: no colour management. TT is
// the pixel's transparency: 0, opaque, for every pixel the program draws;
// up to 255, fully transparent, only where a picture file says so.
class Picture {
 public:
  // A new picture of width x height pixels, filled white, shown at
  // pixelsPerPoint of its pixels per point (a picture drawn at a display's
  // own scale lands on device pixels one for one).
  Picture(int32_t width, int32_t height, double pixelsPerPoint = 1.0);
  // A copy with its own pixels and drawing surface.
  Picture(const Picture& other);
  // A copy shown at pixelsPerPoint of its pixels per point.
  Picture(const Picture& other, double pixelsPerPoint);
  Picture& operator=(const Picture&) = delete;
  ~Picture();

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  double PixelsPerPoint() const { return pixelsPerPoint_; }
  // The picture's drawing surface; the same object at every call.
  fw::Graphics& Graphics();

  // Reads a PNG file; nullptr when the file is missing or not a readable PNG
  // (a file that is there but cannot be read is reported).
  static std::shared_ptr<Picture> Open(const FolderItem& file);
  static std::shared_ptr<Picture> OpenPath(const std::string& path);
  // Reads a PNG file no wider than maxWidth and no taller than maxHeight; a
  // larger one is refused from its header, before it is decoded. nullptr,
  // with the reason in error, when the picture cannot be had.
  static std::shared_ptr<Picture> Open(const FolderItem& file, int32_t maxWidth, int32_t maxHeight,
                                       std::string& error);
  // Writes the picture as PNG; throws IOException on failure.
  void Save(const std::string& path) const;

  Color PixelAt(int32_t x, int32_t y) const { return Color(pixels_[size_t(y) * size_t(width_) + size_t(x)]); }
  void SetPixelAt(int32_t x, int32_t y, Color c) {
    Touch();
    pixels_[size_t(y) * size_t(width_) + size_t(x)] = c.RGB();
  }
  const uint32_t* Data() const { return pixels_.data(); }
  uint32_t* Data() {
    Touch();
    return pixels_.data();
  }

  // Changes at every call that gives write access to the pixels, and is
  // never the same for two pictures: what was made from a picture (a
  // converted copy for the screen) holds while its version does.
  uint64_t Version() const { return version_; }

 private:
  void Touch() { version_ = ++versions_; }
  // Pictures live on the user-interface thread.
  inline static uint64_t versions_ = 0;
  uint64_t version_ = ++versions_;
  int32_t width_, height_;
  double pixelsPerPoint_;
  std::vector<uint32_t> pixels_;
  std::unique_ptr<fw::Graphics> graphics_;
};

}  // namespace fw
