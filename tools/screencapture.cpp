// screencapture: writes part of the X11 screen into a PNG file.
//
//   screencapture -R x,y,w,h   the w x h rectangle at (x, y), in points, into
//                              the file named "x,y,w,h" in the current folder
//   screencapture -x NAME      the whole screen into NAME
//
// A point is `scale` device pixels: the value of TINTBEACON_SCALE_FACTOR,
// which the program sets to the scale it draws with, or else a guess from
// Xft.dpi and QT_SCALE_FACTOR; a scale outside 1 to 16 is refused. -R
// writes the scale rounded up in pixels per point when it is above 1 and one
// otherwise, with the device pixel under the pointer in TINTBEACON_POINTER
// where its point starts and the device pixels around it in order
// (CapturePlan.h); -x writes every device pixel of the screen. Every pixel is
// a device pixel, never a blend.
// Pixels outside the screen are black. The output replaces only a regular
// file.
//
// It runs on every capture tick, so it starts fast: linked statically, two
// round trips to the X server, an uncompressed PNG. An X server that does
// not answer (another client holding a grab) ends it within the timeout.
// The file appears whole or not at all; on any failure a message goes to
// stderr, the status is 1 and no file is written.
#include <errno.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CapturePlan.h"
#include "Exceptions.h"
#include "Png.h"
#include "ScaleHandoff.h"

namespace {

constexpr int kTimeoutMs = 1500;

int Fail(const std::string& message) {
  std::string line = "screencapture: " + message + "\n";
  ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
  (void)ignored;
  return 1;
}

int Usage() { return Fail("usage: screencapture -R x,y,w,h | screencapture -x FILE"); }

void OnTimeout(int) {
  static const char message[] = "screencapture: the X server did not answer within 1.5 s\n";
  ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
  (void)ignored;
  ::_exit(1);
}

void StartTimeout() {
  struct sigaction action = {};
  action.sa_handler = OnTimeout;
  sigaction(SIGALRM, &action, nullptr);
  itimerval timer = {};
  timer.it_value.tv_sec = kTimeoutMs / 1000;
  timer.it_value.tv_usec = (kTimeoutMs % 1000) * 1000;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

void StopTimeout() {
  itimerval none = {};
  setitimer(ITIMER_REAL, &none, nullptr);
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The screen's Xft.dpi and friends, for the guess of a person running the
// tool by hand.
std::string Resources(xcb_connection_t* connection, xcb_window_t root) {
  xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 20);
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (!reply || reply->format != 8) return "";
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     size_t(xcb_get_property_value_length(reply.get())));
}

// One channel's mask, turned into a shift and a width once.
struct Channel {
  uint32_t mask;
  int shift, bits;
  explicit Channel(uint32_t m) : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}
  // The channel of pixel scaled to 8 bits.
  uint32_t Of(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t value = (pixel & mask) >> shift;
    return bits >= 8 ? value >> (bits - 8) : value * 255 / ((1u << bits) - 1);
  }
};

// How the server lays out the root window's pixels.
struct Layout {
  int bytesPerPixel = 0, scanlinePad = 0;
  bool lsbFirst = true;
  Channel red{0}, green{0}, blue{0};
};

bool FindLayout(const xcb_setup_t* setup, const xcb_screen_t* screen, Layout& layout, std::string& error) {
  for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
    for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
      if (visuals.data->visual_id != screen->root_visual) continue;
      if (visuals.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR &&
          visuals.data->_class != XCB_VISUAL_CLASS_DIRECT_COLOR) {
        error = "the screen's visual is not TrueColor";
        return false;
      }
      layout.red = Channel(visuals.data->red_mask);
      layout.green = Channel(visuals.data->green_mask);
      layout.blue = Channel(visuals.data->blue_mask);
    }
  }
  for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
    if (formats.data->depth != screen->root_depth) continue;
    if (formats.data->bits_per_pixel % 8 != 0 || formats.data->bits_per_pixel > 32) break;
    layout.bytesPerPixel = formats.data->bits_per_pixel / 8;
    layout.scanlinePad = formats.data->scanline_pad;
  }
  if (layout.bytesPerPixel == 0 || layout.red.mask == 0) {
    error = "the screen's pixel format is not one this tool reads";
    return false;
  }
  layout.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
  return true;
}

