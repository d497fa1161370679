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

Picture::Picture(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(size_t(width_) * size_t(height_), 0xFFFFFFu),
      graphics_(std::make_unique<fw::Graphics>(*this)) {}

Picture::~Picture() = default;

fw::Graphics& Picture::Graphics() { return *graphics_; }

namespace {

// The picture decoded last, kept for the next open of the same file: a file
// that is read, then moved under another name and read again (as a capture
// is) is decoded once. The same file is the same device, inode, size and
// modification time; the copy is handed out once, so no caller shares
// pixels with another.
struct LastDecode {
  struct stat file {};
  std::shared_ptr<Picture> picture;

  bool Same(const struct stat& other) const {
    return picture && file.st_dev == other.st_dev && file.st_ino == other.st_ino &&
           file.st_size == other.st_size && file.st_mtim.tv_sec == other.st_mtim.tv_sec &&
           file.st_mtim.tv_nsec == other.st_mtim.tv_nsec;
  }
};

LastDecode& Last() {
  static LastDecode last;
  return last;
}

std::shared_ptr<Picture> Read(const std::string& path, int32_t maxWidth, int32_t maxHeight, std::string& error) {
  LastDecode& last = Last();
  struct stat now {};
  if (last.picture && ::stat(path.c_str(), &now) == 0 && last.Same(now) && last.picture->Width() <= maxWidth &&
      last.picture->Height() <= maxHeight) {
    std::shared_ptr<Picture> picture = std::move(last.picture);
    last = {};
    return picture;
  }
  last = {};
  struct stat opened {};
  std::shared_ptr<Picture> picture =
      Png::Read(path, error, uint32_t(std::max(maxWidth, 0)), uint32_t(std::max(maxHeight, 0)), &opened);
  if (picture) last = {opened, std::make_shared<Picture>(*picture)};
  return picture;
}

}  // namespace

Picture::Picture(const Picture& other)
    : width_(other.width_),
      height_(other.height_),
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
