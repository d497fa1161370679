// The picker window's Tab shortcuts and its close, move and activate events,
// on the test backend.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "framework/System.h"
#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

class KeysTest : public PickerTest {
 protected:
  // Presses key with the given modifiers; returns what the handler answered.
  bool Press(const std::string& key, bool shift = false, bool option = false) {
    fw::Keyboard::SetState(shift, option);
    const bool handled = window_->Event_KeyDown(key);
    fw::Keyboard::SetState(false, false);
    return handled;
  }
  struct Settings {
    std::string color, mode, lang;
    bool operator==(const Settings&) const = default;
  };
  Settings Now() const { return {app_->SelectedColor, app_->ColorMode, app_->SelectedLang}; }
};

using TabKeys = KeysTest;

struct CycleCase {
  const char* what;
  bool shift, option;
  std::string App::*setting;
  std::vector<std::string> values;  // the start, then the value after each press
};

const CycleCase kCycles[] = {
    {"Shift+Tab", true, false, &App::SelectedColor, {"None", "Black", "White", "Red", "Green", "Blue", "None"}},
    {"Option+Tab", false, true, &App::ColorMode, {"RGB", "CMYK", "HLS", "RGB"}},
    {"Option+Tab from HLS", false, true, &App::ColorMode, {"HLS", "RGB", "CMYK", "HLS"}},
    {"Tab", false, false, &App::SelectedLang, {"ja", "en", "ja"}},
    // Shift is asked first: with Option held too only the colour changes.
    {"Shift+Option+Tab", true, true, &App::SelectedColor, {"Blue", "None", "Black"}},
};

TEST_F(TabKeys, EachTabWalksItsCycleAndTouchesNothingElse) {
  for (const CycleCase& c : kCycles) {
    SCOPED_TRACE(c.what);
    app_->SelectedColor = "Red";
    app_->ColorMode = "CMYK";
    app_->SelectedLang = "en";
    (*app_).*c.setting = c.values.front();
    for (size_t i = 1; i < c.values.size(); ++i) {
      Settings expected = Now();
      window_->MouseX = 50;
      window_->MouseY = 60;
      EXPECT_FALSE(Press("\t", c.shift, c.option));
      (c.setting == &App::SelectedColor ? expected.color
       : c.setting == &App::ColorMode   ? expected.mode
                                        : expected.lang) = c.values[i];
      EXPECT_EQ(Now(), expected) << "press " << i;
      EXPECT_EQ(window_->MouseX, -1);
      EXPECT_EQ(window_->MouseY, -1);
    }
  }
}

TEST_F(TabKeys, ValuesOutsideTheCyclesStayButTheViewIsRedrawn) {
  struct OutsideCase {
    const char* color;
    const char* mode;
    const char* lang;
  };
  for (const OutsideCase& c :
       {OutsideCase{"", "", ""}, OutsideCase{"Purple", "rgb", "fr"}, OutsideCase{"black", "Purple", "EN"}}) {
    for (auto [shift, option] : {std::pair{true, false}, {false, true}, {false, false}}) {
      app_->SelectedColor = c.color;
      app_->ColorMode = c.mode;
      app_->SelectedLang = c.lang;
      window_->MouseX = window_->MouseY = 5;
      EXPECT_FALSE(Press("\t", shift, option));
      EXPECT_EQ(Now(), (Settings{c.color, c.mode, c.lang}));
      EXPECT_EQ(window_->MouseX, -1);
      EXPECT_EQ(window_->MouseY, -1);
    }
  }
}

TEST_F(TabKeys, OtherKeysChangeNothing) {
  app_->SelectedColor = "Red";
  app_->ColorMode = "HLS";
  app_->SelectedLang = "ja";
  for (const char* key : {"a", "A", " ", "\n", "\r", "\x1b", "1", "\xE3\x81\x82", ""}) {
    for (bool shift : {false, true}) {
      window_->MouseX = 17;
      window_->MouseY = 23;
      EXPECT_FALSE(Press(key, shift, !shift)) << int(key[0]);
      EXPECT_EQ(Now(), (Settings{"Red", "HLS", "ja"})) << int(key[0]);
      EXPECT_EQ(window_->MouseX, 17);
      EXPECT_EQ(window_->MouseY, 23);
    }
  }
}

TEST_F(TabKeys, ArrivesThroughTheFrameworksKeyDispatch) {
  app_->SelectedLang = "en";
  app_->ColorMode = "RGB";
  app_->SelectedColor = "Black";
  window_->DispatchKeyDown("\t", false, false);
  EXPECT_EQ(app_->SelectedLang, "ja");
  window_->DispatchKeyDown("\t", false, true);
  EXPECT_EQ(app_->ColorMode, "CMYK");
  window_->DispatchKeyDown("\t", true, false);
  EXPECT_EQ(app_->SelectedColor, "White");
  EXPECT_EQ(window_->MouseX, -1);
}

TEST_F(TabKeys, ATabRedrawsAtTheNextCaptureTickThoughThePointerStayed) {
  TickAt(300, 200);
  const size_t runs = Runs().size();
  Tick();
  ASSERT_EQ(Runs().size(), runs);
  app_->SelectedLang = "en";
  Press("\t");
  Tick();
  EXPECT_EQ(Runs().size(), runs + 1);
  EXPECT_EQ(window_->MouseX, 300);
  EXPECT_EQ(window_->MouseY, 200);
}

using WindowEvents = KeysTest;

TEST_F(WindowEvents, MovedAndActivateCopyThePosition) {
  struct PositionCase {
    void (fw::Window::*dispatch)();
    int32_t left, top;
  };
  const PositionCase cases[] = {
      {&fw::Window::DispatchMoved, 140, 95},
      {&fw::Window::DispatchActivate, 140, 95},  // activated without moving
      {&fw::Window::DispatchActivate, -30, 610},
      {&fw::Window::DispatchMoved, 0, 0},
  };
  for (const PositionCase& c : cases) {
    window_->SetLeft(c.left);
    window_->SetTop(c.top);
    app_->MainLeft = app_->MainTop = 12345;
    (window_->*c.dispatch)();
    EXPECT_EQ(app_->MainLeft, window_->Left());
    EXPECT_EQ(app_->MainTop, window_->Top());
    EXPECT_EQ(app_->MainLeft, c.left);
    EXPECT_EQ(app_->MainTop, c.top);
    // The window itself is not moved.
    EXPECT_EQ(backend_->Record(*window_).position.x, c.left);
    EXPECT_EQ(backend_->Record(*window_).position.y, c.top);
  }
}

TEST_F(WindowEvents, ClosingTheWindowQuitsAndWritesThePreferences) {
  app_->ColorMode = "HLS";
  window_->SetLeft(77);
  window_->SetTop(66);
  window_->DispatchMoved();
  window_->Close();
  EXPECT_TRUE(backend_->QuitRequested());
  EXPECT_EQ(backend_->QuitCode(), 0);
  // App's Close event ran: the preferences file holds the settings.
  const std::string pref = root_ + "/config/" + AppIdentifier + ".prefs/" + PrefFileName;
  ASSERT_TRUE(std::filesystem::exists(pref));
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(pref));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[5], "66");  // top
  EXPECT_EQ(lines[6], "77");  // left
  EXPECT_EQ(lines[7], "HLS");
}

}  // namespace
}  // namespace picker_test
