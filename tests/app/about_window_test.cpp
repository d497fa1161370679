// The About window: its stored layouts, its controls and the link.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/AboutWindow.h"
#include "app/TBIcon72.h"
#include "framework/Canvas.h"
#include "framework/Label.h"
#include "framework/PropertyStream.h"
#include "support/StreamBytes.h"

namespace {

using namespace AboutWindow;

std::vector<std::string> RecordNames(const std::string& stream, const fw::Object& object) {
  std::vector<std::string> names;
  for (const fw::PropertyRecord& r : fw::DecodePropertyStream(stream, object.StoredProperties()))
    names.push_back(r.name);
  return names;
}

std::vector<std::string> Reversed(std::vector<std::string> names) { return {names.rbegin(), names.rend()}; }

// The picker window's record orders, which the About window's control
// streams reverse.
const std::vector<std::string> kPickerLabelOrder = {
    "InitialParent", "DataField", "DataSource", "Underline",     "Italic",    "Bold",     "TextFont",  "AutoDeactivate",
    "HelpTag",       "Transparent", "Selectable", "Visible",     "Enabled",   "Multiline", "TextColor", "TextAlign",
    "Text",          "TabIndex",  "TabPanelIndex", "LockBottom", "LockRight", "LockTop",  "LockLeft",  "Height",
    "Width",         "Top",       "Left",       "Index",         "Name",      "TabStop"};
const std::vector<std::string> kPickerCanvasOrder = {
    "InitialParent", "Transparent", "EraseBackground", "DoubleBuffer", "AcceptTabs", "AcceptFocus",
    "UseFocusRing",  "Enabled",     "AutoDeactivate",  "HelpTag",      "Visible",    "TabStop",
    "TabIndex",      "TabPanelIndex", "LockBottom",    "LockRight",    "LockTop",    "LockLeft",
    "Height",        "Width",       "Top",             "Left",         "Index",      "Name"};
const std::vector<std::string> kWindowOrder = {
    "Placement",   "Width",          "Height",     "MinWidth",   "MinHeight",      "MaxWidth",
    "MaxHeight",   "Frame",          "Composite",  "HasBackColor", "BackColor",    "Title",
    "Visible",     "FullScreen",     "MenuBarVisible", "CloseButton", "Resizeable", "LiveResize",
    "MaximizeButton", "MinimizeButton", "FullScreenButton", "MacProcID"};

std::vector<std::string> Without(std::vector<std::string> names, const std::string& dropped) {
  std::erase(names, dropped);
  return names;
}

struct StreamCase {
  const char* name;
  const std::string& (*stream)();
  size_t bytes;
};

// Byte counts: every record is its name, a blank and the value (Boolean 1,
// Int32 4, Color 3, String 4 + UTF-8 bytes); "©" is two bytes.
const StreamCase kStreams[] = {
    {"Window", Streams::Window, 285},
    {"AboutName", Streams::AboutName, 369},
    {"AboutVersion", Streams::AboutVersion, 351},
    {"AboutVersionNumber", Streams::AboutVersionNumber, 357},
    {"CboutCopy", Streams::CboutCopy, 375},
    {"AboutURL", Streams::AboutURL, 379},
    {"Canvas1", Streams::Canvas1, 293},
};

TEST(AboutStreams, ByteLengths) {
  for (const StreamCase& c : kStreams) EXPECT_EQ(c.stream().size(), c.bytes) << c.name;
}

TEST(AboutStreams, RecordOrdersReverseThePickerWindows) {
  fw::Label label;
  fw::Canvas canvas;
  auto labelOrder = Reversed(kPickerLabelOrder);
  EXPECT_EQ(RecordNames(Streams::AboutName(), label), labelOrder);
  EXPECT_EQ(RecordNames(Streams::CboutCopy(), label), labelOrder);
  EXPECT_EQ(RecordNames(Streams::AboutURL(), label), labelOrder);
  EXPECT_EQ(RecordNames(Streams::AboutVersion(), label), Without(labelOrder, "Text"));
  EXPECT_EQ(RecordNames(Streams::AboutVersionNumber(), label), Without(labelOrder, "Text"));
  EXPECT_EQ(RecordNames(Streams::Canvas1(), canvas), Reversed(kPickerCanvasOrder));
}

TEST(AboutStreams, EncodingsOfTheLinkAndTheCopyright) {
  const std::string& url = Streams::AboutURL();
  // A label stream begins with TabStop, then the name.
  EXPECT_EQ(url.substr(0, 9), std::string("TabStop \x01", 9));
  EXPECT_EQ(url.substr(9, 17), std::string("Name \x00\x00\x00\x08" "AboutURL", 17));
  EXPECT_NE(url.find(std::string("Index \x80\x00\x00\x00", 10)), std::string::npos);
  EXPECT_NE(url.find(std::string("TextColor \x00\x00\xFF", 13)), std::string::npos);
  EXPECT_NE(url.find(std::string("Underline \x01", 11)), std::string::npos);
  std::string copyright = kCopyrightLine;
  std::string count = {0, 0, 0, char(copyright.size())};
  EXPECT_NE(Streams::CboutCopy().find("Text " + count + copyright), std::string::npos);
  EXPECT_EQ(copyright.size(), 18u);  // "©" takes two bytes
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
const std::string kCopyright = "\u00A9 2026 Tintbeacon";
const std::string kAddress = "https://tintbeacon.org/";

// The same value in all five label columns.
Row All(const char* name, const streambytes::Value& value) { return {name, {value, value, value, value, value}}; }

// Columns: AboutName, AboutVersion, AboutVersionNumber, CboutCopy, AboutURL.
const std::vector<Row> kLabels = {
    All("TabStop", Boolean(true)),
    {"Name", {String("AboutName"), String("AboutVersion"), String("AboutVersionNumber"), String("CboutCopy"),
              String("AboutURL")}},
    All("Index", Int32(kNoControlArray)),
    {"Left", {Int32(72), Int32(12), Int32(158), Int32(0), Int32(80)}},
    {"Top", {Int32(93), Int32(123), Int32(123), Int32(158), Int32(185)}},
    {"Width", {Int32(135), Int32(140), Int32(140), Int32(280), Int32(127)}},
    {"Height", {Int32(28), Int32(20), Int32(20), Int32(20), Int32(16)}},
    All("LockLeft", Boolean(true)),
    All("LockTop", Boolean(true)),
    All("LockRight", Boolean(false)),
    All("LockBottom", Boolean(false)),
    All("TabPanelIndex", Int32(0)),
    {"TabIndex", {Int32(0), Int32(1), Int32(2), Int32(3), Int32(4)}},
    {"Text", {String("Tintbeacon"), std::nullopt, std::nullopt, String(kCopyright), String(kAddress)}},
    {"TextAlign", {Int32(1), Int32(2), Int32(0), Int32(1), Int32(1)}},
    {"TextColor", {Color(0x000000), Color(0x000000), Color(0x000000), Color(0x000000), Color(0x0000FF)}},
    All("Multiline", Boolean(false)),
    All("Enabled", Boolean(true)),
    All("Visible", Boolean(true)),
    All("Selectable", Boolean(false)),
    All("Transparent", Boolean(false)),
    All("HelpTag", String("")),
    All("AutoDeactivate", Boolean(true)),
    {"TextFont", {String("Rockwell"), String("System"), String("System"), String("System"), String("System")}},
    All("Bold", Boolean(false)),
    All("Italic", Boolean(false)),
    {"Underline", {Boolean(false), Boolean(false), Boolean(false), Boolean(false), Boolean(true)}},
    All("DataSource", String("")),
    All("DataField", String("")),
    All("InitialParent", String("")),
};

const std::vector<Row> kCanvas1 = {
    {"Name", {String("Canvas1")}},
    {"Index", {Int32(kNoControlArray)}},
    {"Left", {Int32(104)}},
    {"Top", {Int32(17)}},
    {"Width", {Int32(72)}},
    {"Height", {Int32(72)}},
    {"LockLeft", {Boolean(true)}},
    {"LockTop", {Boolean(true)}},
    {"LockRight", {Boolean(false)}},
    {"LockBottom", {Boolean(false)}},
    {"TabPanelIndex", {Int32(0)}},
    {"TabIndex", {Int32(5)}},
    {"TabStop", {Boolean(true)}},
    {"Visible", {Boolean(true)}},
    {"HelpTag", {String("")}},
    {"AutoDeactivate", {Boolean(true)}},
    {"Enabled", {Boolean(true)}},
    {"UseFocusRing", {Boolean(true)}},
    {"AcceptFocus", {Boolean(false)}},
    {"AcceptTabs", {Boolean(false)}},
    {"DoubleBuffer", {Boolean(false)}},
    {"EraseBackground", {Boolean(true)}},
    {"Transparent", {Boolean(true)}},
    {"InitialParent", {String("")}},
};

}  // namespace table

TEST(AboutStreams, EveryStreamHoldsExactlyItsRecords) {
  streambytes::ExpectEachHoldsExactly({
      {"Window", Streams::Window, streambytes::WindowTable(), streambytes::kAboutWindow},
      {"AboutName", Streams::AboutName, table::kLabels, 0},
      {"AboutVersion", Streams::AboutVersion, table::kLabels, 1},
      {"AboutVersionNumber", Streams::AboutVersionNumber, table::kLabels, 2},
      {"CboutCopy", Streams::CboutCopy, table::kLabels, 3},
      {"AboutURL", Streams::AboutURL, table::kLabels, 4},
      {"Canvas1", Streams::Canvas1, table::kCanvas1, 0},
  });
}

class AboutWindowTest : public apptest::AppTest {
 protected:
  void TearDown() override {
    SetTBIcon72Resources(fw::GetApplicationBundleResources);
    AppTest::TearDown();
  }
};

struct LabelExpectation {
  fw::Label* (AboutWindow::AboutWindow::*control)();
  int32_t left, top, width, height;
  const char* text;
  int32_t align;
  uint32_t color;
  const char* font;
  float size;
  bool underline;
};

TEST_F(AboutWindowTest, ControlsAsStoredAndSetByCode) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt), lang("LANG", "C");
  AboutWindow::AboutWindow* w = AboutWindow::AboutWindow::Instance();
  EXPECT_EQ(w->Width(), 280);
  EXPECT_EQ(w->Height(), 222);
  EXPECT_EQ(w->Title(), "");
  EXPECT_FALSE(w->Resizeable);
  EXPECT_FALSE(w->MinimizeButton);
  EXPECT_FALSE(w->MaximizeButton);
  EXPECT_TRUE(w->CloseButton);
  EXPECT_EQ(w->Placement, 2);

  const LabelExpectation labels[] = {
      {&AboutWindow::AboutWindow::AboutName, 72, 93, 135, 28, "Tintbeacon", 1, 0x000000, "Rockwell", 18, false},
      {&AboutWindow::AboutWindow::AboutVersion, 12, 123, 140, 20, "version", 2, 0x000000, "System", 12, false},
      {&AboutWindow::AboutWindow::AboutVersionNumber, 158, 123, 140, 20, "0.3.0", 0, 0x000000, "System", 12, false},
      {&AboutWindow::AboutWindow::CboutCopy, 0, 158, 280, 20, kCopyrightLine, 1, 0x000000, "System", 12, false},
      {&AboutWindow::AboutWindow::AboutURL, 80, 185, 127, 16, kWebAddress, 1, 0x0000FF, "System", 12, true},
  };
  int tabIndex = 0;
  for (const LabelExpectation& want : labels) {
    fw::Label& l = *(w->*want.control)();
    SCOPED_TRACE(l.Name);
    EXPECT_EQ(l.Left, want.left);
    EXPECT_EQ(l.Top, want.top);
    EXPECT_EQ(l.Width, want.width);
    EXPECT_EQ(l.Height, want.height);
    EXPECT_EQ(l.Text, want.text);
    EXPECT_EQ(l.TextAlign, want.align);
    EXPECT_EQ(l.TextColor, fw::Color(want.color));
    EXPECT_EQ(l.TextFont, want.font);
    EXPECT_EQ(l.TextSize, want.size);
    EXPECT_EQ(l.TextUnit, 0);
    EXPECT_EQ(l.Underline, want.underline);
    EXPECT_EQ(l.TabIndex, tabIndex++);
    EXPECT_EQ(l.Index, INT32_MIN);
  }
  fw::Canvas& icon = *w->Canvas1();
  EXPECT_EQ(icon.Left, 104);
  EXPECT_EQ(icon.Top, 17);
  EXPECT_EQ(icon.Width, 72);
  EXPECT_EQ(icon.TabIndex, 5);
  EXPECT_TRUE(icon.Transparent);
  ASSERT_NE(icon.Backdrop, nullptr);
  EXPECT_EQ(icon.Backdrop->Width() / icon.Backdrop->PixelsPerPoint(), 72);
  EXPECT_EQ(icon.Backdrop->Height() / icon.Backdrop->PixelsPerPoint(), 72);
  EXPECT_EQ(icon.Backdrop, TBIcon72());
}

