// The capture tick: the screen around the pointer, twice enlarged with a
// crosshair, its centre colour in the swatch and the two labels; and the
// display-scale query it starts with.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/App.h"
#include "app/AppIdentifier.h"
#include "color/ColorExchange.h"
#include "framework/Diagnostics.h"
#include "framework/DisplayScale.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/Graphics.h"
#include "framework/Picture.h"
#include "framework/Shell.h"
#include "framework/System.h"
#include "framework/Text.h"
#include "picker/Main.h"
#include "tools/ScaleHandoff.h"

namespace Main {

namespace {

// Why a capture produced no usable picture; the tick reports it and ends.
class CaptureFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A capture tool that does not end is stopped after this long, so that a
// stuck capture leaves the program answering within two seconds.
constexpr int32_t kCaptureTimeOutMs = 1500;

// The largest capture taken along an axis of that many points: a tool
// writes at most the display's scale, rounded up, in pixels per point. A
// larger file is refused before it is decoded. An unknown size (0) sets no
// limit of ours.
int32_t MostPixels(int32_t points, double scale) {
  if (points <= 0) return INT32_MAX;
  const double perPoint = std::max(1.0, std::ceil(scale));
  return static_cast<int32_t>(std::min<double>(INT32_MAX, points * perPoint));
}

// Removes a capture file the tick could not use; a failure to do so must not
// hide the failure being reported.
void DeleteQuietly(const fw::FolderItemPtr& file) {
  try {
    if (file && file->Exists()) file->Delete();
  } catch (const fw::RuntimeException&) {
  }
}

// Makes the work folder when it is missing; throws when something else is
// in its place or it cannot be made.
void PrepareWorkFolder(const fw::FolderItem& workFolder) {
  if (workFolder.Directory()) return;
  if (workFolder.Exists()) throw CaptureFailed(workFolder.NativePath() + " is not a folder");
  try {
    workFolder.CreateAsFolder();
  } catch (const fw::RuntimeException& e) {
    throw CaptureFailed(e.what());
  }
}

// Puts the capture in place of the last one, which is deleted first: a
// rename over a file would make some file systems (ext4) write the new one
// out to disk at once.
void ReplaceLastCapture(const fw::FolderItem& capture, const fw::FolderItem& last) {
  try {
    last.Delete();
  } catch (const fw::IOException& e) {
    if (e.ErrorNumber() != ENOENT) throw;
  }
  capture.MoveFileTo(last);
}

fw::Color CrosshairColor(const std::string& selected) {
  if (fw::StrEq(selected, "White")) return fw::Color(0xFFFFFF);
  if (fw::StrEq(selected, "Black")) return fw::Color(0x000000);
  if (fw::StrEq(selected, "Red")) return fw::Color(0xFF0000);
  if (fw::StrEq(selected, "Green")) return fw::Color(0x00FF00);
  if (fw::StrEq(selected, "Blue")) return fw::Color(0x0000FF);
  return fw::Color(0xFFFFFF);
}

// Where the capture lies along one axis: the capture pixel that shows the
// pointer's device pixel, and the first capture pixel that shows the screen.
struct Placed {
  int32_t pointer, first;
};

Placed PlaceAxis(int32_t point, std::optional<int32_t> device, bool rectangleForm, double scale) {
  if (!rectangleForm) return {device ? *device : int32_t(fw::DevicePixelAt(point, scale)), 0};
  const int32_t left = std::max(point - 50, 0);
  int32_t pointer = capture::RectanglePixelsPerPoint(scale) * (point - left);
  if (!device) return {pointer, 0};
  // From the screen's first point the tool starts no later than the
  // screen's first pixel. Its pixels run on from the pointer's, so the one
  // before the screen's first is the pointer's less its device position.
  if (left == 0) pointer = std::max(pointer, *device);
  return {pointer, std::max(pointer - *device, 0)};
}

}  // namespace

std::string Main::CaptureCommand(const fw::FolderItem& workFolder, const std::string& rectangle, bool marverics) {
  return "cd " + workFolder.ShellPath() + (marverics ? "; screencapture -R " : "; screencapture -x ") + rectangle;
}

void Main::GetPicture_Action(fw::Timer& /*timer*/) {
  const double scale = ScalingFactor();

  App& app = *App::Instance();
  std::string language = app.SelectedLang;
  if (language.empty()) {
    language = App::Language("");
    app.SelectedLang = language;
  }

  const int32_t x = fw::System::MouseX();
  const int32_t y = fw::System::MouseY();
  const std::optional<fw::DevicePixel> device = fw::System::MouseDevicePixel();

  // The caption changes only with the setting and the stored position: a
  // still tick leaves it be.
  const Caption caption{app.SelectedMouseLoc, MouseX, MouseY};
  if (caption != shownCaption_) {
    shownCaption_ = caption;
    if (app.SelectedMouseLoc) {
      LocationBG()->Visible = true;
      LocLabel()->Visible = true;
      LocLabel()->Text = MouseX >= 0 && MouseY >= 0 ? "(" + fw::Str(MouseX) + ", " + fw::Str(MouseY) + ")" : "";
    } else {
      LocLabel()->Text = "";
      LocationBG()->Visible = false;
      LocLabel()->Visible = false;
    }
  }

  // The position is stored before the capture, so a capture that fails is
  // tried again only when the pointer moves or a command asks for a redraw:
  // a still pointer costs nothing even while every capture fails or hangs.
  if (MouseX == x && MouseY == y && MouseDevice == device) return;
  MouseX = x;
  MouseY = y;
  MouseDevice = device;

  const std::string rectangle =
      (x < 50 ? std::string("0") : fw::Str(x - 50)) + "," + (y < 50 ? std::string("0") : fw::Str(y - 50)) + ",101,101";

  std::shared_ptr<fw::Picture> capture;
  int32_t w = 0, h = 0;
  try {
    // Checked at each capture, not at each tick: a folder removed under the
    // program is made again before the next capture.
    fw::FolderItemPtr workFolder = WorkFolder();
    if (!workFolder) throw CaptureFailed("no private temporary folder for " + std::string(AppIdentifier) + ".work");
    PrepareWorkFolder(*workFolder);
    capture = CaptureIntoWorkFolder(*workFolder, rectangle, app.IsMarverics, scale, device, w, h);
  } catch (const std::exception& e) {
    // The view, the swatch and the labels keep the last good capture.
    fw::Diagnose("screen capture failed: " + std::string(e.what()));
    return;
  }

  // The view is drawn in the display's device pixels, each screen pixel as
  // 2 x 2 of them at every scale, so fine detail looks as it is on screen.
  // A point of the 202-point view is the device pixels it owns.
  const auto at = [scale](int32_t point) { return int32_t(fw::DevicePixelAt(point, scale)); };
  const int32_t size = at(202);
  auto view = std::make_shared<fw::Picture>(size, size, scale);
  fw::Graphics& g = view->Graphics();
  g.ForeColor = fw::Color(0x999999);
  g.FillRect(0, 0, size, size);
  g.ForeColor = CrosshairColor(app.SelectedColor);

  // The pointer's pixel goes on the view's point (100, 100): the sample,
  // inside the crosshair's gap. In the rectangle form the capture holds the
  // rectangle's device pixels from its left (top) point; in the whole-screen
  // form every device pixel of the screen. Pixels the tool placed before
  // the screen's first (a rectangle at the edge of a fractional scale) are
  // left out, so the view shows the background there as at any edge.
  std::optional<int32_t> deviceX, deviceY;
  if (device) deviceX = device->x, deviceY = device->y;
  const Placed px = PlaceAxis(MouseX, deviceX, app.IsMarverics, scale);
  const Placed py = PlaceAxis(MouseY, deviceY, app.IsMarverics, scale);
  const int32_t sample = at(100);
  g.DrawPicture(*capture, sample - 2 * (px.pointer - px.first), sample - 2 * (py.pointer - py.first),
                2 * (w - px.first), 2 * (h - py.first), px.first, py.first, w - px.first, h - py.first);

  if (!fw::StrEq(app.SelectedColor, "None")) {
    // One point wide, through point 101, with a gap over points 100 to 102.
    const int32_t line = at(101), thick = at(102) - at(101), gapEnd = at(103);
    g.FillRect(line, 0, thick, sample);
    g.FillRect(line, gapEnd, thick, size - gapEnd);
    g.FillRect(0, line, sample, thick);
    g.FillRect(gapEnd, line, size - gapEnd, thick);
  }

  const fw::Color c = g.Pixel(sample, sample);

  CurrentColorRect()->FillColor = c;
  CurrentColorRect()->Refresh(true);

  if (fw::StrEq(app.ColorMode, "RGB"))
    ColorLabel()->Text = "RGB : " + ColorExchange::ColorToRGB(c);
  else if (fw::StrEq(app.ColorMode, "CMYK"))
    ColorLabel()->Text = "CMYK : " + ColorExchange::ColorToCMYK(c);
  else if (fw::StrEq(app.ColorMode, "HLS"))
    ColorLabel()->Text = "HLS : " + ColorExchange::ColorToHLS(c);

  std::string name;
  if (fw::StrEq(language, "en")) {
    name = ColorExchange::ColorToName(c);
    NameLabel()->TextSize = fw::CountFields(name, " ") > 3 ? 11.0f : 12.0f;
  } else if (fw::StrEq(language, "ja")) {
    name = ColorExchange::ColorToNameJ(c);
    NameLabel()->TextSize = 12.0f;
  }
  NameLabel()->Text = name;

  Viewer()->Backdrop = nullptr;
  Viewer()->Refresh(true);
  Viewer()->Backdrop = view;
  Viewer()->Refresh(true);
}

std::shared_ptr<fw::Picture> Main::CaptureIntoWorkFolder(const fw::FolderItem& workFolder,
                                                         const std::string& rectangle, bool marverics, double scale,
                                                         std::optional<fw::DevicePixel> pointer, int32_t& w,
                                                         int32_t& h) {
  fw::Shell shell;
  // The tool counts points with the scale the view is drawn with, exactly,
  // and places the pixel under the pointer where the drawing expects the
  // pointer's point, so that the sample is that pixel.
  char scaleText[32];
  shell.SetEnvironment(capture::kScaleVariable,
                       std::string(scaleText, std::to_chars(scaleText, scaleText + sizeof scaleText, scale).ptr));
  shell.SetEnvironment(capture::kPointerVariable,
                       pointer ? fw::Str(pointer->x) + "," + fw::Str(pointer->y) : std::string());
  shell.TimeOut = kCaptureTimeOutMs;
  if (!marverics) GetPicture()->SetPeriod(500);
  shell.Execute(CaptureCommand(workFolder, rectangle, marverics));

  // The points asked for: the rectangle, or the whole main screen.
  const fw::ScreenInfo asked = marverics ? fw::ScreenInfo{101, 101} : fw::Screen(0);
  const int32_t maxWidth = MostPixels(asked.Width, scale);
  const int32_t maxHeight = MostPixels(asked.Height, scale);
  fw::FolderItemPtr captureFile = workFolder.Child(rectangle);
  fw::FolderItemPtr captureSquare = workFolder.Child(CaptureFileName);
  if (!captureFile) throw CaptureFailed("no capture file can be named " + rectangle);
  std::shared_ptr<fw::Picture> fresh;
  try {
    // The capture is judged by its file alone, read once. The new capture
    // is read before the old one goes, so that a capture that cannot be
    // read leaves the last good one in place.
    std::string problem;
    fresh = fw::Picture::Open(*captureFile, maxWidth, maxHeight, problem);
    if (!fresh && !captureFile->Exists())
      throw CaptureFailed(std::string("screencapture wrote no file ") + rectangle +
                          (shell.TimedOut() ? " (stopped: it did not end in time)" : ""));
    if (!fresh) throw CaptureFailed("capture " + rectangle + " refused: " + problem);
    w = fresh->Width();
    h = fresh->Height();
    ReplaceLastCapture(*captureFile, *captureSquare);
  } catch (...) {
    DeleteQuietly(captureFile);
    throw;
  }
  // The picture decoded from the capture is the one drawn: the file under
  // its new name holds the same pixels.
  return fresh;
}

double Main::ScalingFactor() {
  try {
    return BackingScaleFactor();
  } catch (const fw::ObjCException&) {
    return 1.0;
  }
}

}  // namespace Main
