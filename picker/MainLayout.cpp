#include "picker/MainLayout.h"

#include <cstdint>
#include <vector>

#include "framework/PropertyStream.h"

namespace MainLayout {

namespace {

using Records = std::vector<fw::PropertyRecord>;

fw::PropertyRecord Int(const char* name, int32_t value) { return {name, value}; }
fw::PropertyRecord Bool(const char* name, bool value) { return {name, value}; }
fw::PropertyRecord Rgb(const char* name, uint32_t value) { return {name, fw::Color(value)}; }
fw::PropertyRecord Text(const char* name, const char* value) { return {name, std::string(value)}; }

// Not part of a control array.
constexpr int32_t kNoIndex = INT32_MIN;

struct Frame {
  const char* name;
  const char* parent;
  int32_t left, top, width, height;
  bool visible;
  int32_t tabIndex;
};

Records WindowRecords() {
  return {
      Int("Placement", 0),
      Int("Width", 201),
      Int("Height", 250),
      Int("MinWidth", 64),
      Int("MinHeight", 64),
      Int("MaxWidth", 32000),
      Int("MaxHeight", 32000),
      Int("Frame", 0),
      Bool("Composite", false),
      Bool("HasBackColor", false),
      Rgb("BackColor", 0xFFFFFF),
      Text("Title", "Tintbeacon"),
      Bool("Visible", true),
      Bool("FullScreen", false),
      Bool("MenuBarVisible", true),
      Bool("CloseButton", true),
      Bool("Resizeable", false),
      Bool("LiveResize", true),
      Bool("MaximizeButton", false),
      Bool("MinimizeButton", true),
      Bool("FullScreenButton", false),
      Int("MacProcID", 0),
  };
}

Records CanvasRecords(const Frame& f) {
  return {
      Text("InitialParent", f.parent),
      Bool("Transparent", false),
      Bool("EraseBackground", true),
      Bool("DoubleBuffer", false),
      Bool("AcceptTabs", false),
      Bool("AcceptFocus", false),
      Bool("UseFocusRing", true),
      Bool("Enabled", true),
      Bool("AutoDeactivate", true),
      Text("HelpTag", ""),
      Bool("Visible", f.visible),
      Bool("TabStop", true),
      Int("TabIndex", f.tabIndex),
      Int("TabPanelIndex", 0),
      Bool("LockBottom", false),
      Bool("LockRight", false),
      Bool("LockTop", true),
      Bool("LockLeft", true),
      Int("Height", f.height),
      Int("Width", f.width),
      Int("Top", f.top),
      Int("Left", f.left),
      Int("Index", kNoIndex),
      Text("Name", f.name),
  };
}

Records RectangleRecords(const Frame& f, int32_t borderWidth) {
  return {
      Text("InitialParent", f.parent),
      Rgb("BottomRightColor", 0x000000),
      Rgb("TopLeftColor", 0x000000),
      Int("BorderWidth", borderWidth),
      Rgb("FillColor", 0xFFFFFF),
      Bool("Enabled", true),
      Bool("AutoDeactivate", true),
      Text("HelpTag", ""),
      Bool("Visible", f.visible),
      Int("TabPanelIndex", 0),
      Int("TabIndex", f.tabIndex),
      Bool("LockBottom", false),
      Bool("LockRight", false),
      Bool("LockTop", true),
      Bool("LockLeft", true),
      Int("Height", f.height),
      Int("Width", f.width),
      Int("Top", f.top),
      Int("Left", f.left),
      Int("Index", kNoIndex),
      Text("Name", f.name),
      Bool("TabStop", true),
  };
}

Records LabelRecords(const Frame& f) {
  return {
      Text("InitialParent", f.parent),
      Text("DataField", ""),
      Text("DataSource", ""),
      Bool("Underline", false),
      Bool("Italic", false),
      Bool("Bold", false),
      Text("TextFont", "System"),
      Bool("AutoDeactivate", true),
      Text("HelpTag", ""),
      Bool("Transparent", false),
      Bool("Selectable", false),
      Bool("Visible", f.visible),
      Bool("Enabled", true),
      Bool("Multiline", false),
      Rgb("TextColor", 0x000000),
      Int("TextAlign", 1),
      Text("Text", ""),
      Int("TabIndex", f.tabIndex),
      Int("TabPanelIndex", 0),
      Bool("LockBottom", false),
      Bool("LockRight", false),
      Bool("LockTop", true),
      Bool("LockLeft", true),
      Int("Height", f.height),
      Int("Width", f.width),
      Int("Top", f.top),
      Int("Left", f.left),
      Int("Index", kNoIndex),
      Text("Name", f.name),
      Bool("TabStop", true),
  };
}

// Mode 2 fires every period; 0 is off.
Records TimerRecords(int32_t period, int32_t mode) { return {Int("Period", period), Int("Mode", mode)}; }

//                              name                parent    left  top  width height visible tab
constexpr Frame kViewer        {"Viewer",           "",        0,   -1,  201,  201,   true,   0};
constexpr Frame kLocationBG    {"LocationBG",       "Viewer",  0,  182,  201,   18,   false,  0};
constexpr Frame kLocLabel      {"LocLabel",         "Viewer", 25,  181,  154,   20,   false,  1};
constexpr Frame kCurrentColor  {"CurrentColorRect", "",        3,  204,   43,   43,   true,   1};
constexpr Frame kColorLabel    {"ColorLabel",       "",       41,  204,  160,   20,   true,   2};
constexpr Frame kNameLabel     {"NameLabel",        "",       43,  225,  160,   20,   true,   3};

}  // namespace

const std::string& Window() {
  static const std::string stream = fw::EncodePropertyStream(WindowRecords());
  return stream;
}

const std::string& Viewer() {
  static const std::string stream = fw::EncodePropertyStream(CanvasRecords(kViewer));
  return stream;
}

const std::string& LocationBG() {
  static const std::string stream = fw::EncodePropertyStream(RectangleRecords(kLocationBG, 0));
  return stream;
}

const std::string& LocLabel() {
  static const std::string stream = fw::EncodePropertyStream(LabelRecords(kLocLabel));
  return stream;
}

const std::string& GetPicture() {
  static const std::string stream = fw::EncodePropertyStream(TimerRecords(128, 2));
  return stream;
}

const std::string& CurrentColorRect() {
  static const std::string stream = fw::EncodePropertyStream(RectangleRecords(kCurrentColor, 1));
  return stream;
}

const std::string& ColorLabel() {
  static const std::string stream = fw::EncodePropertyStream(LabelRecords(kColorLabel));
  return stream;
}

const std::string& NameLabel() {
  static const std::string stream = fw::EncodePropertyStream(LabelRecords(kNameLabel));
  return stream;
}

const std::string& SayColor() {
  static const std::string stream = fw::EncodePropertyStream(TimerRecords(2000, 0));
  return stream;
}

}  // namespace MainLayout
