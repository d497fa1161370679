#include "Picture.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "Diagnostics.h"
#include "FolderItem.h"
#include "Graphics.h"
#include "Png.h"

namespace fw {

Picture::Picture(int32_t width, int32_t height, double pixelsPerPoint)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixelsPerPoint_(pixelsPerPoint > 0 ? pixelsPerPoint : 1.0),
      pixels_(size_t(width_) * size_t(height_), 0xFFFFFFu),
      graphics_(std::make_unique<fw::Graphics>(*this)) {}

Picture::~Picture() = default;

fw::Graphics& Picture::Graphics() { return *graphics_; }

namespace {

std::shared_ptr<Picture> Read(const std::string& path, int32_t maxWidth, int32_t maxHeight, std::string& error) {
  return Png::Read(path, error, uint32_t(std::max(maxWidth, 0)), uint32_t(std::max(maxHeight, 0)));
}

}  // namespace

Picture::Picture(const Picture& other) : Picture(other, other.pixelsPerPoint_) {}

Picture::Picture(const Picture& other, double pixelsPerPoint)
    : width_(other.width_),
      height_(other.height_),
      pixelsPerPoint_(pixelsPerPoint > 0 ? pixelsPerPoint : 1.0),
      pixels_(other.pixels_),
      graphics_(std::make_unique<fw::Graphics>(*this)) {}

std::shared_ptr<Picture> Picture::Open(const FolderItem& file) { return OpenPath(file.NativePath()); }

std::shared_ptr<Picture> Picture::Open(const FolderItem& file, int32_t maxWidth, int32_t maxHeight,
                                       std::string& error) {
  return Read(file.NativePath(), maxWidth, maxHeight, error);
}

std::shared_ptr<Picture> Picture::OpenPath(const std::string& path) {
  std::string error;
  std::shared_ptr<Picture> picture = Read(path, INT32_MAX, INT32_MAX, error);
  // A missing file is an ordinary answer; a file that is there but cannot be
  // read deserves a word to whoever watches stderr.
  struct stat info;
  if (!picture && ::stat(path.c_str(), &info) == 0) Diagnose("cannot read picture " + path + ": " + error);
  return picture;
}

void Picture::Save(const std::string& path) const { Png::Write(*this, path); }

}  // namespace fw
