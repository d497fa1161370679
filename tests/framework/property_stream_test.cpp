#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Exceptions.h"
#include "FrameworkFixture.h"
#include "Label.h"
#include "PropertyStream.h"
#include "Rectangle.h"
#include "Timer.h"
#include "Window.h"

using fw::Color;
using fw::PropertyRecord;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += char(b);
  return s;
}

struct EncodingCase {
  const char* what;
  PropertyRecord record;
  std::string expected;
};

TEST(PropertyStreamEncode, EachTypeByteForByte) {
  const std::string twoByteText = "\xC3\xA9" + std::string(39, 'a');  // é and 39 letters
  const std::vector<EncodingCase> cases = {
      {"Int32 -1", {"Top", int32_t(-1)}, "Top " + Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {"Int32 smallest", {"Index", INT32_MIN}, "Index " + Bytes({0x80, 0, 0, 0})},
      {"Int32 201", {"Width", int32_t(201)}, "Width " + Bytes({0, 0, 0, 0xC9})},
      {"Int32 big-endian order", {"Period", int32_t(0x01020304)}, "Period " + Bytes({1, 2, 3, 4})},
      {"Boolean true", {"Visible", true}, "Visible " + Bytes({1})},
      {"Boolean false", {"Bold", false}, "Bold " + Bytes({0})},
      {"Color white", {"BackColor", Color(0xFFFFFF)}, "BackColor " + Bytes({0xFF, 0xFF, 0xFF})},
      {"Color R G B order", {"FillColor", Color(0x123456)}, "FillColor " + Bytes({0x12, 0x34, 0x56})},
      {"Color ignores bits 24-31", {"TextColor", Color(0xAB000000)}, "TextColor " + Bytes({0, 0, 0})},
      {"String", {"Title", std::string("Tintbeacon")}, "Title " + Bytes({0, 0, 0, 0x0A}) + "Tintbeacon"},
      {"empty String", {"HelpTag", std::string()}, "HelpTag " + Bytes({0, 0, 0, 0})},
      {"String counts bytes", {"Text", twoByteText}, "Text " + Bytes({0, 0, 0, 41}) + twoByteText},
  };
  for (const EncodingCase& c : cases) {
    EXPECT_EQ(fw::EncodePropertyStream({c.record}), c.expected) << c.what;
  }
}

TEST(PropertyStreamEncode, RecordsBackToBackWithoutFraming) {
  EXPECT_EQ(fw::EncodePropertyStream({{"Period", int32_t(128)}, {"Mode", int32_t(2)}}),
            "Period " + Bytes({0, 0, 0, 0x80}) + "Mode " + Bytes({0, 0, 0, 2}));
  EXPECT_EQ(fw::EncodePropertyStream({}), "");
}

TEST(PropertyStreamEncode, RejectsNamesThatCannotBeReadBack) {
  for (const char* name : {"", "Two Words", "Tab\t", "X1"}) {
    EXPECT_THROW(fw::EncodePropertyStream({{name, true}}), fw::RuntimeException) << '"' << name << '"';
  }
}

TEST(PropertyStreamDecode, ReadsEachTypeByTheDeclaredType) {
  const std::vector<PropertyRecord> records = {
      {"Text", std::string("\xE8\xB5\xA4 red")}, {"TextAlign", int32_t(-2)}, {"TextColor", Color(0x00FF80)},
      {"Bold", true},  {"HelpTag", std::string()},        {"Index", INT32_MIN},
  };
  fw::Label label;
  std::vector<PropertyRecord> decoded =
      fw::DecodePropertyStream(fw::EncodePropertyStream(records), label.StoredProperties());
  ASSERT_EQ(decoded.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(decoded[i].name, records[i].name);
    EXPECT_EQ(decoded[i].value, records[i].value) << records[i].name;
  }
}

TEST(PropertyStreamDecode, DamagedStreamsThrow) {
  fw::Label label;
  const fw::PropertyTable& table = label.StoredProperties();
  const std::string good = fw::EncodePropertyStream({{"Text", std::string("abc")}, {"Left", int32_t(5)}});
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"unknown name", fw::EncodePropertyStream({{"Colour", Color(0)}})},
      {"name without blank", "Bold"},
      {"empty name", " " + Bytes({1})},
      {"cut inside the last Int32", good.substr(0, good.size() - 1)},
      {"cut inside a String count", "Text " + Bytes({0, 0})},
      {"String count past the end", "Text " + Bytes({0, 0, 0, 9}) + "abc"},
      {"huge String count", "Text " + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + "abc"},
      {"Boolean without its byte", "Bold "},
  };
  for (const auto& [what, stream] : cases) {
    EXPECT_THROW(fw::DecodePropertyStream(stream, table), fw::RuntimeException) << what;
  }
  EXPECT_NO_THROW(fw::DecodePropertyStream(good, table));
}

