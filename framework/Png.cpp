#include "Png.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Exceptions.h"
#include "Picture.h"

namespace fw::Png {
namespace {

// Large enough for any screen, small enough that a damaged header cannot
// make us allocate gigabytes.
constexpr png_uint_32 kMaxSide = 32768;
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;

// State shared with libpng's callbacks: the error text, the picture read
// and the row pointers. Everything that changes between
// setjmp and longjmp lives here, in memory, never in a local of the
// function that calls setjmp.
struct Context {
  char error[256] = "";
  std::shared_ptr<Picture> picture;
  std::vector<png_bytep> rows;
};

void OnError(png_structp png, png_const_charp message) {
  auto* context = static_cast<Context*>(png_get_error_ptr(png));
  std::snprintf(context->error, sizeof context->error, "%s", message);
  png_longjmp(png, 1);
}

// Warnings (an odd colour profile, a misplaced ancillary chunk) do not
// change the pixels we read.
void OnWarning(png_structp, png_const_charp) {}

// Our pixels are 0xTTRRGGBB words; in memory that is B G R T on a
// little-endian machine and T R G B on a big-endian one. libpng fills the
// fourth byte with the alpha, 0xFF where the file has none, and drops it on
// writing.
void SetWordLayout(png_structp png) {
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  } else {
    png_set_swap_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// libpng takes non-const row pointers for writing too; it only reads them there.
void PointRows(const Picture& picture, std::vector<png_bytep>& rows) {
  rows.resize(size_t(picture.Height()));
  for (int32_t y = 0; y < picture.Height(); ++y) {
    rows[size_t(y)] = reinterpret_cast<png_bytep>(
        const_cast<uint32_t*>(picture.Data() + size_t(y) * size_t(picture.Width())));
  }
}

// Runs under the caller's setjmp: no local here needs a destructor.
void Decode(png_structp png, png_infop info, Context& context) {
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (uint64_t(width) * height > kMaxPixels) png_error(png, "image too large");
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  SetWordLayout(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row layout");
  context.picture = std::make_shared<Picture>(int32_t(width), int32_t(height));
  PointRows(*context.picture, context.rows);
  png_read_image(png, context.rows.data());
  // Alpha to transparency: a picture's pixels are opaque where the top byte is 0.
  uint32_t* pixel = context.picture->Data();
  for (size_t n = size_t(width) * height; n > 0; --n, ++pixel) *pixel ^= 0xFF000000u;
  // A file cut short after its image data is still a damaged file.
  png_read_end(png, nullptr);
}

void Encode(png_structp png, png_infop info, const Picture& picture, Context& context) {
  png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // Captures are written on every tick and read once: speed over size.
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_write_info(png, info);
  SetWordLayout(png);
  PointRows(picture, context.rows);
  png_write_image(png, context.rows.data());
  png_write_end(png, nullptr);
}

bool ReadWithLibpng(FILE* file, Context& context) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
  if (!png) {
    std::snprintf(context.error, sizeof context.error, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    context.picture.reset();
    if (!context.error[0]) std::snprintf(context.error, sizeof context.error, "out of memory");
    return false;
  }
  png_init_io(png, file);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  Decode(png, info, context);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool WriteWithLibpng(FILE* file, const Picture& picture, Context& context) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  Encode(png, info, picture, context);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::shared_ptr<Picture> Read(const std::string& path, std::string& error, uint32_t maxWidth, uint32_t maxHeight,
                              struct stat* opened) {
  FILE* file = std::fopen(path.c_str(), "rbe");
  if (!file) {
    error = std::strerror(errno);
    return nullptr;
  }
  if (opened && ::fstat(fileno(file), opened) != 0) {
    error = std::strerror(errno);
    std::fclose(file);
    return nullptr;
  }
  // The signature, then the IHDR chunk that every PNG starts with: its size
  // is known before anything is decoded.
  png_byte header[24];
  if (std::fread(header, 1, sizeof header, file) != sizeof header || png_sig_cmp(header, 0, 8) != 0 ||
      std::memcmp(header + 12, "IHDR", 4) != 0) {
    std::fclose(file);
    error = "not a PNG file";
    return nullptr;
  }
  const png_uint_32 width = png_get_uint_32(header + 16), height = png_get_uint_32(header + 20);
  if (width > maxWidth || height > maxHeight) {
    std::fclose(file);
    error = std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
            std::to_string(maxWidth) + " x " + std::to_string(maxHeight) + " expected";
    return nullptr;
  }
  std::rewind(file);
  Context context;
  bool ok = ReadWithLibpng(file, context);
  std::fclose(file);
  if (!ok) {
    error = context.error;
    return nullptr;
  }
  return context.picture;
}

void Write(const Picture& picture, const std::string& path) {
  std::string temporary = path + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) throw IOException("cannot create " + temporary, errno);
  // mkstemp makes the file 0600; a picture gets the usual mode.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    int error = errno;
    close(fd);
    unlink(temporary.c_str());
    throw IOException("cannot write " + temporary, error);
  }
  Context context;
  errno = 0;
  bool ok = WriteWithLibpng(file, picture, context);
  int error = errno ? errno : EIO;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    unlink(temporary.c_str());
    throw IOException("cannot write " + path, error);
  }
}

}  // namespace fw::Png
