#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Exceptions.h"
#include "FrameworkFixture.h"
#include "Timer.h"
#include "Window.h"

namespace {

class TimerTest : public FrameworkTest {
 protected:
  // A timer of a built window that counts its ticks and notes their times.
  fw::Timer* MakeTimer(const std::string& name, int32_t period) {
    fw::Timer* t = window->New<fw::Timer>();
    window->AddControl(name, t);
    t->Action = [this, name](fw::Timer&) { ticks.push_back(name + "@" + std::to_string(backend().Now())); };
    t->SetPeriod(period);
    t->SetMode(fw::Timer::ModeMultiple);
    return t;
  }
  void SetUp() override {
    FrameworkTest::SetUp();
    window = new fw::Window;
    window->Constructor("Timers");
  }
  fw::Window* window = nullptr;
  std::vector<std::string> ticks;
};

TEST_F(TimerTest, FiresEveryPeriodOnTheVirtualClock) {
  struct Case {
    int32_t period;
    int64_t advance;
    size_t ticks;
  };
  for (const Case& c : {Case{128, 1000, 7}, Case{128, 127, 0}, Case{128, 128, 1}, Case{2000, 6000, 3}, Case{1, 50, 50}}) {
    fw::Timer* t = MakeTimer("T" + std::to_string(c.period) + "_" + std::to_string(c.advance), c.period);
    ticks.clear();
    backend().Advance(c.advance);
    EXPECT_EQ(ticks.size(), c.ticks) << "period " << c.period << " over " << c.advance << " ms";
    t->SetMode(fw::Timer::ModeOff);
  }
}

TEST_F(TimerTest, TicksComeInTimeOrderAcrossTimers) {
  MakeTimer("A", 300);
  MakeTimer("B", 200);
  MakeTimer("C", 200);
  backend().Advance(600);
  EXPECT_EQ(ticks, (std::vector<std::string>{"B@200", "C@200", "A@300", "B@400", "C@400", "A@600", "B@600", "C@600"}));
}

TEST_F(TimerTest, ModeZeroStopsAndModeTwoStartsAfresh) {
  fw::Timer* t = MakeTimer("T", 100);
  backend().Advance(250);
  t->SetMode(fw::Timer::ModeOff);
  EXPECT_FALSE(t->Running());
  t->Fire();  // a tick already queued by the native side
  backend().Advance(1000);
  EXPECT_EQ(ticks.size(), 2u);
  t->SetMode(fw::Timer::ModeMultiple);  // at 1250
  backend().Advance(100);
  EXPECT_EQ(ticks.back(), "T@1350");
  EXPECT_THROW(t->SetMode(1), fw::RuntimeException);
}

TEST_F(TimerTest, NewPeriodTakesEffectAtOnce) {
  fw::Timer* t = MakeTimer("T", 128);
  backend().Advance(100);
  t->SetPeriod(500);
  EXPECT_EQ(backend().TimerPeriod(*t), 500);
  backend().Advance(600);
  EXPECT_EQ(ticks, (std::vector<std::string>{"T@600"}));

  fw::Timer* off = window->New<fw::Timer>();
  off->SetPeriod(2000);  // setting the period of a stopped timer starts nothing
  EXPECT_FALSE(backend().TimerScheduled(*off));
}

TEST_F(TimerTest, TicksDueWhileTheActionRunsAreDroppedNotNested) {
  fw::Timer* slow = MakeTimer("Slow", 100);
  MakeTimer("Other", 150);
  int depth = 0, deepest = 0;
  slow->Action = [&](fw::Timer&) {
    ticks.push_back("Slow@" + std::to_string(backend().Now()));
    ++depth;
    deepest = std::max(deepest, depth);
    backend().Advance(450);  // a shell command that takes a while, serving events
    --depth;
  };
  backend().Advance(100);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(backend().Now(), 550);
  // The other timer kept running while the slow one waited.
  EXPECT_EQ(ticks, (std::vector<std::string>{"Slow@100", "Other@150", "Other@300", "Other@450"}));
  backend().Advance(50);
  ASSERT_GE(ticks.size(), 5u);
  EXPECT_EQ(ticks[4], "Slow@600");  // the next tick on its own schedule
}

TEST_F(TimerTest, AFailingActionIsReportedAndTheTimerKeepsRunning) {
  fw::Timer* t = MakeTimer("T", 100);
  int runs = 0;
  t->Action = [&](fw::Timer&) {
    if (++runs == 1) throw fw::IOException("capture", 2);
  };
  testing::internal::CaptureStderr();
  backend().Advance(300);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(program_invocation_short_name) +
                                                         ": unhandled IOException: capture: No such file or "
                                                         "directory (2)\n");
  EXPECT_EQ(runs, 3);
  EXPECT_TRUE(t->Running());
}

TEST_F(TimerTest, AnActionMayStopItsTimer) {
  fw::Timer* t = MakeTimer("T", 100);
  t->Action = [&](fw::Timer& self) {
    ticks.push_back("once");
    self.SetMode(fw::Timer::ModeOff);
  };
  backend().Advance(1000);
  EXPECT_EQ(ticks.size(), 1u);
  EXPECT_FALSE(backend().TimerScheduled(*t));
}

TEST_F(TimerTest, EventLoopRunsTimersUntilItsLimit) {
  MakeTimer("T", 1000);
  backend().SetEventLoopLimit(5000);
  EXPECT_EQ(backend().RunEventLoop(), -1);  // nobody quit
  EXPECT_EQ(ticks.size(), 5u);
}

}  // namespace