uint32_t PixelAt(const uint8_t* p, const Layout& layout) {
  uint32_t value = 0;
  for (int i = 0; i < layout.bytesPerPixel; ++i) {
    int byte = layout.lsbFirst ? layout.bytesPerPixel - 1 - i : i;
    value = value << 8 | p[byte];
  }
  return value;
}

// The part of the screen a capture shows, as the server sent it; picture
// pixel (i, j) is the device pixel (columns[i], rows[j]), black where that
// lies off the screen.
class ScreenImage {
 public:
  ScreenImage(const Layout& layout, std::vector<long> columns, std::vector<long> rows)
      : layout_(layout), columns_(std::move(columns)), rows_(std::move(rows)) {}

  bool Read(xcb_connection_t* connection, const xcb_screen_t* screen, std::string& error) {
    // The server refuses a rectangle that crosses the screen's edge: read
    // only the part on it.
    left_ = std::max(columns_.front(), 0L);
    top_ = std::max(rows_.front(), 0L);
    right_ = std::min(columns_.back() + 1, long(screen->width_in_pixels));
    bottom_ = std::min(rows_.back() + 1, long(screen->height_in_pixels));
    if (left_ >= right_ || top_ >= bottom_) return true;
    xcb_get_image_cookie_t cookie =
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, int16_t(left_), int16_t(top_),
                      uint16_t(right_ - left_), uint16_t(bottom_ - top_), ~0u);
    xcb_generic_error_t* failure = nullptr;
    image_.reset(xcb_get_image_reply(connection, cookie, &failure));
    if (!image_) {
      error = failure ? "cannot read the screen (X error " + std::to_string(failure->error_code) + ")"
                      : "the X server closed the connection";
      std::free(failure);
      return false;
    }
    stride_ = (size_t(right_ - left_) * size_t(layout_.bytesPerPixel) * 8 + size_t(layout_.scanlinePad) - 1) /
              size_t(layout_.scanlinePad) * size_t(layout_.scanlinePad) / 8;
    if (size_t(xcb_get_image_data_length(image_.get())) < stride_ * size_t(bottom_ - top_)) {
      error = "the X server sent a short image";
      return false;
    }
    // Where each picture column lies in a row of the image, found once.
    for (long column : columns_)
      offsets_.push_back(column < left_ || column >= right_ ? kOffScreen
                                                            : size_t(column - left_) * size_t(layout_.bytesPerPixel));
    return true;
  }

  // Picture row j, 0x00RRGGBB.
  void Row(size_t j, uint32_t* out) const {
    if (!image_ || rows_[j] < top_ || rows_[j] >= bottom_) {
      std::fill_n(out, columns_.size(), 0u);
      return;
    }
    const uint8_t* row = xcb_get_image_data(image_.get()) + size_t(rows_[j] - top_) * stride_;
    // The usual layout (32-bit words of 0x00RRGGBB in the machine's order)
    // is copied as it stands.
    const bool direct = layout_.bytesPerPixel == 4 && layout_.red.mask == 0xFF0000 &&
                        layout_.green.mask == 0xFF00 && layout_.blue.mask == 0xFF &&
                        layout_.lsbFirst == (std::endian::native == std::endian::little);
    for (size_t i = 0; i < offsets_.size(); ++i) {
      if (offsets_[i] == kOffScreen) {
        out[i] = 0;
      } else if (direct) {
        std::memcpy(&out[i], row + offsets_[i], 4);
        out[i] &= 0xFFFFFF;
      } else {
        uint32_t pixel = PixelAt(row + offsets_[i], layout_);
        out[i] = layout_.red.Of(pixel) << 16 | layout_.green.Of(pixel) << 8 | layout_.blue.Of(pixel);
      }
    }
  }

 private:
  static constexpr size_t kOffScreen = SIZE_MAX;
  const Layout& layout_;
  std::vector<long> columns_, rows_;
  std::vector<size_t> offsets_;  // bytes into an image row; kOffScreen: black
  long left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  size_t stride_ = 0;
  Reply<xcb_get_image_reply_t> image_{nullptr, &std::free};
};