TEST(PropertyStreamDecode, NamesMatchRegardlessOfCase) {
  fw::Label label;
  fw::SetProperties(label, fw::EncodePropertyStream({{"Multiline", true}, {"TEXTALIGN", int32_t(1)}}));
  EXPECT_TRUE(label.MultiLine);
  EXPECT_EQ(label.TextAlign, 1);

  fw::Window window;
  fw::SetProperties(window, fw::EncodePropertyStream({{"MacProcID", int32_t(7)}}));
  EXPECT_EQ(window.MacProcId, 7);
}

// The names of every record each class's stored layout holds.
struct ClassNames {
  const char* cls;
  fw::Object* object;
  std::vector<std::string> names;
};

TEST(PropertyTables, HoldEveryStoredName) {
  fw::Canvas canvas;
  fw::Rectangle rectangle;
  fw::Label label;
  fw::Timer timer;
  fw::Window window;
  const std::vector<std::string> rect = {"InitialParent", "Enabled",  "AutoDeactivate", "HelpTag",  "Visible",
                                         "TabStop",       "TabIndex", "TabPanelIndex",  "LockBottom", "LockRight",
                                         "LockTop",       "LockLeft", "Height",         "Width",    "Top",
                                         "Left",          "Index",    "Name"};
  auto with = [&](std::vector<std::string> own) {
    own.insert(own.end(), rect.begin(), rect.end());
    return own;
  };
  const std::vector<ClassNames> classes = {
      {"Canvas", &canvas,
       with({"Transparent", "EraseBackground", "DoubleBuffer", "AcceptTabs", "AcceptFocus", "UseFocusRing"})},
      {"Rectangle", &rectangle, with({"BottomRightColor", "TopLeftColor", "BorderWidth", "FillColor"})},
      {"Label", &label,
       with({"DataField", "DataSource", "Underline", "Italic", "Bold", "TextFont", "Transparent", "Selectable",
             "Multiline", "TextColor", "TextAlign", "Text"})},
      {"Timer", &timer, {"Period", "Mode", "Name", "Index"}},
      {"Window", &window,
       {"Placement", "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Frame", "Composite",
        "HasBackColor", "BackColor", "Title", "Visible", "FullScreen", "MenuBarVisible", "CloseButton", "Resizeable",
        "LiveResize", "MaximizeButton", "MinimizeButton", "FullScreenButton", "MacProcID"}},
  };
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
  };
  for (const ClassNames& c : classes) {
    const fw::PropertyTable& table = c.object->StoredProperties();
    for (const std::string& name : c.names) {
      size_t found = std::count_if(table.begin(), table.end(),
                                   [&](const fw::PropertyDecl& d) { return lower(d.name) == lower(name); });
      EXPECT_EQ(found, 1u) << c.cls << "." << name;
    }
  }
}

