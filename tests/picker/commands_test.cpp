// The picker window's menu commands, the menu state it shows and the item
// accessors, on the test backend.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainMenuBar.h"
#include "framework/Application.h"
#include "framework/Exceptions.h"
#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

const char* const kCommandNames[] = {
    "ViewLanguageJa",     "ViewLanguageEn",    "ViewLineColorBlack",    "ViewLineColorWhite", "ViewLineColorRed",
    "ViewLineColorGreen", "ViewLineColorBlue", "ViewShowMouseLocation", "ViewWindowMinimize", "ViewLineColorNone",
    "ViewModeRGB",        "ViewModeCMYK",      "ViewModeHLS",           "EditStartSpeaking",  "EditStopSpeaking",
};

// Every test gets a menu bar of its own: check marks written by one test
// must not be mistaken for those of the next.
class CommandsTest : public PickerTest {
 protected:
  void TearDown() override {
    PickerTest::TearDown();
    MainMenuBar::MainMenuBar::ReleaseInstance();
  }

  // Runs the handler registered under name, as choosing the item does.
  bool Choose(const std::string& name) {
    const fw::MenuHandler* handler = window_->FindMenuHandler(name);
    EXPECT_NE(handler, nullptr) << name;
    return handler != nullptr && (*handler)();
  }

  fw::MenuItem& Item(const std::string& name) {
    fw::MenuItem* item = window_->MenuBar()->Lookup(name);
    if (item == nullptr) throw std::runtime_error("no item " + name);
    return *item;
  }

  // Puts every item of the bar into the given state, so that what an update
  // writes, and what it leaves alone, shows.
  void SetAllItems(bool enabled, bool checked) { SetItems(*window_->MenuBar(), enabled, checked); }
  static void SetItems(fw::MenuItem& parent, bool enabled, bool checked) {
    for (int i = 0; i < parent.Count(); ++i) {
      parent.Item(i)->Enabled = enabled;
      parent.Item(i)->Checked = checked;
      SetItems(*parent.Item(i), enabled, checked);
    }
  }

  std::vector<std::string> Checked(const std::vector<std::string>& names) {
    std::vector<std::string> checked;
    for (const std::string& n : names)
      if (Item(n).Checked) checked.push_back(n);
    return checked;
  }
  bool AllEnabled(const std::vector<std::string>& names) {
    for (const std::string& n : names)
      if (!Item(n).Enabled) return false;
    return true;
  }
};

using MenuCommands = CommandsTest;

TEST_F(MenuCommands, RegistersTheFifteenCommandsAndNoOther) {
  for (const char* name : kCommandNames) EXPECT_NE(window_->FindMenuHandler(name), nullptr) << name;
  for (const char* name :
       {"ViewTintbeacon", "AboutTintbeacon", "FileQuit", "EditUndo", "EditCopy", "EditSpeech", "View", "ViewMode"})
    EXPECT_EQ(window_->FindMenuHandler(name), nullptr) << name;
}

struct SettingCase {
  const char* item;
  std::string App::*setting;
  const char* value;
};

const SettingCase kSettingCommands[] = {
    {"ViewLanguageJa", &App::SelectedLang, "ja"},
    {"ViewLanguageEn", &App::SelectedLang, "en"},
    {"ViewLineColorBlack", &App::SelectedColor, "Black"},
    {"ViewLineColorWhite", &App::SelectedColor, "White"},
    {"ViewLineColorRed", &App::SelectedColor, "Red"},
    {"ViewLineColorGreen", &App::SelectedColor, "Green"},
    {"ViewLineColorBlue", &App::SelectedColor, "Blue"},
    {"ViewLineColorNone", &App::SelectedColor, "None"},
    {"ViewModeRGB", &App::ColorMode, "RGB"},
    {"ViewModeCMYK", &App::ColorMode, "CMYK"},
    {"ViewModeHLS", &App::ColorMode, "HLS"},
};

TEST_F(MenuCommands, SettingCommandsStoreTheirLiteralAndAskForARedraw) {
  // From a text of no set (a damaged preferences file) and from the value
  // already chosen: the value is stored and the view redrawn either way.
  for (const SettingCase& c : kSettingCommands) {
    for (const char* before : {"Purple", c.value}) {
      SCOPED_TRACE(std::string(c.item) + " from " + before);
      (*app_).*c.setting = before;
      const std::string lang = app_->SelectedLang, color = app_->SelectedColor, mode = app_->ColorMode;
      window_->MouseX = 120;
      window_->MouseY = 80;
      EXPECT_TRUE(Choose(c.item));
      EXPECT_EQ((*app_).*c.setting, c.value);
      // The other settings stay as they were.
      if (c.setting != &App::SelectedLang) {
        EXPECT_EQ(app_->SelectedLang, lang);
      }
      if (c.setting != &App::SelectedColor) {
        EXPECT_EQ(app_->SelectedColor, color);
      }
      if (c.setting != &App::ColorMode) {
        EXPECT_EQ(app_->ColorMode, mode);
      }
      EXPECT_FALSE(app_->PlaySound);
      EXPECT_EQ(window_->MouseX, -1);
      EXPECT_EQ(window_->MouseY, -1);
    }
  }
}