int Capture(xcb_connection_t* connection, int screenNumber, const std::optional<capture::Rect>& rect,
            const std::string& file) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  auto roots = xcb_setup_roots_iterator(setup);
  for (int i = 0; i < screenNumber && roots.rem; ++i) xcb_screen_next(&roots);
  if (!roots.rem) return Fail("the display has no screen " + std::to_string(screenNumber));
  const xcb_screen_t* screen = roots.data;

  double scale;
  if (const char* given = std::getenv(capture::kScaleVariable)) {
    std::optional<double> parsed = capture::ParseScale(given);
    if (!parsed) return Fail(std::string("bad ") + capture::kScaleVariable + " \"" + given + "\"");
    scale = *parsed;
  } else {
    scale = capture::GuessScale(Resources(connection, screen->root), std::getenv("QT_SCALE_FACTOR"));
    if (!capture::ScaleServed(scale))
      return Fail("the display scale " + std::to_string(scale) + " is outside 1 to 16");
  }
  std::optional<capture::Pixel> pointer;
  if (const char* given = std::getenv(capture::kPointerVariable); given && *given) {
    pointer = capture::ParsePixel(given);
    if (!pointer) return Fail(std::string("bad ") + capture::kPointerVariable + " \"" + given + "\"");
  }

  long width = screen->width_in_pixels, height = screen->height_in_pixels, perPoint = 1;
  if (rect) {
    perPoint = capture::RectanglePixelsPerPoint(scale);
    width = rect->width * perPoint;
    height = rect->height * perPoint;
  }
  if (!fw::Png::SizeIsReadable(width, height))
    return Fail("capture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");

  Layout layout;
  std::string error;
  if (!FindLayout(setup, screen, layout, error)) return Fail(error);
  std::vector<long> columns, rows;
  if (!rect) {
    columns = capture::EveryPixel(width);
    rows = capture::EveryPixel(height);
  } else if (!pointer) {
    columns = capture::Axis(rect->x, rect->width, int(perPoint), scale);
    rows = capture::Axis(rect->y, rect->height, int(perPoint), scale);
  } else {
    columns = capture::AroundPointer(rect->x, rect->width, int(perPoint), scale, pointer->x);
    rows = capture::AroundPointer(rect->y, rect->height, int(perPoint), scale, pointer->y);
  }
  ScreenImage image(layout, std::move(columns), std::move(rows));
  if (!image.Read(connection, screen, error)) return Fail(error);
  // The connection closes when the process ends, which is sooner than an
  // orderly goodbye.
  StopTimeout();
  try {
    // Straight from the server's image into the file: no picture between.
    fw::Png::Write(int32_t(width), int32_t(height), [&image](int32_t y, uint32_t* row) { image.Row(size_t(y), row); },
                   file);
  } catch (const fw::IOException& e) {
    return Fail(e.what());
  }
  return 0;
}

}  // namespace

// The file is written beside its place and renamed over it: a FIFO, device,
// folder or link there would be replaced, not written to.
bool PlaceTakesAFile(const std::string& file) {
  struct stat status;
  return ::lstat(file.c_str(), &status) != 0 ? errno == ENOENT : S_ISREG(status.st_mode);
}

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::string_view mode = argv[1];
  const std::string argument = argv[2];
  std::optional<capture::Rect> rect;
  if (mode == "-R") {
    rect = capture::ParseRect(argument);
    if (!rect) return Fail("bad rectangle \"" + argument + "\" (want x,y,w,h, w and h at least 1)");
  } else if (mode != "-x" || argument.empty()) {
    return Usage();
  }

  if (!PlaceTakesAFile(argument)) return Fail("\"" + argument + "\" exists and is not a regular file");

  StartTimeout();
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    const char* name = std::getenv("DISPLAY");
    return Fail(std::string("cannot open display \"") + (name ? name : "") + "\"");
  }
  return Capture(connection, screenNumber, rect, argument);
}
