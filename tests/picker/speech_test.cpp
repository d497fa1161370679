// The speech tick, with a recording say first on PATH.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

class SpeechTest : public PickerTest {
 protected:
  void SetUp() override {
    PickerTest::SetUp();
    WriteSay("");
  }

  // A say that logs one line per run: its argument count, then "|" and each
  // argument; then runs body.
  void WriteSay(const std::string& body) {
    const std::string say = root_ + "/tools/say";
    std::ofstream out(say);
    out << "#!/bin/sh\n"
        << "{ printf '%s' \"$#\"; for a; do printf '|%s' \"$a\"; done; printf '\\n'; } >> '" << SayLog() << "'\n"
        << body << "\n";
    out.close();
    chmod(say.c_str(), 0755);
  }
  std::string SayLog() const { return root_ + "/say.log"; }
  std::vector<std::string> Spoken() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(SayLog()));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  void SayTick(const std::string& shownName) {
    window_->NameLabel()->Text = shownName;
    window_->SayColor_Action(*window_->SayColor());
  }
};

using Speech = SpeechTest;

TEST_F(Speech, SpeaksANameOnlyWhenItDiffersFromTheLastOneSpoken) {
  struct Step {
    const char* shown;
    const char* spoken;  // the line say logs, nullptr: say does not run
  };
  const Step steps[] = {
      {"", nullptr},  // before the first capture: nothing to say
      {"vivid red", "1|vivid red"},
      {"vivid red", nullptr},
      {"dark grey", "1|dark grey"},
      {"vivid red", "1|vivid red"},  // a name that comes back is spoken again
      {"", "1|"},                    // the empty name after a spoken one, once
      {"", nullptr},
      {"あざやかな赤", "1|あざやかな赤"},
  };
  std::vector<std::string> expected;
  for (const Step& s : steps) {
    SayTick(s.shown);
    if (s.spoken) expected.push_back(s.spoken);
    EXPECT_EQ(Spoken(), expected) << "after showing \"" << s.shown << "\"";
    EXPECT_EQ(window_->LastName, s.shown);
    EXPECT_FALSE(window_->NowPlaying);
  }
}

TEST_F(Speech, ATickWhileSpeakingDoesNothingAndStoresNothing) {
  window_->NowPlaying = true;
  SayTick("vivid red");
  EXPECT_TRUE(Spoken().empty());
  EXPECT_EQ(window_->LastName, "");
  EXPECT_TRUE(window_->NowPlaying);
  window_->NowPlaying = false;
  SayTick("vivid red");
  EXPECT_EQ(Spoken(), std::vector<std::string>{"1|vivid red"});
}

TEST_F(Speech, ANameReachesSayAsOneArgumentAndRunsNothingElse) {
  const std::string marker = root_ + "/ran";
  const std::string names[] = {
      "it's $(touch " + marker + ")",
      "'; touch " + marker + "; echo '",
      "`touch " + marker + "`",
      "\"$(touch " + marker + ")\" && touch " + marker,
      "'",
      "''",
      "a\\'b",
      "-v",
  };
  std::vector<std::string> expected;
  for (const std::string& name : names) {
    SayTick(name);
    expected.push_back("1|" + name);
    EXPECT_EQ(Spoken(), expected);
    EXPECT_FALSE(std::filesystem::exists(marker)) << name;
  }
}

TEST_F(Speech, ASlowSayLetsTheCaptureRunAndKeepsTheTickFromStartingAgain) {
  WriteSay("sleep 0.4");
  // The speech timer falls due many times while say runs; the capture timer
  // follows the pointer and changes the shown name meanwhile.
  window_->SayColor()->SetPeriod(20);
  window_->SayColor()->SetMode(fw::Timer::ModeMultiple);
  backend_->SetMouse(250, 180);
  backend_->WhileNextCommandWaits([this] { backend_->Advance(300); });
  window_->NameLabel()->Text = "spoken first";
  window_->SayColor()->Fire();
  EXPECT_EQ(Spoken(), std::vector<std::string>{"1|spoken first"});
  EXPECT_EQ(window_->LastName, "spoken first");
  EXPECT_FALSE(window_->NowPlaying);
  EXPECT_EQ(window_->MouseX, 250);
  EXPECT_EQ(window_->MouseY, 180);
  ASSERT_FALSE(Runs().empty());
  const std::string captured = window_->NameLabel()->Text;
  EXPECT_NE(captured, "spoken first");
  // Once say has ended the name shown meanwhile is spoken.
  WriteSay("");
  window_->SayColor_Action(*window_->SayColor());
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"1|spoken first", "1|" + captured}));
}

// A backend whose event serving fails while a command runs, so that
// Shell::Execute throws.
class FailingBackend : public fw::TestBackend {
 public:
  void ServeEvents(int, const std::vector<int>&) override { throw fw::RuntimeException("serving events failed"); }
};

TEST_F(Speech, AFailingCommandDoesNotLeaveSpeechStuck) {
  WriteSay("sleep 0.2");
  FailingBackend failing;
  fw::SetBackend(&failing);
  EXPECT_THROW(SayTick("vivid red"), fw::RuntimeException);
  EXPECT_FALSE(window_->NowPlaying);
  fw::SetBackend(backend_);
  WriteSay("");
  SayTick("dark grey");
  EXPECT_EQ(Spoken().back(), "1|dark grey");
}

}  // namespace
}  // namespace picker_test
