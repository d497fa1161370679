#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "FrameworkFixture.h"
#include "Label.h"
#include "PropertyStream.h"
#include "Runtime.h"
#include "System.h"
#include "Timer.h"
#include "Window.h"

namespace {

// Logs the events it receives and what it saw of itself at the time.
class LoggingWindow : public fw::Window {
 public:
  std::vector<std::string> log;
  bool visibleStream = true;
  bool throwInCreateControls = false;

  void Event_Layout() override {
    log.push_back(std::string("Layout native=") + (HasNativeWindow() ? "yes" : "no"));
    fw::SetProperties(*this, fw::EncodePropertyStream({{"Width", int32_t(201)}, {"Visible", visibleStream}}));
  }
  void Event_CreateControls() override {
    log.push_back("CreateControls");
    AddControl("Tick", New<fw::Timer>());
    fw::SetProperties(*ControlByName("Tick"), fw::EncodePropertyStream({{"Mode", int32_t(2)}}));
    if (throwInCreateControls) throw fw::NilObjectException("no control");
  }
  void Event_AddMenuHandlers() override {
    log.push_back(std::string("AddMenuHandlers registered=") + (GetImplicitWindow("Logging") == this ? "yes" : "no"));
  }
  void Event_Close() override { log.push_back("Close"); }
  bool Event_KeyDown(const std::string& key) override {
    log.push_back("KeyDown " + key + (fw::Keyboard::ShiftKey() ? " shift" : "") +
                  (fw::Keyboard::OptionKey() ? " option" : ""));
    if (key == "boom") throw std::logic_error("key handler failed");
    return false;
  }
};

using WindowTest = FrameworkTest;

TEST_F(WindowTest, ConstructorBuildsRaisesEventsRegistersThenShows) {
  auto* w = new LoggingWindow;
  EXPECT_EQ(fw::Window::GetImplicitWindow("Logging"), nullptr);
  w->Constructor("Logging");
  EXPECT_EQ(w->log, (std::vector<std::string>{"Layout native=yes", "CreateControls", "AddMenuHandlers registered=no"}));
  EXPECT_EQ(fw::Window::GetImplicitWindow("Logging"), w);
  EXPECT_EQ(fw::Window::GetImplicitWindow("Other"), nullptr);
  fw::TestBackend::WindowRecord r = backend().Record(*w);
  EXPECT_EQ(r.created, 1);
  EXPECT_EQ(r.shown, 1);  // once, after the controls exist
  EXPECT_TRUE(r.visible);
  EXPECT_EQ(w->Width(), 201);
  EXPECT_THROW(w->Constructor("Logging"), fw::RuntimeException);
}

TEST_F(WindowTest, InvisibleLayoutLeavesTheWindowHidden) {
  auto* w = new LoggingWindow;
  w->visibleStream = false;
  w->Constructor("Logging");
  EXPECT_EQ(backend().Record(*w).shown, 0);
  EXPECT_FALSE(w->Visible());
  w->Show();
  EXPECT_TRUE(backend().Record(*w).visible);
}

TEST_F(WindowTest, FailedConstructionPropagatesAndLeavesNothingRunning) {
  auto* w = new LoggingWindow;
  w->throwInCreateControls = true;
  EXPECT_THROW(w->Constructor("Logging"), fw::NilObjectException);
  EXPECT_EQ(fw::Window::GetImplicitWindow("Logging"), nullptr);
  EXPECT_FALSE(w->HasNativeWindow());
  EXPECT_FALSE(backend().Record(*w).exists);
  EXPECT_EQ(w->ControlByName("Tick"), nullptr);
  backend().Advance(5000);  // the timer made before the failure must be gone
}

TEST_F(WindowTest, DestroyedWindowIsUnregisteredAndItsTimersStop) {
  auto* w = new LoggingWindow;
  w->Constructor("Logging");
  auto* tick = static_cast<fw::Timer*>(w->ControlByName("Tick"));
  ASSERT_TRUE(backend().TimerScheduled(*tick));
  delete w;
  EXPECT_EQ(fw::Window::GetImplicitWindow("Logging"), nullptr);
  EXPECT_TRUE(fw::Window::AllWindows().empty());
  EXPECT_EQ(backend().DestroyedWindows(), 1);
  EXPECT_FALSE(backend().TimerScheduled(*tick));
}

TEST_F(WindowTest, ControlsAreFoundByTheNameTheyAreRegisteredUnder) {
  fw::Window w;
  fw::Label* label = w.New<fw::Label>();
  EXPECT_EQ(w.ControlByName("Caption"), nullptr);  // made but not registered
  w.AddControl("Caption", label);
  EXPECT_EQ(w.ControlByName("Caption"), label);
  EXPECT_EQ(label->Name, "Caption");
  EXPECT_EQ(label->ParentWindow(), &w);
  EXPECT_EQ(w.ControlByName("caption"), nullptr);  // names are exact

  EXPECT_THROW(w.AddControl("Caption", w.New<fw::Label>()), fw::RuntimeException);
  EXPECT_THROW(w.AddControl("None", nullptr), fw::NilObjectException);
  fw::Window other;
  EXPECT_THROW(w.AddControl("Foreign", other.New<fw::Label>()), fw::RuntimeException);
  EXPECT_EQ(w.Controls(), (std::vector<fw::Control*>{label}));
}

TEST_F(WindowTest, PositionIsStoredUntilTheNativeWindowExistsThenGoesToIt) {
  auto* w = new LoggingWindow;
  w->SetLeft(30);
  w->SetTop(40);
  EXPECT_EQ(w->Left(), 30);
  w->Constructor("Logging");
  EXPECT_EQ(backend().Record(*w).position.x, 30);  // made where it was placed
  EXPECT_EQ(backend().Record(*w).position.y, 40);
  w->SetTop(-25);
  w->SetLeft(1200);
  EXPECT_EQ(backend().Record(*w).position.x, 1200);
  EXPECT_EQ(backend().Record(*w).position.y, -25);
  backend().MoveWindow(*w, 5, 6);  // the user moved it
  EXPECT_EQ(w->Left(), 5);
  EXPECT_EQ(w->Top(), 6);
}

TEST_F(WindowTest, PlacementTwoCentresOnTheMainScreenAtTheFirstShowOnly) {
  backend().SetMainScreen(1000, 800);
  auto* w = new LoggingWindow;  // 201 x 100
  w->Placement = 2;
  w->Constructor("Logging");
  EXPECT_EQ(backend().Record(*w).position.x, 399);
  EXPECT_EQ(backend().Record(*w).position.y, 350);
  backend().MoveWindow(*w, 5, 6);  // the user moved it
  w->Hide();
  w->Show();
  EXPECT_EQ(w->Left(), 5);
  EXPECT_EQ(w->Top(), 6);
}

TEST_F(WindowTest, KeyDownSeesTheModifiersOnlyWhileItRuns) {
  auto* w = new LoggingWindow;
  w->Constructor("Logging");
  w->log.clear();
  w->DispatchKeyDown("\t", true, false);
  w->DispatchKeyDown("\t", false, true);
  EXPECT_FALSE(fw::Keyboard::ShiftKey());
  EXPECT_FALSE(fw::Keyboard::OptionKey());

  testing::internal::CaptureStderr();
  w->DispatchKeyDown("boom", true, true);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("key handler failed"), std::string::npos) << err;
  EXPECT_FALSE(fw::Keyboard::ShiftKey());
  EXPECT_EQ(w->log, (std::vector<std::string>{"KeyDown \t shift", "KeyDown \t option", "KeyDown boom shift option"}));
}

