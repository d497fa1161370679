#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "Exceptions.h"
#include "FrameworkFixture.h"
#include "MenuItem.h"
#include "Runtime.h"
#include "System.h"
#include "Timer.h"

namespace {

std::unique_ptr<fw::MenuItem> Item(const std::string& name, std::unique_ptr<fw::MenuItem> item = nullptr) {
  if (!item) item = std::make_unique<fw::MenuItem>();
  item->Name = name;
  return item;
}

// Edit > (Undo, Speech > (Start, Stop), Quit), View > (Show, Tint).
std::unique_ptr<fw::MenuBar> MakeBar() {
  auto bar = std::make_unique<fw::MenuBar>();
  bar->Append(Item("Edit"));
  fw::MenuItem* edit = bar->Child("Edit");
  edit->Append(Item("Undo"));
  edit->Append(Item("Speech"));
  edit->Child("Speech")->Append(Item("Start"));
  edit->Child("Speech")->Append(Item("Stop"));
  edit->Append(Item("Quit", std::make_unique<fw::QuitMenuItem>()));
  bar->Append(Item("View"));
  bar->Child("View")->Append(Item("Show"));
  bar->Child("View")->Append(Item("Tint"));
  return bar;
}

TEST(MenuItemTree, ChildIsDirectLookupSearchesTheWholeTree) {
  auto bar = MakeBar();
  EXPECT_EQ(bar->Child("Start"), nullptr);
  ASSERT_NE(bar->Lookup("Start"), nullptr);
  EXPECT_EQ(bar->Lookup("Start"), bar->Child("Edit")->Child("Speech")->Child("Start"));
  EXPECT_EQ(bar->Lookup("Tint"), bar->Child("View")->Item(1));
  EXPECT_EQ(bar->Lookup(""), bar.get());  // the bar itself has the empty name
  EXPECT_EQ(bar->Lookup("Missing"), nullptr);
  EXPECT_EQ(bar->Child("Edit")->Count(), 3);
  EXPECT_THROW(bar->Append(nullptr), fw::NilObjectException);
}

class RecordingApp : public fw::Application {
 public:
  std::vector<std::string>* log = nullptr;
  int closes = 0;
  void Event_Open() override { log->push_back("App.Open"); }
  void Event_Close() override {
    ++closes;
    log->push_back("App.Close");
  }
  void Event_EnableMenuItems() override {
    log->push_back("App.EnableMenuItems");
    MenuBar()->Lookup("Tint")->Enabled = true;
  }
};

class MenuWindow : public fw::Window {
 public:
  std::vector<std::string>* log = nullptr;
  bool speaking = false;
  void Event_AddMenuHandlers() override {
    AddMenuHandler("Start", [this] { return Record("Window.Start"); });
    AddMenuHandler("Stop", [this] { return Record("Window.Stop"); });
    AddMenuHandler("Show", [this] { return Record("Window.Show"); });
  }
  void Event_EnableMenuItems() override {
    log->push_back("Window.EnableMenuItems");
    MenuBar()->Lookup("Start")->Enabled = !speaking;
    MenuBar()->Lookup("Stop")->Enabled = speaking;
  }
  bool Record(const std::string& what) {
    log->push_back(what);
    return true;
  }
};

class MenuTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    app.log = &log;
    app.SetMenuBar(bar.get());
    app.AddMenuHandler("Show", [this] { return Push("App.Show"); });
    app.AddMenuHandler("Tint", [this] { return Push("App.Tint"); });
    fw::Application::RegisterAppObject(&app);
    window = MakeWindow("Menu");
  }

  MenuWindow* MakeWindow(const std::string& cls) {
    auto* w = new MenuWindow;
    w->log = &log;
    w->SetMenuBar(bar.get());
    w->Constructor(cls);
    return w;
  }
  bool Push(const std::string& what) {
    log.push_back(what);
    return true;
  }
  bool Enabled(const std::string& name) { return bar->Lookup(name)->Enabled; }

  std::vector<std::string> log;
  std::unique_ptr<fw::MenuBar> bar = MakeBar();
  RecordingApp app;
  MenuWindow* window = nullptr;
};

TEST_F(MenuTest, UpdateRaisesTheApplicationThenTheFrontWindow) {
  fw::UpdateMenus();
  EXPECT_EQ(log, (std::vector<std::string>{"App.EnableMenuItems", "Window.EnableMenuItems"}));
}

TEST_F(MenuTest, UpdateEnablesServedItemsAndKeepsTheHandlersStates) {
  bar->Lookup("Undo")->Enabled = true;
  fw::UpdateMenus();
  EXPECT_TRUE(Enabled("Show"));   // handlers at both levels
  EXPECT_TRUE(Enabled("Tint"));   // the application's
  EXPECT_TRUE(Enabled("Quit"));   // quits by itself
  EXPECT_TRUE(Enabled("Edit"));   // menus open
  EXPECT_TRUE(Enabled("Speech"));
  EXPECT_FALSE(Enabled("Undo"));  // nothing serves it
  EXPECT_TRUE(Enabled("Start"));  // as the window's handler left them
  EXPECT_FALSE(Enabled("Stop"));

  window->speaking = true;
  fw::UpdateMenus();
  EXPECT_FALSE(Enabled("Start"));
  EXPECT_TRUE(Enabled("Stop"));
}

