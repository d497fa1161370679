// The start-up road: the application object, its menu handlers and the one
// picker window whatever the order of Open and late start-up.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/AboutWindow.h"
#include "framework/Application.h"

namespace {

class StartupTest : public apptest::AppTest {};

TEST_F(StartupTest, EitherOrderOfOpenAndLateStartupGivesOnePickerWindow) {
  const bool openFirst[] = {true, false};
  for (bool first : openFirst) {
    SCOPED_TRACE(first ? "Open first" : "late start-up first");
    TearDown();
    SetUp();
    folders_.WritePrefFile("en\nRed\n0\n900\n1440\n30\n40\nRGB\n1\n");
    if (first) {
      app().Event_Open();
      Startup::LateStartup();
    } else {
      Startup::LateStartup();
      app().Event_Open();
    }
    ASSERT_EQ(PickerWindows().size(), 1u);
    Main::Main* window = PickerWindows().front();
    EXPECT_EQ(window, Main::Main::Instance());
    EXPECT_EQ(window->Top(), 30);
    EXPECT_EQ(window->Left(), 40);
    EXPECT_EQ(window->SayColor()->Mode(), fw::Timer::ModeMultiple);
  }
}

TEST_F(StartupTest, AppIsTheSameRegisteredObjectWithTheSharedMenuBar) {
  App* first = App::Instance();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(App::Instance(), first);
  EXPECT_EQ(first->MenuBar(), MainMenuBar::MainMenuBar::Instance());
  Startup::LateStartup();
  EXPECT_EQ(Main::Main::Instance()->MenuBar(), first->MenuBar());
}

TEST_F(StartupTest, ViewTintbeaconShowsTheExistingPickerWindow) {
  Startup::LateStartup();
  Main::Main* window = Main::Main::Instance();
  window->Hide();
  fw::UpdateMenus();
  EXPECT_TRUE(fw::ChooseMenuItem("ViewTintbeacon"));
  EXPECT_EQ(PickerWindows().size(), 1u);
  EXPECT_TRUE(backend().Record(*window).visible);
}

TEST_F(StartupTest, ViewTintbeaconMakesThePickerWindowWhenNoneExists) {
  EXPECT_TRUE(app().ViewTintbeacon_Action());
  EXPECT_EQ(PickerWindows().size(), 1u);
}

TEST_F(StartupTest, TwoAboutCommandsShowOneAboutWindow) {
  Startup::LateStartup();
  fw::UpdateMenus();
  EXPECT_TRUE(fw::ChooseMenuItem("AboutTintbeacon"));
  AboutWindow::AboutWindow* about = AboutWindow::AboutWindow::Instance();
  fw::UpdateMenus();
  EXPECT_TRUE(fw::ChooseMenuItem("AboutTintbeacon"));
  int aboutWindows = 0;
  for (fw::Window* w : fw::Window::AllWindows()) aboutWindows += dynamic_cast<AboutWindow::AboutWindow*>(w) != nullptr;
  EXPECT_EQ(aboutWindows, 1);
  EXPECT_EQ(AboutWindow::AboutWindow::Instance(), about);
  EXPECT_GE(backend().Record(*about).shown, 2);
}

TEST_F(StartupTest, BothApplicationItemsAreEnabledAtEveryMenuUpdate) {
  Startup::LateStartup();
  const std::pair<const char*, const char*> settings[] = {{"ja", "None"}, {"en", "Blue"}, {"xx", ""}};
  for (auto [lang, color] : settings) {
    ViewTintbeacon()->Enabled = false;
    AboutTintbeacon()->Enabled = false;
    app().SelectedLang = lang;
    app().SelectedColor = color;
    fw::UpdateMenus();
    EXPECT_TRUE(ViewTintbeacon()->Enabled);
    EXPECT_TRUE(AboutTintbeacon()->Enabled);
  }
  // With the About window in front too.
  AboutWindow::AboutWindow::Instance()->Show();
  ViewTintbeacon()->Enabled = false;
  fw::UpdateMenus();
  EXPECT_TRUE(ViewTintbeacon()->Enabled);
}

TEST_F(StartupTest, ItemAccessorsFindTheItemsOfTheApplicationsBar) {
  ASSERT_NE(ViewTintbeacon(), nullptr);
  EXPECT_EQ(ViewTintbeacon()->Name, "ViewTintbeacon");
  ASSERT_NE(AboutTintbeacon(), nullptr);
  EXPECT_EQ(AboutTintbeacon()->Name, "AboutTintbeacon");
}

TEST_F(StartupTest, FinalizeReleasesTheWindowsTheAppAndTheBar) {
  Startup::LateStartup();
  AboutWindow::AboutWindow::Instance();
  Startup::finalize();
  EXPECT_TRUE(fw::Window::AllWindows().empty());
  EXPECT_EQ(App::Instance(), nullptr);
  // The next reference builds a new bar.
  MainMenuBar::MainMenuBar* again = MainMenuBar::MainMenuBar::Instance();
  EXPECT_NE(again->Child("EditMenu"), nullptr);
}

// The whole road on the test backend: Open reads the file, the loop runs,
// finalize releases everything and the exit status is the framework's.
TEST(StartupRoad, RunsFromStartToExit) {
  apptest::UserFolders folders;
  folders.WritePrefFile("ja\nRed\n1\n900\n1440\n10\n20\nHLS\n0\n");
  fw::TestBackend& backend = fw::InstallTestBackend();
  backend.SetEventLoopLimit(0);
  EXPECT_EQ(Startup::Run(), 0);
  EXPECT_TRUE(fw::Window::AllWindows().empty());
  EXPECT_EQ(App::Instance(), nullptr);
  fw::ResetFrameworkForTests();
  MainMenuBar::MainMenuBar::ReleaseInstance();
}

}  // namespace
