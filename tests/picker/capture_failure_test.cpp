// Captures that fail keep the last good view and are tried again; a work
// folder with shell characters in its path runs the capture and nothing else.
#include <gtest/gtest.h>

#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

struct FailureCase {
  const char* what;
  const char* tool;    // the stand-in's body; nullptr: no screencapture at all
  const char* report;  // what the report on stderr says
};

const FailureCase kFailures[] = {
    {"screencapture missing", nullptr, "status 127: "},
    {"exits non-zero after writing a picture", "cp \"$SOURCE\" \"$last\"; echo 'no display' >&2; exit 3",
     "status 3: no display"},
    {"writes nothing", "exit 0", "no readable PNG named 350,200,101,101"},
    {"writes an empty file", ": > \"$last\"", "no readable PNG"},
    {"writes a file that is not a PNG", "echo 'not a picture' > \"$last\"", "no readable PNG"},
    {"writes a truncated PNG", "head -c 120 \"$SOURCE\" > \"$last\"", "no readable PNG"},
};

using CaptureFailure = PickerTest;

TEST_F(CaptureFailure, KeepsTheLastGoodCaptureAndTriesAgain) {
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    app_->SelectedMouseLoc = true;
    auto good = Pattern(101, 101);
    UseCapture(good);
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
    EXPECT_NO_THROW(TickAt(400, 250));
    EXPECT_NO_THROW(TickAt(410, 250));
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_EQ(View(), view);
    EXPECT_EQ(window_->CurrentColorRect()->FillColor, swatch);
    EXPECT_EQ(window_->ColorLabel()->Text, value);
    EXPECT_EQ(window_->NameLabel()->Text, name);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName}) << "only the last good capture stays";
    EXPECT_EQ(ReadFile(WorkPath() + "/" + CaptureFileName), lastCapture);
    EXPECT_EQ(window_->LocLabel()->Text, "(300, 200)") << "the caption keeps the last capture's position";
    size_t reports = 0;
    for (size_t at = report.find("screen capture failed"); at != std::string::npos;
         at = report.find("screen capture failed", at + 1))
      ++reports;
    EXPECT_EQ(reports, 1u) << report;
    EXPECT_NE(report.find(c.report), std::string::npos) << report;

    auto fixed = Pattern(101, 101, 0xC0);
    UseCapture(fixed);
    Tick();
    EXPECT_NE(View(), view) << "the still pointer is captured once the tool works";
    EXPECT_EQ(View()->PixelAt(100, 100), fixed->PixelAt(50, 50));
    EXPECT_EQ(window_->MouseX, 410);
    EXPECT_EQ(window_->MouseY, 250);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{CaptureFileName});
  }
}

TEST_F(CaptureFailure, FirstCaptureThatFailsLeavesTheViewEmpty) {
  WriteTool("exit 1");
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(View(), nullptr);
  EXPECT_EQ(window_->ColorLabel()->Text, "");
  EXPECT_EQ(window_->MouseX, -999);
  EXPECT_TRUE(WorkFiles().empty());
}

TEST_F(CaptureFailure, WorkFolderThatIsNotAFolderIsNotCapturedInto) {
  std::ofstream(WorkPath()) << "in the way";
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("screen capture failed"), std::string::npos);
  EXPECT_TRUE(Runs().empty());
  EXPECT_EQ(View(), nullptr);
}

TEST_F(CaptureFailure, NoTemporaryFolderEndsTheTickQuietly) {
  unsetenv("XDG_RUNTIME_DIR");
  setenv("TMPDIR", (root_ + "/tools/screencapture").c_str(), 1);  // a file: no folder can be made there
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(TickAt(300, 200));
  testing::internal::GetCapturedStderr();
  unsetenv("TMPDIR");
  EXPECT_EQ(View(), nullptr);
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