TEST_F(AboutWindowTest, VersionTextsFollowTheSystemLanguage) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt),
      lang("LANG", "ja_JP.UTF-8"), language("LANGUAGE", std::nullopt);
  AboutWindow::AboutWindow* w = AboutWindow::AboutWindow::Instance();
  EXPECT_EQ(w->AboutVersion()->Text, "バージョン");
  EXPECT_EQ(w->AboutVersionNumber()->Text, "0.3.0");
  EXPECT_EQ(w->AboutName()->Text, "Tintbeacon");
}

TEST_F(AboutWindowTest, AClickOpensTheTextTheLinkShows) {
  fw::Label& link = *AboutWindow::AboutWindow::Instance()->AboutURL();
  ASSERT_TRUE(link.MouseDown);
  EXPECT_FALSE(link.MouseDown(link, 5, 6));
  link.Text = "https://example.org/other";
  EXPECT_FALSE(link.MouseDown(link, 0, 0));
  EXPECT_EQ(backend().OpenedURLs(), (std::vector<std::string>{kWebAddress, "https://example.org/other"}));
}

TEST_F(AboutWindowTest, OpensWithoutTheIconPicture) {
  apptest::TempFolder empty;
  SetTBIcon72Resources([&] { return std::make_shared<fw::FolderItem>(empty.Path()); });
  AboutWindow::AboutWindow* w = AboutWindow::AboutWindow::Instance();
  EXPECT_EQ(w->Canvas1()->Backdrop, nullptr);
  EXPECT_EQ(w->AboutName()->Text, "Tintbeacon");
}

}  // namespace
