#include "Diagnostics.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "ProgramName.h"

namespace {

using Clock = fw::DiagnosticLog::Clock;
using std::chrono::seconds;

class DiagnosticLogTest : public ::testing::Test {
 protected:
  void Say(const std::string& text, int atSecond) { log.Report(text, Clock::time_point() + seconds(atSecond)); }

  std::vector<std::string> lines;
  fw::DiagnosticLog log{[this](const std::string& line) { lines.push_back(line); }};
};

TEST_F(DiagnosticLogTest, AReasonIsSaidOnceThenOnceAMinuteWithTheCountHeldBack) {
  for (int second = 0; second < 150; ++second) Say("capture failed: no file 350,200,101,101", second);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "capture failed: no file 350,200,101,101",
                       "capture failed: no file 350,200,101,101 (59 more times in the last minute)",
                       "capture failed: no file 350,200,101,101 (59 more times in the last minute)",
                   }));
}

TEST_F(DiagnosticLogTest, NumbersDoNotMakeAReasonDistinctWordsDo) {
  Say("capture 350,200,101,101 refused: not a PNG file", 0);
  Say("capture 360,210,101,101 refused: not a PNG file", 1);
  Say("capture 360,210,101,101 refused: 8192 x 8192 pixels", 2);
  Say("capture 370,210,101,101 refused: 4096 x 4096 pixels", 3);
  Say("cannot open: No such file or directory", 4);
  Say("cannot open: Permission denied", 5);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "capture 350,200,101,101 refused: not a PNG file",
                       "capture 360,210,101,101 refused: 8192 x 8192 pixels",
                       "cannot open: No such file or directory",
                       "cannot open: Permission denied",
                   }));
}

TEST_F(DiagnosticLogTest, ManyDistinctReasonsAreCappedAMinute) {
  const std::string words[] = {"alpha", "beta", "gamma", "delta", "epsilon"};
  for (int i = 0; i < 100; ++i) Say("reason " + words[i % 5] + words[i / 5 % 5] + words[i / 25], i / 10);
  ASSERT_EQ(lines.size(), size_t(fw::DiagnosticLog::kLinesPerInterval));
  Say("a new reason", 61);
  ASSERT_EQ(lines.size(), size_t(fw::DiagnosticLog::kLinesPerInterval) + 2);
  EXPECT_EQ(lines[lines.size() - 2], "80 more diagnostics held back in the last minute");
  EXPECT_EQ(lines.back(), "a new reason");
}

// The name is the one the program hands over, not its executable's.
TEST(Diagnose, WritesOneLineWithTheProgramsNameAndTheSystemsWords) {
  const std::string executable = fw::ProgramName();
  fw::SetProgramName("probe");
  fw::ResetDiagnostics();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 10; ++i) fw::Diagnose("cannot open /x: " + fw::ErrorText(ENOENT));
  const std::string said = testing::internal::GetCapturedStderr();
  fw::SetProgramName(executable);
  EXPECT_EQ(said, "probe: cannot open /x: No such file or directory\n");
}

}  // namespace