TEST_F(MenuTest, ItemsOfAWindowNotInFrontAreNotServed) {
  MakeWindow("About");  // has the window's handlers too, but is not in front
  fw::Window* plain = new fw::Window;
  plain->SetMenuBar(bar.get());
  plain->Constructor("Plain");
  ASSERT_EQ(fw::FrontWindow(), plain);
  fw::UpdateMenus();
  EXPECT_FALSE(Enabled("Start"));
  EXPECT_TRUE(Enabled("Show"));  // the application still serves it
  EXPECT_FALSE(fw::ChooseMenuItem("Start"));
}

TEST_F(MenuTest, ChoosingRunsTheFrontWindowsHandlerElseTheApplications) {
  fw::UpdateMenus();
  log.clear();
  EXPECT_TRUE(fw::ChooseMenuItem("Show"));
  EXPECT_TRUE(fw::ChooseMenuItem("Tint"));
  EXPECT_TRUE(fw::ChooseMenuItem("Start"));
  EXPECT_EQ(log, (std::vector<std::string>{"Window.Show", "App.Tint", "Window.Start"}));
}

TEST_F(MenuTest, DisabledUnknownAndUnservedItemsDoNothing) {
  fw::UpdateMenus();
  log.clear();
  EXPECT_FALSE(fw::ChooseMenuItem("Stop"));  // disabled by the window
  EXPECT_FALSE(fw::ChooseMenuItem("Undo"));
  EXPECT_FALSE(fw::ChooseMenuItem("Nowhere"));
  EXPECT_TRUE(log.empty());
}

TEST_F(MenuTest, AFailingHandlerIsReportedAndTheProgramGoesOn) {
  window->AddMenuHandler("Start", []() -> bool { throw fw::NilObjectException("no timer"); });
  fw::UpdateMenus();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(fw::ChooseMenuItem("Start"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) + ": unhandled NilObjectException: no timer\n");
  EXPECT_TRUE(fw::ChooseMenuItem("Show"));
}

TEST_F(MenuTest, QuitItemRaisesCloseOnceAndEndsTheLoop) {
  fw::UpdateMenus();
  EXPECT_TRUE(fw::ChooseMenuItem("Quit"));
  fw::Quit(5);  // the window's close asks again
  EXPECT_EQ(app.closes, 1);
  EXPECT_TRUE(backend().QuitRequested());
  EXPECT_EQ(backend().QuitCode(), 0);
  fw::Runtime::Run();  // returns at once
  EXPECT_EQ(fw::Runtime::Exit(), 0);
}

TEST_F(MenuTest, FrontWindowIsTheLastShownOrActivatedVisibleOne) {
  EXPECT_EQ(fw::FrontWindow(), window);
  MenuWindow* second = MakeWindow("Second");
  EXPECT_EQ(fw::FrontWindow(), second);
  window->DispatchActivate();
  EXPECT_EQ(fw::FrontWindow(), window);
  window->Hide();
  EXPECT_EQ(fw::FrontWindow(), second);
  second->Hide();
  EXPECT_EQ(fw::FrontWindow(), window);  // none visible: the last in front
  delete window;
  delete second;
  EXPECT_EQ(fw::FrontWindow(), nullptr);
}

using RuntimeTest = MenuTest;

TEST_F(RuntimeTest, LateStartupRunsBeforeOpen) {
  log.clear();
  fw::Runtime::RunFrameworkInitialization([this] { log.push_back("late"); });
  EXPECT_EQ(log, (std::vector<std::string>{"late", "App.Open"}));
}

TEST_F(RuntimeTest, FailingLateStartupComesOutFailingOpenIsReported) {
  EXPECT_THROW(fw::Runtime::RunFrameworkInitialization([] { throw fw::IOException("prefs", 13); }),
               fw::IOException);

  struct FailingOpen : fw::Application {
    void Event_Open() override { throw std::out_of_range("bad index"); }
  } failing;
  fw::Application::RegisterAppObject(&failing);
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(fw::Runtime::RunFrameworkInitialization([] {}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(program_invocation_short_name) + ": unhandled std::out_of_range: bad index\n");
}

TEST_F(RuntimeTest, RunEndsWhenTheApplicationQuits) {
  fw::Timer* quitter = window->New<fw::Timer>();
  window->AddControl("Quitter", quitter);
  quitter->Action = [](fw::Timer&) { fw::Quit(0); };
  quitter->SetPeriod(250);
  quitter->SetMode(fw::Timer::ModeMultiple);
  fw::Runtime::Run();
  EXPECT_EQ(backend().Now(), 250);
  EXPECT_EQ(app.closes, 1);
}

}  // namespace
