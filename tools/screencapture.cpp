// screencapture: writes part of the X11 screen into a PNG file.
//
//   screencapture -R x,y,w,h   the w x h rectangle at (x, y), in points, into
//                              the file named "x,y,w,h" in the current folder
//   screencapture -x NAME      the whole screen into NAME
//
// On a scaled display (Xft.dpi in the X resources, 96 being 1, times
// QT_SCALE_FACTOR from the environment: the rule the desktop backend follows)
// a point is s device pixels. -R then writes the device rectangle
// (x*s, y*s, w*s, h*s), s pixels per point; -x writes one pixel per point
// (the top-left device pixel of each), as a whole-screen capture is drawn
// at one pixel per point. Pixels outside the screen are black.
//
// Kept to Xlib and libpng: it runs on every capture tick, so it must start
// fast. The file appears whole or not at all; on any failure a message goes
// to stderr, the status is 1 and no file is written.
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "Exceptions.h"
#include "Picture.h"

namespace {

constexpr long kMaxSide = 32768;  // what Picture::Open accepts back
constexpr long long kMaxPixels = 1LL << 26;

struct Rect {
  long x, y, width, height;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "screencapture: %s\n", message.c_str());
  return 1;
}

int Usage() {
  return Fail("usage: screencapture -R x,y,w,h | screencapture -x FILE");
}

// "x,y,w,h": four decimal integers, width and height at least 1.
std::optional<Rect> ParseRect(std::string_view text) {
  long values[4];
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    int32_t value;
    auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc() || next == p) return std::nullopt;
    values[i] = value;
    p = next;
  }
  if (p != end || values[2] < 1 || values[3] < 1) return std::nullopt;
  return Rect{values[0], values[1], values[2], values[3]};
}

double ScaleFactor(Display* display) {
  double scale = 1.0;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value;
    if (database && XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
      double dpi = std::strtod(value.addr, nullptr);
      if (std::isfinite(dpi) && dpi > 0) scale = dpi / 96.0;
    }
    if (database) XrmDestroyDatabase(database);
  }
  if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
    double f = std::strtod(factor, nullptr);
    if (std::isfinite(f) && f > 0) scale *= f;
  }
  return scale;
}

// An X pixel's channel, scaled to 8 bits.
int Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  unsigned long value = (pixel & mask) >> std::countr_zero(mask);
  int bits = std::popcount(mask);
  if (bits >= 8) return int(value >> (bits - 8));
  return int(value * 255 / ((1ul << bits) - 1));
}

bool g_xError = false;
int OnXError(Display*, XErrorEvent*) {
  g_xError = true;
  return 0;
}

// Copies the screen's device rectangle `device` into picture, one picture
// pixel per `step` device pixels; what lies off the screen stays black.
bool ReadScreen(Display* display, const Rect& device, double step, fw::Picture& picture,
                std::string& error) {
  int screen = DefaultScreen(display);
  Visual* visual = DefaultVisual(display, screen);
  if (visual->c_class != TrueColor) {
    error = "the screen's visual is not TrueColor";
    return false;
  }
  std::fill_n(picture.Data(), size_t(picture.Width()) * size_t(picture.Height()), 0u);
  long screenWidth = DisplayWidth(display, screen), screenHeight = DisplayHeight(display, screen);
  // X refuses a rectangle that crosses the screen's edge: read only the part on it.
  long left = std::max(device.x, 0L), top = std::max(device.y, 0L);
  long right = std::min(device.x + device.width, screenWidth);
  long bottom = std::min(device.y + device.height, screenHeight);
  if (left >= right || top >= bottom) return true;

  XSetErrorHandler(OnXError);
  XImage* image = XGetImage(display, RootWindow(display, screen), int(left), int(top),
                            unsigned(right - left), unsigned(bottom - top), AllPlanes, ZPixmap);
  if (!image || g_xError) {
    if (image) XDestroyImage(image);
    error = "cannot read the screen";
    return false;
  }
  bool direct = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 &&
                image->green_mask == 0xFF00 && image->blue_mask == 0xFF &&
                image->byte_order == (std::endian::native == std::endian::little ? LSBFirst : MSBFirst);
  for (int32_t py = 0; py < picture.Height(); ++py) {
    long sy = device.y + long(std::floor(py * step)) - top;
    if (sy < 0 || sy >= bottom - top) continue;
    uint32_t* out = picture.Data() + size_t(py) * size_t(picture.Width());
    const char* row = image->data + size_t(sy) * size_t(image->bytes_per_line);
    for (int32_t px = 0; px < picture.Width(); ++px) {
      long sx = device.x + long(std::floor(px * step)) - left;
      if (sx < 0 || sx >= right - left) continue;
      if (direct) {
        uint32_t pixel;
        std::memcpy(&pixel, row + size_t(sx) * 4, 4);
        out[px] = pixel & 0xFFFFFF;
      } else {
        unsigned long pixel = XGetPixel(image, int(sx), int(sy));
        out[px] = fw::Color::FromRGB(Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                                     Channel(pixel, image->blue_mask))
                      .RGB();
      }
    }
  }
  XDestroyImage(image);
  return true;
}

bool FitsPicture(long width, long height) {
  return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
         (long long)width * height <= kMaxPixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  std::string mode = argv[1], argument = argv[2];
  std::optional<Rect> rect;
  if (mode == "-R") {
    rect = ParseRect(argument);
    if (!rect) return Fail("bad rectangle \"" + argument + "\" (want x,y,w,h, w and h at least 1)");
  } else if (mode != "-x" || argument.empty()) {
    return Usage();
  }

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    return Fail(std::string("cannot open display \"") + (name ? name : "") + "\"");
  }
  double scale = ScaleFactor(display);
  int screen = DefaultScreen(display);
  Rect device;
  long width, height;
  double step;
  if (rect) {
    device = {std::lround(rect->x * scale), std::lround(rect->y * scale),
              std::lround(rect->width * scale), std::lround(rect->height * scale)};
    width = device.width;
    height = device.height;
    step = 1.0;
  } else {
    device = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    width = std::lround(device.width / scale);
    height = std::lround(device.height / scale);
    step = scale;
  }
  if (!FitsPicture(width, height)) {
    XCloseDisplay(display);
    return Fail("capture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");
  }
  fw::Picture picture{int32_t(width), int32_t(height)};
  std::string error;
  bool read = ReadScreen(display, device, step, picture, error);
  XCloseDisplay(display);
  if (!read) return Fail(error);
  try {
    picture.Save(argument);
  } catch (const fw::IOException& e) {
    return Fail(e.what() + std::string(" (") + std::strerror(e.ErrorNumber()) + ")");
  }
  return 0;
}