TEST_F(MenuCommands, MouseLocationTogglesAndRedrawsEachTime) {
  const bool first = app_->SelectedMouseLoc;
  for (bool expected : {!first, first}) {
    window_->MouseX = window_->MouseY = 7;
    EXPECT_TRUE(Choose("ViewShowMouseLocation"));
    EXPECT_EQ(app_->SelectedMouseLoc, expected);
    EXPECT_EQ(window_->MouseX, -1);
    EXPECT_EQ(window_->MouseY, -1);
  }
}

TEST_F(MenuCommands, MinimizeMinimisesThePickerWindowWithoutRedraw) {
  window_->MouseX = 12;
  window_->MouseY = 34;
  EXPECT_TRUE(Choose("ViewWindowMinimize"));
  EXPECT_TRUE(backend_->Record(*window_).minimized);
  EXPECT_EQ(backend_->Record(*window_).minimizedCount, 1);
  EXPECT_EQ(window_->MouseX, 12);
  EXPECT_EQ(window_->MouseY, 34);
}

TEST_F(MenuCommands, SpeechCommandsSwitchTheSpeechTimerOnly) {
  fw::Timer& say = *window_->SayColor();
  window_->MouseX = 12;
  window_->MouseY = 34;
  window_->LastName = "vivid red";
  // Start twice: the second sets the mode again and changes nothing.
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(Choose("EditStartSpeaking"));
    EXPECT_TRUE(app_->PlaySound);
    EXPECT_EQ(say.Mode(), fw::Timer::ModeMultiple);
    EXPECT_TRUE(backend_->TimerScheduled(say));
  }
  EXPECT_EQ(backend_->TimerPeriod(say), 2000);
  EXPECT_TRUE(Choose("EditStopSpeaking"));
  EXPECT_FALSE(app_->PlaySound);
  EXPECT_EQ(say.Mode(), fw::Timer::ModeOff);
  EXPECT_FALSE(backend_->TimerScheduled(say));
  EXPECT_EQ(say.Period(), 2000);
  EXPECT_EQ(window_->LastName, "vivid red");
  EXPECT_FALSE(window_->NowPlaying);
  EXPECT_EQ(window_->MouseX, 12);
  EXPECT_EQ(window_->MouseY, 34);
  EXPECT_TRUE(window_->GetPicture()->Running());
}

TEST_F(MenuCommands, ACommandSetsNoCheckMarkUntilTheNextUpdate) {
  app_->ColorMode = "RGB";
  window_->Event_EnableMenuItems();
  ASSERT_TRUE(Item("ViewModeRGB").Checked);
  Choose("ViewModeHLS");
  EXPECT_TRUE(Item("ViewModeRGB").Checked);
  EXPECT_FALSE(Item("ViewModeHLS").Checked);
  window_->Event_EnableMenuItems();
  EXPECT_FALSE(Item("ViewModeRGB").Checked);
  EXPECT_TRUE(Item("ViewModeHLS").Checked);
}

TEST_F(MenuCommands, ChoosingThroughTheFrameworkFollowsTheMenuState) {
  // Speech is off: Stop Speaking is disabled after the update and refused.
  fw::UpdateMenus();
  EXPECT_FALSE(fw::ChooseMenuItem("EditStopSpeaking"));
  EXPECT_TRUE(fw::ChooseMenuItem("EditStartSpeaking"));
  EXPECT_TRUE(window_->SayColor()->Running());
  fw::UpdateMenus();
  EXPECT_FALSE(fw::ChooseMenuItem("EditStartSpeaking"));
  EXPECT_TRUE(fw::ChooseMenuItem("EditStopSpeaking"));
  EXPECT_FALSE(window_->SayColor()->Running());
  EXPECT_TRUE(fw::ChooseMenuItem("ViewLineColorGreen"));
  EXPECT_EQ(app_->SelectedColor, "Green");
}

using MenuState = CommandsTest;

const std::vector<std::string> kGridItems = {"ViewLineColorBlack", "ViewLineColorWhite", "ViewLineColorRed",
                                             "ViewLineColorGreen", "ViewLineColorBlue",  "ViewLineColorNone"};
