#include "Png.h"

#include <png.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
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

// The file, read through a buffer large enough for a whole capture, so that
// it takes one or a few reads; the buffer lives on the stack, where no
// allocation of the heap's top comes and goes with it.
struct Input {
  int fd = -1;
  int error = 0;  // the errno of a failed read
  size_t begin = 0, end = 0;
  uint8_t buffer[65536];

  // Reads until at least n bytes are buffered or the file ends; false when
  // fewer are there.
  bool Buffer(size_t n) {
    if (end - begin >= n) return true;
    std::memmove(buffer, buffer + begin, end - begin);
    end -= begin;
    begin = 0;
    while (end < n) {
      const ssize_t got = ::read(fd, buffer + end, sizeof buffer - end);
      if (got > 0) {
        end += size_t(got);
      } else if (got == 0 || errno != EINTR) {
        if (got < 0) error = errno;
        return false;
      }
    }
    return true;
  }
};

void ReadBytes(png_structp png, png_bytep data, size_t length) {
  auto* input = static_cast<Input*>(png_get_io_ptr(png));
  while (length > 0) {
    if (!input->Buffer(1)) png_error(png, input->error ? std::strerror(input->error) : "the file ends early");
    const size_t n = std::min(length, input->end - input->begin);
    std::memcpy(data, input->buffer + input->begin, n);
    input->begin += n;
    data += n;
    length -= n;
  }
}

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
// fourth byte with the alpha, 0xFF where the file has none.
void SetWordLayout(png_structp png) {
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  } else {
    png_set_swap_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// libpng decodes into these rows of the picture.
void PointRows(Picture& picture, std::vector<png_bytep>& rows) {
  rows.resize(size_t(picture.Height()));
  for (int32_t y = 0; y < picture.Height(); ++y) {
    rows[size_t(y)] = reinterpret_cast<png_bytep>(picture.Data() + size_t(y) * size_t(picture.Width()));
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

bool ReadWithLibpng(Input& input, Context& context) {
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
  png_set_read_fn(png, &input, ReadBytes);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  Decode(png, info, context);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// A file written front to back through a small buffer, chunk CRCs kept on
// the way; the first failing write ends it and is remembered.
class Output {
 public:
  explicit Output(int fd) : fd_(fd) {}
  void Bytes(const uint8_t* data, size_t n) {
    if (inChunk_) crc_ = crc32_z(crc_, data, n);
    while (n > 0) {
      const size_t part = std::min(n, sizeof buffer_ - used_);
      std::memcpy(buffer_ + used_, data, part);
      used_ += part;
      data += part;
      n -= part;
      if (used_ == sizeof buffer_) Flush();
    }
  }
  void Byte(uint8_t b) { Bytes(&b, 1); }
  void Big32(uint32_t v) {
    const uint8_t bytes[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    Bytes(bytes, 4);
  }
  // Opens a chunk: its length and type; CloseChunk adds the CRC.
  void OpenChunk(size_t length, const char* type) {
    Big32(uint32_t(length));
    crc_ = crc32_z(0, nullptr, 0);
    inChunk_ = true;
    Bytes(reinterpret_cast<const uint8_t*>(type), 4);
  }
  void CloseChunk() {
    inChunk_ = false;
    Big32(uint32_t(crc_));
  }
  // Writes what the buffer holds; 0, or the errno of the first failure.
  int Flush() {
    for (size_t done = 0; done < used_ && error_ == 0;) {
      const ssize_t n = ::write(fd_, buffer_ + done, used_ - done);
      if (n > 0)
        done += size_t(n);
      else if (n < 0 && errno != EINTR)
        error_ = errno;
      else if (n == 0)
        error_ = EIO;
    }
    used_ = 0;
    return error_;
  }

 private:
  int fd_;
  uint8_t buffer_[65536];
  size_t used_ = 0;
  int error_ = 0;
  uLong crc_ = 0;
  bool inChunk_ = false;
};

// Writes an 8-bit RGB PNG whose image data are stored, not compressed:
// captures are written on every tick, read once and deleted, and this is
// what writes and reads fastest.
void Encode(int32_t pictureWidth, int32_t pictureHeight, const RowSource& source, Output& out) {
  const size_t width = size_t(pictureWidth), height = size_t(pictureHeight);
  constexpr size_t kBlock = 65535;  // the most a stored deflate block holds
  // The filtered rows: a filter byte (none) and red, green, blue per pixel,
  // in stored blocks of a 5-byte header each, inside a zlib stream.
  const size_t raw = height * (1 + 3 * width), blocks = (raw + kBlock - 1) / kBlock;
  const size_t idat = 2 + raw + 5 * blocks + 4;
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.Bytes(signature, 8);
  out.OpenChunk(13, "IHDR");
  out.Big32(uint32_t(width));
  out.Big32(uint32_t(height));
  // Depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  for (uint8_t b : {8, 2, 0, 0, 0}) out.Byte(b);
  out.CloseChunk();
  out.OpenChunk(idat, "IDAT");
  out.Byte(0x78);  // deflate with a 32 KB window, no dictionary
  out.Byte(0x01);
  std::vector<uint32_t> words(width);
  std::vector<uint8_t> row(1 + 3 * width);
  uLong adler = adler32_z(0, nullptr, 0);
  size_t rawLeft = raw, blockLeft = 0;
  for (size_t y = 0; y < height; ++y) {
    source(int32_t(y), words.data());
    const uint32_t* pixel = words.data();
    uint8_t* at = row.data() + 1;
    for (size_t x = 0; x < width; ++x, at += 3) {
      at[0] = uint8_t(pixel[x] >> 16);
      at[1] = uint8_t(pixel[x] >> 8);
      at[2] = uint8_t(pixel[x]);
    }
    adler = adler32_z(adler, row.data(), row.size());
    for (size_t done = 0; done < row.size();) {
      if (blockLeft == 0) {
        blockLeft = std::min(kBlock, rawLeft);
        out.Byte(blockLeft == rawLeft ? 1 : 0);  // the last block?
        out.Byte(uint8_t(blockLeft));
        out.Byte(uint8_t(blockLeft >> 8));
        out.Byte(uint8_t(~blockLeft));
        out.Byte(uint8_t(~blockLeft >> 8));
      }
      const size_t n = std::min(blockLeft, row.size() - done);
      out.Bytes(row.data() + done, n);
      done += n;
      blockLeft -= n;
      rawLeft -= n;
    }
  }
  out.Big32(uint32_t(adler));
  out.CloseChunk();
  out.OpenChunk(0, "IEND");
  out.CloseChunk();
}

}  // namespace

std::shared_ptr<Picture> Read(const std::string& path, std::string& error, uint32_t maxWidth, uint32_t maxHeight) {
  // Not blocking: a FIFO at the place is refused, never waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  Input input;
  input.fd = fd;
  auto refuse = [&](std::string why) -> std::shared_ptr<Picture> {
    ::close(fd);
    error = std::move(why);
    return nullptr;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return refuse(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return refuse("not a regular file");
  // The signature, then the IHDR chunk that every PNG starts with: its size
  // is known before anything is decoded.
  const uint8_t* header = input.buffer;
  if (!input.Buffer(24) || png_sig_cmp(header, 0, 8) != 0 || std::memcmp(header + 12, "IHDR", 4) != 0)
    return refuse(input.error ? std::strerror(input.error) : "not a PNG file");
  const png_uint_32 width = png_get_uint_32(header + 16), height = png_get_uint_32(header + 20);
  if (width > maxWidth || height > maxHeight)
    return refuse(std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                  std::to_string(maxWidth) + " x " + std::to_string(maxHeight) + " expected");
  Context context;
  const bool ok = ReadWithLibpng(input, context);
  ::close(fd);
  if (!ok) {
    error = context.error;
    return nullptr;
  }
  return context.picture;
}

bool SizeIsReadable(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= int64_t(kMaxSide) && height <= int64_t(kMaxSide) &&
         uint64_t(width) * uint64_t(height) <= kMaxPixels;
}

void Write(const Picture& picture, const std::string& path) {
  Write(picture.Width(), picture.Height(),
        [&picture](int32_t y, uint32_t* row) {
          std::memcpy(row, picture.Data() + size_t(y) * size_t(picture.Width()), size_t(picture.Width()) * 4);
        },
        path);
}

void Write(int32_t width, int32_t height, const RowSource& rows, const std::string& path) {
  // Only what Read takes back.
  if (!SizeIsReadable(width, height))
    throw IOException("cannot write " + path + ": a picture of that size is not read back", EINVAL);
  std::string temporary = path + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) throw IOException("cannot create " + temporary, errno);
  // mkstemp makes the file 0600; a picture gets the usual mode.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  int error;
  try {
    auto out = std::make_unique<Output>(fd);
    Encode(width, height, rows, *out);
    error = out->Flush();
  } catch (...) {
    // A row source that throws leaves no file behind.
    ::close(fd);
    unlink(temporary.c_str());
    throw;
  }
  bool ok = error == 0;
  if (::close(fd) != 0 && ok) {
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
