// The About window's stored layouts, built from tables of records. The
// control streams list their records in the reverse of the picker window's
// order; the window stream in the same order.
#include <optional>
#include <vector>

#include "AboutWindow.h"
#include "framework/PropertyStream.h"

namespace AboutWindow::Streams {

namespace {

fw::PropertyRecord B(const char* name, bool value) { return {name, value}; }
fw::PropertyRecord I(const char* name, int32_t value) { return {name, value}; }
fw::PropertyRecord C(const char* name, uint32_t rgb) { return {name, fw::Color(rgb)}; }
fw::PropertyRecord S(const char* name, const char* value) { return {name, std::string(value)}; }

constexpr int32_t kNoControlArray = INT32_MIN;

const std::vector<fw::PropertyRecord> kWindowRecords = {
    I("Placement", 2),
    I("Width", 280),
    I("Height", 222),
    I("MinWidth", 64),
    I("MinHeight", 64),
    I("MaxWidth", 32000),
    I("MaxHeight", 32000),
    I("Frame", 0),
    B("Composite", false),
    B("HasBackColor", false),
    C("BackColor", 0xFFFFFF),
    S("Title", ""),
    B("Visible", true),
    B("FullScreen", false),
    B("MenuBarVisible", true),
    B("CloseButton", true),
    B("Resizeable", false),
    B("LiveResize", false),
    B("MaximizeButton", false),
    B("MinimizeButton", false),
    B("FullScreenButton", false),
    I("MacProcID", 0),
};

// What differs between the five labels; a label without text has no "Text"
// record, its text being set by code.
struct LabelRow {
  const char* name;
  int32_t left, top, width, height, tabIndex;
  std::optional<const char*> text;
  int32_t textAlign;  // 0 left, 1 centred, 2 right
  uint32_t textColor;
  const char* textFont;
  bool underline;
};

const LabelRow kAboutName{"AboutName", 72, 93, 135, 28, 0, "Tintbeacon", 1, 0x000000, "Rockwell", false};
const LabelRow kAboutVersion{"AboutVersion", 12, 123, 140, 20, 1, std::nullopt, 2, 0x000000, "System", false};
const LabelRow kAboutVersionNumber{"AboutVersionNumber", 158, 123, 140, 20, 2, std::nullopt, 0, 0x000000, "System", false};
const LabelRow kCboutCopy{"CboutCopy", 0, 158, 280, 20, 3, kCopyrightLine, 1, 0x000000, "System", false};
const LabelRow kAboutURL{"AboutURL", 80, 185, 127, 16, 4, kWebAddress, 1, 0x0000FF, "System", true};

std::string LabelStream(const LabelRow& row) {
  std::vector<fw::PropertyRecord> records = {
      B("TabStop", true),
      S("Name", row.name),
      I("Index", kNoControlArray),
      I("Left", row.left),
      I("Top", row.top),
      I("Width", row.width),
      I("Height", row.height),
      B("LockLeft", true),
      B("LockTop", true),
      B("LockRight", false),
      B("LockBottom", false),
      I("TabPanelIndex", 0),
      I("TabIndex", row.tabIndex),
  };
  if (row.text) records.push_back(S("Text", *row.text));
  std::vector<fw::PropertyRecord> rest = {
      I("TextAlign", row.textAlign),
      C("TextColor", row.textColor),
      B("Multiline", false),
      B("Enabled", true),
      B("Visible", true),
      B("Selectable", false),
      B("Transparent", false),
      S("HelpTag", ""),
      B("AutoDeactivate", true),
      S("TextFont", row.textFont),
      B("Bold", false),
      B("Italic", false),
      B("Underline", row.underline),
      S("DataSource", ""),
      S("DataField", ""),
      S("InitialParent", ""),
  };
  records.insert(records.end(), rest.begin(), rest.end());
  return fw::EncodePropertyStream(records);
}

const std::vector<fw::PropertyRecord> kCanvas1Records = {
    S("Name", "Canvas1"),
    I("Index", kNoControlArray),
    I("Left", 104),
    I("Top", 17),
    I("Width", 72),
    I("Height", 72),
    B("LockLeft", true),
    B("LockTop", true),
    B("LockRight", false),
    B("LockBottom", false),
    I("TabPanelIndex", 0),
    I("TabIndex", 5),
    B("TabStop", true),
    B("Visible", true),
    S("HelpTag", ""),
    B("AutoDeactivate", true),
    B("Enabled", true),
    B("UseFocusRing", true),
    B("AcceptFocus", false),
    B("AcceptTabs", false),
    B("DoubleBuffer", false),
    B("EraseBackground", true),
    B("Transparent", true),
    S("InitialParent", ""),
};

}  // namespace

const std::string& Window() {
  static const std::string stream = fw::EncodePropertyStream(kWindowRecords);
  return stream;
}
const std::string& AboutName() {
  static const std::string stream = LabelStream(kAboutName);
  return stream;
}
const std::string& AboutVersion() {
  static const std::string stream = LabelStream(kAboutVersion);
  return stream;
}
const std::string& AboutVersionNumber() {
  static const std::string stream = LabelStream(kAboutVersionNumber);
  return stream;
}
const std::string& CboutCopy() {
  static const std::string stream = LabelStream(kCboutCopy);
  return stream;
}
const std::string& AboutURL() {
  static const std::string stream = LabelStream(kAboutURL);
  return stream;
}
const std::string& Canvas1() {
  static const std::string stream = fw::EncodePropertyStream(kCanvas1Records);
  return stream;
}

}  // namespace AboutWindow::Streams
