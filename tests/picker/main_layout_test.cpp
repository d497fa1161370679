// The picker window's stored layout, checked byte for byte without a window.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "picker/MainLayout.h"
#include "support/StreamBytes.h"

namespace {

enum class Kind { Boolean, Int32, Color, String };

// Every stored name of the picker's streams with its declared type.
const std::map<std::string, Kind>& Types() {
  static const std::map<std::string, Kind> types = [] {
    std::map<std::string, Kind> t;
    for (const char* n : {"Composite", "HasBackColor", "Visible", "FullScreen", "MenuBarVisible", "CloseButton",
                          "Resizeable", "LiveResize", "MaximizeButton", "MinimizeButton", "FullScreenButton",
                          "Transparent", "EraseBackground", "DoubleBuffer", "AcceptTabs", "AcceptFocus",
                          "UseFocusRing", "Enabled", "AutoDeactivate", "TabStop", "LockBottom", "LockRight",
                          "LockTop", "LockLeft", "Underline", "Italic", "Bold", "Selectable", "Multiline"})
      t[n] = Kind::Boolean;
    for (const char* n : {"Placement", "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Frame",
                          "MacProcID", "TabIndex", "TabPanelIndex", "Top", "Left", "Index", "BorderWidth",
                          "TextAlign", "Period", "Mode"})
      t[n] = Kind::Int32;
    for (const char* n : {"BackColor", "FillColor", "TopLeftColor", "BottomRightColor", "TextColor"})
      t[n] = Kind::Color;
    for (const char* n : {"Title", "InitialParent", "HelpTag", "Name", "DataField", "DataSource", "TextFont", "Text"})
      t[n] = Kind::String;
    return t;
  }();
  return types;
}

uint32_t BigEndian(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
         uint32_t(uint8_t(s[at + 3]));
}

// Splits a stream into (name, value bytes) by the declared types; fails the
// test on a name it does not know or a stream that does not end exactly
// after a value.
std::vector<std::pair<std::string, std::string>> Records(const std::string& stream) {
  std::vector<std::pair<std::string, std::string>> records;
  size_t at = 0;
  while (at < stream.size()) {
    size_t blank = stream.find(' ', at);
    EXPECT_NE(blank, std::string::npos);
    if (blank == std::string::npos) break;
    std::string name = stream.substr(at, blank - at);
    auto type = Types().find(name);
    EXPECT_NE(type, Types().end()) << name;
    if (type == Types().end()) break;
    size_t width = type->second == Kind::Boolean ? 1 : type->second == Kind::Color ? 3 : 4;
    if (type->second == Kind::String) width += BigEndian(stream, blank + 1);
    EXPECT_LE(blank + 1 + width, stream.size()) << name;
    records.emplace_back(name, stream.substr(blank + 1, width));
    at = blank + 1 + width;
  }
  return records;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::vector<std::string> Names(const std::string& stream) {
  std::vector<std::string> names;
  for (auto& [name, value] : Records(stream)) names.push_back(name);
  return names;
}

std::string Value(const std::string& stream, const std::string& name) {
  for (auto& [n, value] : Records(stream))
    if (n == name) return value;
  ADD_FAILURE() << "no record " << name;
  return {};
}

const char* kWindowOrder =
    "Placement Width Height MinWidth MinHeight MaxWidth MaxHeight Frame Composite HasBackColor BackColor Title "
    "Visible FullScreen MenuBarVisible CloseButton Resizeable LiveResize MaximizeButton MinimizeButton "
    "FullScreenButton MacProcID";
const char* kCanvasOrder =
    "InitialParent Transparent EraseBackground DoubleBuffer AcceptTabs AcceptFocus UseFocusRing Enabled "
    "AutoDeactivate HelpTag Visible TabStop TabIndex TabPanelIndex LockBottom LockRight LockTop LockLeft Height "
    "Width Top Left Index Name";
const char* kRectangleOrder =
    "InitialParent BottomRightColor TopLeftColor BorderWidth FillColor Enabled AutoDeactivate HelpTag Visible "
    "TabPanelIndex TabIndex LockBottom LockRight LockTop LockLeft Height Width Top Left Index Name TabStop";
const char* kLabelOrder =
    "InitialParent DataField DataSource Underline Italic Bold TextFont AutoDeactivate HelpTag Transparent "
    "Selectable Visible Enabled Multiline TextColor TextAlign Text TabIndex TabPanelIndex LockBottom LockRight "
    "LockTop LockLeft Height Width Top Left Index Name TabStop";
const char* kTimerOrder = "Period Mode";

struct StreamCase {
  const char* what;
  const std::string& (*stream)();
  size_t length;
  const char* order;
};

const StreamCase kStreams[] = {
    {"window", MainLayout::Window, 295, kWindowOrder},
    {"Viewer", MainLayout::Viewer, 292, kCanvasOrder},
    {"LocationBG", MainLayout::LocationBG, 284, kRectangleOrder},
    {"LocLabel", MainLayout::LocLabel, 362, kLabelOrder},
    {"GetPicture", MainLayout::GetPicture, 20, kTimerOrder},
    {"CurrentColorRect", MainLayout::CurrentColorRect, 284, kRectangleOrder},
    {"ColorLabel", MainLayout::ColorLabel, 358, kLabelOrder},
    {"NameLabel", MainLayout::NameLabel, 357, kLabelOrder},
    {"SayColor", MainLayout::SayColor, 20, kTimerOrder},
};

TEST(MainLayout, StreamsHaveTheirLengthsAndRecordOrders) {
  for (const StreamCase& c : kStreams) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.stream().size(), c.length);
    EXPECT_EQ(Names(c.stream()), Words(c.order));
  }
}

