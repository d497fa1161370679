// Clearing out the work folder at Close.
#include <gtest/gtest.h>

#include <functional>

#include "AppTestSupport.h"

namespace {

namespace fs = std::filesystem;
using apptest::ReadFile;
using apptest::WriteFile;

class CleanupTest : public apptest::AppTest {
 protected:
  std::string Work() const { return folders_.WorkFolderPath(); }
  // A folder outside the work folder that links may point at.
  std::string Outside() const { return folders_.Root() + "/outside"; }
  static size_t EntriesIn(const std::string& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
};

struct CleanupCase {
  const char* name;
  std::function<void(const std::string& work, const std::string& outside)> fill;
};

const CleanupCase kEmptiedCases[] = {
    {"four plain files",
     [](const std::string& work, const std::string&) {
       for (const char* name : {"a", "50,50,101,101", "capture-square", ".hidden"}) WriteFile(work + "/" + name, "x");
     }},
    {"nested folders",
     [](const std::string& work, const std::string&) {
       fs::create_directories(work + "/sub/deeper/deepest");
       WriteFile(work + "/sub/a", "1");
       WriteFile(work + "/sub/deeper/b", "2");
       WriteFile(work + "/sub/deeper/deepest/c", "3");
       WriteFile(work + "/top", "4");
     }},
    {"link to a folder elsewhere",
     [](const std::string& work, const std::string& outside) { fs::create_directory_symlink(outside, work + "/link"); }},
    {"link to a file elsewhere",
     [](const std::string& work, const std::string& outside) {
       fs::create_symlink(outside + "/keep.txt", work + "/file-link");
     }},
    {"capture file that is a link",
     [](const std::string& work, const std::string& outside) {
       fs::create_symlink(outside + "/keep.txt", work + "/capture-square");
     }},
    {"dangling link",
     [](const std::string& work, const std::string&) { fs::create_symlink("/nonexistent/target", work + "/dangling"); }},
    {"link inside a nested folder",
     [](const std::string& work, const std::string& outside) {
       fs::create_directories(work + "/sub");
       fs::create_directory_symlink(outside, work + "/sub/link");
     }},
};

TEST_F(CleanupTest, CloseEmptiesTheWorkFolderAndNeverFollowsLinks) {
  for (const CleanupCase& c : kEmptiedCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Work());
    fs::remove_all(Outside());
    fs::create_directories(Work());
    fs::create_directories(Outside() + "/inner");
    WriteFile(Outside() + "/keep.txt", "keep");
    WriteFile(Outside() + "/inner/keep2.txt", "keep2");
    c.fill(Work(), Outside());

    app().Event_Close();

    ASSERT_TRUE(fs::is_directory(fs::symlink_status(Work())));
    EXPECT_EQ(EntriesIn(Work()), 0u);
    EXPECT_EQ(ReadFile(Outside() + "/keep.txt"), "keep");
    EXPECT_EQ(ReadFile(Outside() + "/inner/keep2.txt"), "keep2");
  }
}

TEST_F(CleanupTest, MissingWorkFolderIsNoError) {
  ASSERT_FALSE(fs::exists(fs::symlink_status(Work())));
  EXPECT_NO_THROW(app().Event_Close());
  EXPECT_FALSE(fs::exists(fs::symlink_status(Work())));
  EXPECT_TRUE(fs::exists(folders_.PrefFilePath()));
}

TEST_F(CleanupTest, WorkFolderThatIsALinkIsNotCleared) {
  fs::create_directories(Outside());
  WriteFile(Outside() + "/capture-square", "theirs");
  WriteFile(Outside() + "/other", "theirs too");
  fs::create_directory_symlink(Outside(), Work());

  testing::internal::CaptureStderr();
  app().Event_Close();
  std::string err = testing::internal::GetCapturedStderr();

  EXPECT_TRUE(fs::is_symlink(Work()));
  EXPECT_EQ(ReadFile(Outside() + "/capture-square"), "theirs");
  EXPECT_EQ(ReadFile(Outside() + "/other"), "theirs too");
  EXPECT_NE(err.find("is a link"), std::string::npos) << err;
  EXPECT_TRUE(fs::exists(folders_.PrefFilePath()));
}

TEST_F(CleanupTest, DeleteTmpTakesNilAndPlainFiles) {
  EXPECT_NO_THROW(app().DeleteTmp(nullptr));
  WriteFile(folders_.Root() + "/plain", "x");
  app().DeleteTmp(std::make_shared<fw::FolderItem>(folders_.Root() + "/plain"));
  EXPECT_EQ(ReadFile(folders_.Root() + "/plain"), "x");
}

}  // namespace
