// Captures that fail keep the last good view, are said once and not retried
// while the pointer stands still; a work folder with shell characters in its
// path runs the capture and nothing else.
#include <gtest/gtest.h>

#include <chrono>

#include "support/ClaimedSizePng.h"
#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

struct FailureCase {
  const char* what;
  const char* tool;    // the stand-in's body; nullptr: no screencapture at all
  const char* report;  // what the report on stderr says
};

const FailureCase kFailures[] = {
    {"screencapture missing", nullptr, "wrote no file"},
    {"writes nothing and says why", "echo 'screencapture: no display' >&2; exit 1", "screencapture: no display"},
    {"writes an empty file", ": > \"$last\"", "refused: "},
    {"writes a file that is not a PNG", "echo 'not a picture' > \"$last\"", "not a PNG file"},
    {"writes a truncated PNG", "head -c 120 \"$SOURCE\" > \"$last\"", "refused: "},
    {"writes a picture larger than the rectangle", "cp \"$SOURCE.big\" \"$last\"",
     "102 x 101 pixels, more than the 101 x 101 expected"},
    {"writes a header claiming 8192 x 8192", "cp \"$SOURCE.huge\" \"$last\"",
     "8192 x 8192 pixels, more than the 101 x 101 expected"},
    {"hangs", "exec sleep 30", "did not end in time"},
};

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

using CaptureFailure = PickerTest;

TEST_F(CaptureFailure, KeepsTheLastGoodCaptureSaysSoOnceAndWaitsForThePointer) {
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    Pattern(102, 101)->Save(SourcePath() + ".big");
    std::ofstream(SourcePath() + ".huge", std::ios::binary) << testfiles::ClaimedSizePng(8192, 8192);
    app_->SelectedMouseLoc = true;
    UseCapture(Pattern(101, 101));
    TickAt(300, 200);
    const auto view = View();
    const fw::Color swatch = window_->CurrentColorRect()->FillColor;
    const std::string value = window_->ColorLabel()->Text, name = window_->NameLabel()->Text;
    const std::string lastCapture = ReadFile(WorkPath() + "/" + CaptureFileName);

    UseCapture(Pattern(101, 101, 0xC0));
    if (c.tool)
      WriteTool(c.tool);
    else
      RemoveTool();
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(TickAt(400, 250));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "a hung tool is stopped";
    EXPECT_NO_THROW(TickAt(410, 250));
    const size_t runs = Runs().size();
    for (int i = 0; i < 20; ++i) Tick();
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_EQ(Runs().size(), runs) << "a still pointer is not captured again";
    EXPECT_EQ(View(), view);
    EXPECT_EQ(window_->CurrentColorRect()->FillColor, swatch);
    EXPECT_EQ(window_->ColorLabel()->Text, value);
    EXPECT_EQ(window_->NameLabel()->Text, name);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName}) << "only the last good capture stays";
    EXPECT_EQ(ReadFile(WorkPath() + "/" + CaptureFileName), lastCapture);
    EXPECT_EQ(window_->LocLabel()->Text, "(410, 250)") << "the position was stored before the capture";
    EXPECT_EQ(Count(report, "screen capture failed"), 1u) << report;
    EXPECT_LE(Count(report, "\n"), 3u) << report;
    EXPECT_NE(report.find(c.report), std::string::npos) << report;

    auto fixed = Pattern(101, 101, 0xC0);
    UseCapture(fixed);
    TickAt(420, 250);
    EXPECT_NE(View(), view) << "the moved pointer is captured once the tool works";
    EXPECT_EQ(View()->PixelAt(100, 100), fixed->PixelAt(50, 50));
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
  }
}

// The command line is judged by the file it leaves: a tool that writes its
// picture and then fails is taken at its word in the file.
TEST_F(CaptureFailure, AStatusOtherThanZeroDoesNotSpoilAGoodCapture) {
  auto capture = Pattern(101, 101, 0x77);
  capture->Save(SourcePath());
  WriteTool("cp \"$SOURCE\" \"$last\"; echo 'screencapture: a warning' >&2; exit 3");
  testing::internal::CaptureStderr();
  TickAt(300, 200);
  const std::string report = testing::internal::GetCapturedStderr();
  ASSERT_NE(View(), nullptr);
  EXPECT_EQ(View()->PixelAt(100, 100), capture->PixelAt(50, 50));
  EXPECT_EQ(report.find("screen capture failed"), std::string::npos) << report;
  EXPECT_NE(report.find("screencapture: a warning"), std::string::npos) << report;
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0], WorkPath() + "|-R 250,150,101,101") << "nothing is added to the command line";
}

TEST_F(CaptureFailure, FirstCaptureThatFailsLeavesTheViewEmpty) {
  WriteTool("exit 1");
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  EXPECT_NO_THROW(Tick());
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(View(), nullptr);
  EXPECT_EQ(window_->ColorLabel()->Text, "");
  EXPECT_EQ(window_->MouseX, 300);
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_TRUE(WorkFiles().empty());
}

// A capture larger than the rectangle is refused; one that fits the
// display's scale is taken.
TEST_F(CaptureFailure, TheSizeLimitFollowsTheDisplayScale) {
  backend_->SetScaleFactor(2.0);
  auto capture = Pattern(202, 202);
  UseCapture(capture);
  TickAt(300, 200);
  ASSERT_NE(View(), nullptr);
  EXPECT_EQ(window_->CurrentColorRect()->FillColor, capture->PixelAt(100, 100));

  UseCapture(Pattern(203, 202));
  testing::internal::CaptureStderr();
  TickAt(310, 200);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("203 x 202 pixels, more than the 202 x 202 expected"),
            std::string::npos);
}

TEST_F(CaptureFailure, WorkFolderThatIsNotAFolderIsNotCapturedInto) {
  std::ofstream(WorkPath()) << "in the way";
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("screen capture failed"), std::string::npos);
  EXPECT_TRUE(Runs().empty());
  EXPECT_EQ(View(), nullptr);
}

TEST_F(CaptureFailure, ATmpdirThatCannotHoldAFolderStillCaptures) {
  unsetenv("XDG_RUNTIME_DIR");
  setenv("TMPDIR", (root_ + "/tools/screencapture").c_str(), 1);  // a file: no folder can be made there
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  testing::internal::GetCapturedStderr();
  unsetenv("TMPDIR");
  EXPECT_NE(View(), nullptr);
  fw::SpecialFolder::RemoveOwnFolders();
}

TEST_F(CaptureFailure, ShellCharactersInTheWorkFolderPathRunOnlyTheCapture) {
  const std::string odd = root_ + "/run dir 'q' \"dq\" $HOME ; touch injected ; `touch ticked` x";
  SetRuntimeFolder(odd);
  auto capture = Pattern(101, 101);
  UseCapture(capture);
  const auto before = std::filesystem::current_path();

  TickAt(300, 200);

  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0], WorkPath() + "|-R 250,150,101,101");
  EXPECT_EQ(View()->PixelAt(100, 100), capture->PixelAt(50, 50));
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
  for (const std::string& folder : {before.string(), root_, odd, WorkPath()}) {
    EXPECT_FALSE(std::filesystem::exists(folder + "/injected")) << folder;
    EXPECT_FALSE(std::filesystem::exists(folder + "/ticked")) << folder;
  }
}

}  // namespace
}  // namespace picker_test