const std::vector<std::string> kModeItems = {"ViewModeRGB", "ViewModeCMYK", "ViewModeHLS"};

struct ChoiceCase {
  const char* value;
  const char* checkedItem;  // nullptr: none of the group
};

TEST_F(MenuState, GridColourGroupChecksTheItemOfTheSetting) {
  const ChoiceCase cases[] = {
      {"Black", "ViewLineColorBlack"},
      {"White", "ViewLineColorWhite"},
      {"Red", "ViewLineColorRed"},
      {"Green", "ViewLineColorGreen"},
      {"Blue", "ViewLineColorBlue"},
      {"None", "ViewLineColorNone"},
      {"", nullptr},
      {"Purple", nullptr},
      {"black", nullptr},
      {"Black ", nullptr},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.value + "\"");
    SetAllItems(false, true);
    app_->SelectedColor = c.value;
    window_->Event_EnableMenuItems();
    EXPECT_TRUE(AllEnabled(kGridItems));
    EXPECT_EQ(Checked(kGridItems),
              c.checkedItem ? std::vector<std::string>{c.checkedItem} : std::vector<std::string>{});
  }
}

TEST_F(MenuState, ModeGroupChecksTheItemOfTheSetting) {
  const ChoiceCase cases[] = {
      {"RGB", "ViewModeRGB"}, {"CMYK", "ViewModeCMYK"}, {"HLS", "ViewModeHLS"},
      {"", nullptr},          {"rgb", nullptr},         {"Purple", nullptr},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.value + "\"");
    SetAllItems(false, true);
    app_->ColorMode = c.value;
    window_->Event_EnableMenuItems();
    EXPECT_TRUE(AllEnabled(kModeItems));
    EXPECT_EQ(Checked(kModeItems),
              c.checkedItem ? std::vector<std::string>{c.checkedItem} : std::vector<std::string>{});
  }
}

TEST_F(MenuState, LanguageMarksFollowEnAndJaAndStayForAnyOtherValue) {
  struct LangCase {
    const char* lang;
    bool enBefore, jaBefore;
    bool en, ja;
  };
  const LangCase cases[] = {
      {"en", false, true, true, false},
      {"ja", true, false, false, true},
      {"en", true, true, true, false},
      // "" before the first capture tick, or a damaged file: marks are kept.
      {"", true, false, true, false},
      {"", false, true, false, true},
      {"", true, true, true, true},
      {"fr", false, false, false, false},
      {"EN", true, false, true, false},
  };
  for (const LangCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.lang + "\"");
    SetAllItems(false, false);
    Item("ViewLanguageEn").Checked = c.enBefore;
    Item("ViewLanguageJa").Checked = c.jaBefore;
    app_->SelectedLang = c.lang;
    window_->Event_EnableMenuItems();
    EXPECT_TRUE(Item("ViewLanguageEn").Enabled);
    EXPECT_TRUE(Item("ViewLanguageJa").Enabled);
    EXPECT_EQ(Item("ViewLanguageEn").Checked, c.en);
    EXPECT_EQ(Item("ViewLanguageJa").Checked, c.ja);
  }
}

TEST_F(MenuState, SpeechMouseLocationAndMinimizeItems) {
  struct SpeechCase {
    bool playSound, mouseLoc;
    bool startEnabled, startChecked, stopEnabled;
  };
  const SpeechCase cases[] = {
      {false, false, true, false, false},
      {true, true, false, true, true},
  };
  for (const SpeechCase& c : cases) {
    for (bool before : {false, true}) {
      SCOPED_TRACE(testing::Message() << "speech " << c.playSound << ", items " << before);
      SetAllItems(before, before);
      app_->PlaySound = c.playSound;
      app_->SelectedMouseLoc = c.mouseLoc;
      window_->Event_EnableMenuItems();
      EXPECT_EQ(Item("EditStartSpeaking").Enabled, c.startEnabled);
      EXPECT_EQ(Item("EditStartSpeaking").Checked, c.startChecked);
      EXPECT_EQ(Item("EditStopSpeaking").Enabled, c.stopEnabled);
      // Stop Speaking's mark is never written.
      EXPECT_EQ(Item("EditStopSpeaking").Checked, before);
      EXPECT_TRUE(Item("ViewShowMouseLocation").Enabled);
      EXPECT_EQ(Item("ViewShowMouseLocation").Checked, c.mouseLoc);
      EXPECT_TRUE(Item("ViewWindowMinimize").Enabled);
    }
  }
}