TEST(MainLayout, EncodesValuesByType) {
  using std::string;
  EXPECT_EQ(Value(MainLayout::Viewer(), "Top"), string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(Value(MainLayout::Window(), "Width"), string("\x00\x00\x00\xC9", 4));
  EXPECT_EQ(Value(MainLayout::Window(), "BackColor"), string("\xFF\xFF\xFF", 3));
  EXPECT_EQ(Value(MainLayout::Window(), "Title"), string("\x00\x00\x00\x0ATintbeacon", 14));
  EXPECT_EQ(Value(MainLayout::Window(), "Resizeable"), string("\x00", 1));
  EXPECT_EQ(Value(MainLayout::Window(), "Visible"), string("\x01", 1));
  EXPECT_EQ(Value(MainLayout::LocLabel(), "Text"), string("\x00\x00\x00\x00", 4));
  EXPECT_EQ(Value(MainLayout::NameLabel(), "Name"), string("\x00\x00\x00\x09NameLabel", 13));
  EXPECT_EQ(Value(MainLayout::GetPicture(), "Period"), string("\x00\x00\x00\x80", 4));
  EXPECT_EQ(Value(MainLayout::SayColor(), "Period"), string("\x00\x00\x07\xD0", 4));
  EXPECT_EQ(Value(MainLayout::SayColor(), "Mode"), string("\x00\x00\x00\x00", 4));
  EXPECT_EQ(Value(MainLayout::CurrentColorRect(), "BorderWidth"), string("\x00\x00\x00\x01", 4));
  EXPECT_EQ(Value(MainLayout::LocationBG(), "BorderWidth"), string("\x00\x00\x00\x00", 4));
}

TEST(MainLayout, EveryVisualControlIsOutsideAnyControlArray) {
  for (const StreamCase& c : kStreams) {
    if (std::string(c.order) == kTimerOrder || std::string(c.what) == "window") continue;
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Value(c.stream(), "Index"), std::string("\x80\x00\x00\x00", 4));
    EXPECT_EQ(Value(c.stream(), "Name").substr(4), c.what);
  }
}