TEST(SetProperties, LabelTakesEveryValueOfItsStream) {
  fw::Label label;
  fw::SetProperties(label, fw::EncodePropertyStream({
                               {"InitialParent", std::string("Viewer")}, {"DataField", std::string("f")},
                               {"DataSource", std::string("s")},         {"Underline", true},
                               {"Italic", true},                         {"Bold", true},
                               {"TextFont", std::string("Mono")},        {"AutoDeactivate", false},
                               {"HelpTag", std::string("tip")},          {"Transparent", true},
                               {"Selectable", true},                     {"Visible", false},
                               {"Enabled", false},                       {"Multiline", true},
                               {"TextColor", Color(0x102030)},           {"TextAlign", int32_t(2)},
                               {"Text", std::string("x")},               {"TabIndex", int32_t(3)},
                               {"TabPanelIndex", int32_t(4)},            {"LockBottom", true},
                               {"LockRight", true},                      {"LockTop", true},
                               {"LockLeft", true},                       {"Height", int32_t(20)},
                               {"Width", int32_t(160)},                  {"Top", int32_t(-1)},
                               {"Left", int32_t(43)},                    {"Index", INT32_MIN},
                               {"Name", std::string("NameLabel")},       {"TabStop", false},
                           }));
  EXPECT_EQ(label.InitialParent, "Viewer");
  EXPECT_EQ(label.DataField, "f");
  EXPECT_EQ(label.DataSource, "s");
  EXPECT_TRUE(label.Underline && label.Italic && label.Bold && label.Transparent && label.Selectable);
  EXPECT_EQ(label.TextFont, "Mono");
  EXPECT_FALSE(label.AutoDeactivate || label.Visible || label.Enabled || label.TabStop);
  EXPECT_EQ(label.HelpTag, "tip");
  EXPECT_TRUE(label.MultiLine);
  EXPECT_EQ(label.TextColor, Color(0x102030));
  EXPECT_EQ(label.TextAlign, 2);
  EXPECT_EQ(label.Text, "x");
  EXPECT_EQ(label.TabIndex, 3);
  EXPECT_EQ(label.TabPanelIndex, 4);
  EXPECT_TRUE(label.LockBottom && label.LockRight && label.LockTop && label.LockLeft);
  EXPECT_EQ(label.Height, 20);
  EXPECT_EQ(label.Width, 160);
  EXPECT_EQ(label.Top, -1);
  EXPECT_EQ(label.Left, 43);
  EXPECT_EQ(label.Index, INT32_MIN);
  EXPECT_EQ(label.Name, "NameLabel");
}

TEST(SetProperties, ADamagedStreamChangesNothing) {
  fw::Rectangle rectangle;
  std::string stream = fw::EncodePropertyStream({{"BorderWidth", int32_t(0)}, {"FillColor", Color(0x000000)}});
  stream.pop_back();
  EXPECT_THROW(fw::SetProperties(rectangle, stream), fw::RuntimeException);
  EXPECT_EQ(rectangle.BorderWidth, 1);
  EXPECT_EQ(rectangle.FillColor, Color(0xFFFFFF));
}

TEST(SetProperties, WindowSizeTitleAndVisibilityGoThroughTheirSetters) {
  fw::Window window;
  fw::SetProperties(window, fw::EncodePropertyStream({{"Width", int32_t(201)},
                                                      {"Height", int32_t(250)},
                                                      {"Title", std::string("Tintbeacon")},
                                                      {"Visible", false},
                                                      {"Resizeable", false}}));
  EXPECT_EQ(window.Width(), 201);
  EXPECT_EQ(window.Height(), 250);
  EXPECT_EQ(window.Title(), "Tintbeacon");
  EXPECT_FALSE(window.Visible());
  EXPECT_FALSE(window.Resizeable);
}

using TimerStreamTest = FrameworkTest;

TEST_F(TimerStreamTest, PeriodThenModeStartsTheTimer) {
  fw::Timer timer;
  const std::string stream = fw::EncodePropertyStream({{"Period", int32_t(128)}, {"Mode", int32_t(2)}});
  EXPECT_EQ(stream.size(), 20u);
  fw::SetProperties(timer, stream);
  EXPECT_EQ(timer.Period(), 128);
  EXPECT_EQ(timer.Mode(), fw::Timer::ModeMultiple);
  EXPECT_TRUE(backend().TimerScheduled(timer));
  EXPECT_EQ(backend().TimerPeriod(timer), 128);
}

}  // namespace