TEST_F(MenuState, ItemsOutsideTheTableAreLeftAlone) {
  const char* untouched[] = {"EditUndo",       "EditCut",          "EditCopy", "EditPaste",       "EditClear",
                             "EditSelectAll",  "EditMenu",         "View",     "ViewLanguage",    "ViewLineColor",
                             "ViewMode",       "EditSpeech",       "FileQuit", "AboutTintbeacon", "ViewTintbeacon",
                             "EditSeparator1", "UntitledSeparator"};
  for (bool before : {false, true}) {
    SetAllItems(before, before);
    window_->Event_EnableMenuItems();
    for (const char* name : untouched) {
      EXPECT_EQ(Item(name).Enabled, before) << name;
      EXPECT_EQ(Item(name).Checked, before) << name;
    }
  }
}

using MenuItemAccessors = CommandsTest;

TEST_F(MenuItemAccessors, EachFindsItsItemOfItsClass) {
  struct AccessorCase {
    const char* name;
    fw::MenuItem* (*get)(Main::Main&);
  };
#define ACCESSOR(N)                                           \
  {                                                           \
#N, [](Main::Main & w) -> fw::MenuItem* { return w.N(); } \
  }
  const AccessorCase cases[] = {
      ACCESSOR(View),
      ACCESSOR(ViewTintbeacon),
      ACCESSOR(UntitledSeparator0),
      ACCESSOR(ViewWindowMinimize),
      ACCESSOR(UntitledSeparator),
      ACCESSOR(ViewShowMouseLocation),
      ACCESSOR(ViewMode),
      ACCESSOR(ViewModeHLS),
      ACCESSOR(ViewModeCMYK),
      ACCESSOR(ViewModeRGB),
      ACCESSOR(ViewLineColor),
      ACCESSOR(ViewLineColorBlue),
      ACCESSOR(ViewLineColorGreen),
      ACCESSOR(ViewLineColorRed),
      ACCESSOR(ViewLineColorWhite),
      ACCESSOR(ViewLineColorBlack),
      ACCESSOR(ViewLineColorNone),
      ACCESSOR(ViewLanguage),
      ACCESSOR(ViewLanguageJa),
      ACCESSOR(ViewLanguageEn),
      ACCESSOR(EditMenu),
      ACCESSOR(AboutTintbeacon),
      ACCESSOR(FileQuit),
      ACCESSOR(EditSpeech),
      ACCESSOR(EditStopSpeaking),
      ACCESSOR(EditStartSpeaking),
      ACCESSOR(UntitledSeparator1),
      ACCESSOR(EditSelectAll),
      ACCESSOR(EditSeparator2),
      ACCESSOR(EditClear),
      ACCESSOR(EditPaste),
      ACCESSOR(EditCopy),
      ACCESSOR(EditCut),
      ACCESSOR(EditSeparator1),
      ACCESSOR(EditUndo),
  };
#undef ACCESSOR
  ASSERT_EQ(std::size(cases), 35u);
  for (const AccessorCase& c : cases) {
    fw::MenuItem* item = c.get(*window_);
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item, window_->MenuBar()->Lookup(c.name)) << c.name;
  }
  EXPECT_NE(dynamic_cast<fw::ApplicationMenuItem*>(window_->AboutTintbeacon()), nullptr);
  EXPECT_NE(dynamic_cast<fw::QuitMenuItem*>(window_->FileQuit()), nullptr);
}

TEST_F(MenuItemAccessors, MissingBarMissingItemOrOtherClassRaiseNilObject) {
  fw::MenuBar* shared = window_->MenuBar();
  window_->SetMenuBar(nullptr);
  EXPECT_THROW(window_->ViewModeRGB(), fw::NilObjectException);
  EXPECT_THROW(window_->Event_EnableMenuItems(), fw::NilObjectException);

  // A bar whose FileQuit and AboutTintbeacon are plain items and that has
  // no ViewModeRGB.
  fw::MenuBar other;
  for (const char* name : {"FileQuit", "AboutTintbeacon", "ViewModeHLS"}) {
    auto item = std::make_unique<fw::MenuItem>();
    item->Name = name;
    other.Append(std::move(item));
  }
  window_->SetMenuBar(&other);
  EXPECT_THROW(window_->ViewModeRGB(), fw::NilObjectException);
  EXPECT_THROW(window_->FileQuit(), fw::NilObjectException);
  EXPECT_THROW(window_->AboutTintbeacon(), fw::NilObjectException);
  EXPECT_EQ(window_->ViewModeHLS(), other.Lookup("ViewModeHLS"));
  window_->SetMenuBar(shared);
}

}  // namespace
}  // namespace picker_test