// Every stream, byte for byte, from the tables of what the window and each
// control store: any single value changed makes the stream differ.
namespace table {

using streambytes::Boolean;
using streambytes::Color;
using streambytes::Int32;
using streambytes::Row;
using streambytes::String;

constexpr int32_t kNoControlArray = INT32_MIN;

const std::vector<Row> kViewer = {
    {"InitialParent", {String("")}},
    {"Transparent", {Boolean(false)}},
    {"EraseBackground", {Boolean(true)}},
    {"DoubleBuffer", {Boolean(false)}},
    {"AcceptTabs", {Boolean(false)}},
    {"AcceptFocus", {Boolean(false)}},
    {"UseFocusRing", {Boolean(true)}},
    {"Enabled", {Boolean(true)}},
    {"AutoDeactivate", {Boolean(true)}},
    {"HelpTag", {String("")}},
    {"Visible", {Boolean(true)}},
    {"TabStop", {Boolean(true)}},
    {"TabIndex", {Int32(0)}},
    {"TabPanelIndex", {Int32(0)}},
    {"LockBottom", {Boolean(false)}},
    {"LockRight", {Boolean(false)}},
    {"LockTop", {Boolean(true)}},
    {"LockLeft", {Boolean(true)}},
    {"Height", {Int32(201)}},
    {"Width", {Int32(201)}},
    {"Top", {Int32(-1)}},
    {"Left", {Int32(0)}},
    {"Index", {Int32(kNoControlArray)}},
    {"Name", {String("Viewer")}},
};

// Columns: LocationBG, CurrentColorRect.
const std::vector<Row> kRectangles = {
    {"InitialParent", {String("Viewer"), String("")}},
    {"BottomRightColor", {Color(0x000000), Color(0x000000)}},
    {"TopLeftColor", {Color(0x000000), Color(0x000000)}},
    {"BorderWidth", {Int32(0), Int32(1)}},
    {"FillColor", {Color(0xFFFFFF), Color(0xFFFFFF)}},
    {"Enabled", {Boolean(true), Boolean(true)}},
    {"AutoDeactivate", {Boolean(true), Boolean(true)}},
    {"HelpTag", {String(""), String("")}},
    {"Visible", {Boolean(false), Boolean(true)}},
    {"TabPanelIndex", {Int32(0), Int32(0)}},
    {"TabIndex", {Int32(0), Int32(1)}},
    {"LockBottom", {Boolean(false), Boolean(false)}},
    {"LockRight", {Boolean(false), Boolean(false)}},
    {"LockTop", {Boolean(true), Boolean(true)}},
    {"LockLeft", {Boolean(true), Boolean(true)}},
    {"Height", {Int32(18), Int32(43)}},
    {"Width", {Int32(201), Int32(43)}},
    {"Top", {Int32(182), Int32(204)}},
    {"Left", {Int32(0), Int32(3)}},
    {"Index", {Int32(kNoControlArray), Int32(kNoControlArray)}},
    {"Name", {String("LocationBG"), String("CurrentColorRect")}},
    {"TabStop", {Boolean(true), Boolean(true)}},
};

// Columns: LocLabel, ColorLabel, NameLabel.
const std::vector<Row> kLabels = {
    {"InitialParent", {String("Viewer"), String(""), String("")}},
    {"DataField", {String(""), String(""), String("")}},
    {"DataSource", {String(""), String(""), String("")}},
    {"Underline", {Boolean(false), Boolean(false), Boolean(false)}},
    {"Italic", {Boolean(false), Boolean(false), Boolean(false)}},
    {"Bold", {Boolean(false), Boolean(false), Boolean(false)}},
    {"TextFont", {String("System"), String("System"), String("System")}},
    {"AutoDeactivate", {Boolean(true), Boolean(true), Boolean(true)}},
    {"HelpTag", {String(""), String(""), String("")}},
    {"Transparent", {Boolean(false), Boolean(false), Boolean(false)}},
    {"Selectable", {Boolean(false), Boolean(false), Boolean(false)}},
    {"Visible", {Boolean(false), Boolean(true), Boolean(true)}},
    {"Enabled", {Boolean(true), Boolean(true), Boolean(true)}},
    {"Multiline", {Boolean(false), Boolean(false), Boolean(false)}},
    {"TextColor", {Color(0x000000), Color(0x000000), Color(0x000000)}},
    {"TextAlign", {Int32(1), Int32(1), Int32(1)}},
    {"Text", {String(""), String(""), String("")}},
    {"TabIndex", {Int32(1), Int32(2), Int32(3)}},
    {"TabPanelIndex", {Int32(0), Int32(0), Int32(0)}},
    {"LockBottom", {Boolean(false), Boolean(false), Boolean(false)}},
    {"LockRight", {Boolean(false), Boolean(false), Boolean(false)}},
    {"LockTop", {Boolean(true), Boolean(true), Boolean(true)}},
    {"LockLeft", {Boolean(true), Boolean(true), Boolean(true)}},
    {"Height", {Int32(20), Int32(20), Int32(20)}},
    {"Width", {Int32(154), Int32(160), Int32(160)}},
    {"Top", {Int32(181), Int32(204), Int32(225)}},
    {"Left", {Int32(25), Int32(41), Int32(43)}},
    {"Index", {Int32(kNoControlArray), Int32(kNoControlArray), Int32(kNoControlArray)}},
    {"Name", {String("LocLabel"), String("ColorLabel"), String("NameLabel")}},
    {"TabStop", {Boolean(true), Boolean(true), Boolean(true)}},
};

// Columns: GetPicture, SayColor.
const std::vector<Row> kTimers = {
    {"Period", {Int32(128), Int32(2000)}},
    {"Mode", {Int32(2), Int32(0)}},
};

}  // namespace table

TEST(MainLayout, EveryStreamHoldsExactlyItsRecords) {
  streambytes::ExpectEachHoldsExactly({
      {"window", MainLayout::Window, streambytes::WindowTable(), streambytes::kPickerWindow},
      {"Viewer", MainLayout::Viewer, table::kViewer, 0},
      {"LocationBG", MainLayout::LocationBG, table::kRectangles, 0},
      {"LocLabel", MainLayout::LocLabel, table::kLabels, 0},
      {"GetPicture", MainLayout::GetPicture, table::kTimers, 0},
      {"CurrentColorRect", MainLayout::CurrentColorRect, table::kRectangles, 1},
      {"ColorLabel", MainLayout::ColorLabel, table::kLabels, 1},
      {"NameLabel", MainLayout::NameLabel, table::kLabels, 2},
      {"SayColor", MainLayout::SayColor, table::kTimers, 1},
  });
}

}  // namespace
