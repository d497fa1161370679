#include "Picture.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "FolderItem.h"
#include "Graphics.h"
#include "Png.h"

namespace fw {

Picture::Picture(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(size_t(width_) * size_t(height_), 0xFFFFFFu),
      graphics_(std::make_unique<fw::Graphics>(*this)) {}

Picture::~Picture() = default;

fw::Graphics& Picture::Graphics() { return *graphics_; }

std::shared_ptr<Picture> Picture::Open(const FolderItem& file) { return OpenPath(file.NativePath()); }

std::shared_ptr<Picture> Picture::OpenPath(const std::string& path) {
  std::string error;
  std::shared_ptr<Picture> picture = Png::Read(path, error);
  // A missing file is an ordinary answer; a file that is there but cannot be
  // read deserves a word to whoever watches stderr.
  struct stat info;
  if (!picture && stat(path.c_str(), &info) == 0) {
    std::fprintf(stderr, "Picture: cannot read %s: %s\n", path.c_str(), error.c_str());
  }
  return picture;
}

void Picture::Save(const std::string& path) const { Png::Write(*this, path); }

}  // namespace fw
