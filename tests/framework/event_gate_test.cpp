// What runs while the program waits: input after the wait, in order; no
// tick, no input and no window on screen before the application has opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Application.h"
#include "EventGate.h"
#include "FrameworkFixture.h"
#include "Runtime.h"
#include "Timer.h"
#include "Window.h"

namespace {

using EventGateTest = FrameworkTest;

TEST_F(EventGateTest, InputDuringACommandRunsAfterItInTheOrderItCame) {
  std::vector<std::string> ran;
  auto note = [&](const std::string& what) { return [&ran, what] { ran.push_back(what); }; };
  {
    fw::EventGate::CommandWait wait;
    fw::EventGate::RunWhenIdle([&] {
      ran.push_back("a");
      // A command run by held work holds the rest again; input that comes
      // meanwhile lines up behind all that came before.
      fw::EventGate::CommandWait inner;
      fw::EventGate::RunWhenIdle(note("c"));
      EXPECT_EQ(ran, std::vector<std::string>{"a"});
    });
    fw::EventGate::RunWhenIdle(note("b"));
  }
  // Work that comes before the held work has run goes behind it.
  fw::EventGate::RunWhenIdle(note("d"));
  EXPECT_TRUE(ran.empty());
  backend().RunPosted();
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "d", "c"}));
  fw::EventGate::RunWhenIdle(note("now"));
  EXPECT_EQ(ran.back(), "now");
}

// Logs what start-up lets happen while Open runs.
class OpeningApp : public fw::Application {
 public:
  explicit OpeningApp(fw::TestBackend& backend) : backend_(backend) {}
  void Event_Open() override {
    fw::Window* w = fw::Window::AllWindows().front();
    shownDuringOpen = backend_.Record(*w).shown;
    backend_.Advance(500);
    fw::EventGate::RunWhenIdle([this] { log.push_back("input"); });
    w->SetTop(70);
    log.push_back("opened");
  }
  std::vector<std::string> log;
  int shownDuringOpen = -1;

 private:
  fw::TestBackend& backend_;
};

class TickingWindow : public fw::Window {
 public:
  explicit TickingWindow(std::vector<std::string>& log) : log_(log) {}
  void Event_CreateControls() override {
    auto* timer = New<fw::Timer>();
    AddControl("Tick", timer);
    timer->Action = [this](fw::Timer&) { log_.push_back("tick"); };
    timer->SetPeriod(100);
    timer->SetMode(fw::Timer::ModeMultiple);
  }
  void Event_Moved() override { log_.push_back("moved to " + std::to_string(Top())); }

 private:
  std::vector<std::string>& log_;
};

TEST_F(EventGateTest, NothingRunsAndNothingShowsBeforeTheApplicationHasOpened) {
  OpeningApp app(backend());
  fw::Application::RegisterAppObject(&app);
  TickingWindow* window = nullptr;
  fw::Runtime::RunFrameworkInitialization([&] {
    window = new TickingWindow(app.log);
    window->Constructor("Ticking");
  });
  EXPECT_EQ(app.shownDuringOpen, 0);
  // The program's own move is known at once; the window shows once, there.
  EXPECT_EQ(app.log, (std::vector<std::string>{"moved to 70", "opened"}));
  EXPECT_EQ(backend().Record(*window).shown, 1);
  EXPECT_EQ(backend().Record(*window).position.y, 70);
  backend().Advance(100);
  EXPECT_EQ(app.log, (std::vector<std::string>{"moved to 70", "opened", "input", "tick"}));
  fw::Application::RegisterAppObject(nullptr);
}

}  // namespace
