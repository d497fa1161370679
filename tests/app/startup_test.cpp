// The start-up road: the application object, its menu handlers and the one
// picker window whatever the order of Open and late start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "AppTestSupport.h"
#include "app/AboutWindow.h"
#include "framework/Application.h"
#include "framework/EventGate.h"
#include "framework/Exceptions.h"
#include "framework/Runtime.h"
#include "framework/TestSupport.h"

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

// A version probe that takes long: the clock passes many capture periods
// while it runs, and the user acts meanwhile.
using apptest::ReadFile;
using apptest::WriteFile;

class SlowStartTest : public StartupTest {
 protected:
  static constexpr const char* kSaved = "en\nRed\n1\n900\n1440\n30\n40\nHLS\n0\n";

  void SetUp() override {
    StartupTest::SetUp();
    folders_.WritePrefFile(kSaved);
    folders_.SetVersionScript("#!/bin/sh\nsleep 0.2\necho 10.15.7\n");
    WriteFile(folders_.ToolsPath("screencapture"),
              "#!/bin/sh\necho \"$*\" >> '" + folders_.Root() + "/captures.log'\n");
    ::chmod(folders_.ToolsPath("screencapture").c_str(), 0755);
  }
  std::vector<std::string> Captures() const { return apptest::Lines(ReadFile(folders_.Root() + "/captures.log")); }
  void RunStartup() { fw::Runtime::RunFrameworkInitialization(Startup::LateStartup); }
};

TEST_F(SlowStartTest, NoTickAndNoWindowBeforeOpenHasEnded) {
  int shownDuringOpen = -1;
  backend().WhileNextCommandWaits([&] {
    backend().Advance(1000);
    shownDuringOpen = backend().Record(*Main::Main::Instance()).shown;
  });
  RunStartup();
  Main::Main& window = *Main::Main::Instance();
  EXPECT_TRUE(Captures().empty());
  EXPECT_EQ(shownDuringOpen, 0);
  // On screen once, at the saved place.
  EXPECT_EQ(backend().Record(window).shown, 1);
  EXPECT_EQ(window.Top(), 30);
  EXPECT_EQ(window.Left(), 40);
  // The first capture takes the form the probe chose, at the capture period.
  backend().Advance(128);
  EXPECT_EQ(Captures(), std::vector<std::string>{"-R 0,0,101,101"});
  EXPECT_EQ(backend().TimerPeriod(*window.GetPicture()), 128);
}

TEST_F(SlowStartTest, AQuitDuringStartUpKeepsTheSavedSettings) {
  struct Case {
    const char* name;
    bool throughTheGate;  // as input does (a signal, Ctrl+Q); else at once (the display lost)
  };
  for (const Case& c : {Case{"held input", true}, Case{"at once", false}}) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    backend().WhileNextCommandWaits([&] {
      if (c.throughTheGate)
        fw::EventGate::RunWhenIdle([] { fw::Quit(0); });
      else
        fw::Quit(0);
    });
    RunStartup();
    backend().RunPosted();
    EXPECT_TRUE(backend().QuitRequested());
    EXPECT_EQ(ReadFile(folders_.PrefFilePath()), kSaved);
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
  Main::Main::ServeApp();
  EXPECT_EQ(Startup::Run(), 0);
  EXPECT_TRUE(fw::Window::AllWindows().empty());
  EXPECT_EQ(App::Instance(), nullptr);
  fw::ResetFrameworkForTests();
  MainMenuBar::MainMenuBar::ReleaseInstance();
}

// A backend that fails at one point of the road, and notes at every window
// it lets go whether the application object and its bar are still there.
class FailingRoadBackend : public fw::TestBackend {
 public:
  enum class FailAt { LateStartup, EventLoop };
  explicit FailingRoadBackend(FailAt at) : at_(at) {}

  void CreateNativeWindow(fw::Window& w) override {
    if (at_ == FailAt::LateStartup) throw fw::ObjCException("no native window");
    fw::TestBackend::CreateNativeWindow(w);
  }
  int RunEventLoop() override {
    if (at_ == FailAt::EventLoop) throw std::runtime_error("the loop broke");
    return fw::TestBackend::RunEventLoop();
  }
  void DestroyNativeWindow(fw::Window& w) override {
    const App* app = App::Instance();
    appAndBarAtWindowRelease.push_back(app && app->MenuBar() && app->MenuBar()->Child("EditMenu"));
    fw::TestBackend::DestroyNativeWindow(w);
  }

  std::vector<bool> appAndBarAtWindowRelease;

 private:
  FailAt at_;
};

// An exception out of late start-up or out of the event loop is reported
// once; the road still releases everything, the bar last, and returns the
// framework's exit code.
TEST(StartupRoad, AnEscapingExceptionIsReportedOnceAndTheRoadGoesOn) {
  struct Case {
    FailingRoadBackend::FailAt at;
    const char* report;
  };
  const Case cases[] = {{FailingRoadBackend::FailAt::LateStartup, "ObjCException: no native window"},
                        {FailingRoadBackend::FailAt::EventLoop, "the loop broke"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.report);
    apptest::UserFolders folders;
    fw::ResetFrameworkForTests();
    FailingRoadBackend backend(c.at);
    fw::SetBackend(&backend);
    Main::Main::ServeApp();
    testing::internal::CaptureStderr();
    const int code = Startup::Run();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(c.report), std::string::npos) << err;
    EXPECT_TRUE(fw::Window::AllWindows().empty());
    EXPECT_EQ(App::Instance(), nullptr);
    for (bool present : backend.appAndBarAtWindowRelease) EXPECT_TRUE(present);
    fw::ResetFrameworkForTests();
    MainMenuBar::MainMenuBar::ReleaseInstance();
  }
}

}  // namespace