TEST_F(WindowTest, CloseRaisesCloseAndHides) {
  auto* w = new LoggingWindow;
  w->Constructor("Logging");
  w->log.clear();
  w->DispatchCloseRequest();
  EXPECT_EQ(w->log, (std::vector<std::string>{"Close"}));
  EXPECT_FALSE(backend().Record(*w).visible);
  EXPECT_EQ(fw::Window::GetImplicitWindow("Logging"), w);  // still registered, can come back
}

TEST_F(WindowTest, ScaleFactorComesFromTheNativeSide) {
  auto* w = new LoggingWindow;
  w->Constructor("Logging");
  backend().SetScaleFactor(2.0);
  EXPECT_EQ(w->BackingScaleFactor(), 2.0);
  backend().SetScaleQueryFails(true);
  EXPECT_THROW(w->BackingScaleFactor(), fw::ObjCException);
}

TEST_F(WindowTest, RefreshReachesTheBackendOnlyOnceTheWindowIsBuilt) {
  auto* w = new LoggingWindow;
  fw::Label* label = w->New<fw::Label>();
  w->AddControl("Caption", label);
  label->Refresh();
  EXPECT_EQ(backend().RefreshCount(), 0);
  w->Constructor("Logging");
  label->Refresh();
  EXPECT_EQ(backend().RefreshCount(*label), 1);
}

TEST_F(WindowTest, ExitDestroysTheWindowsAndReturnsTheQuitCode) {
  auto* w = new LoggingWindow;
  w->Constructor("Logging");
  fw::Quit(3);
  EXPECT_EQ(fw::Runtime::Exit(), 3);
  EXPECT_TRUE(fw::Window::AllWindows().empty());
  EXPECT_FALSE(fw::HasBackend());
}

}  // namespace
