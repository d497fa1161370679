// The icon picture and its cache.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/TBIcon72.h"

namespace {

class IconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTBIcon72Resources([this] { return std::make_shared<fw::FolderItem>(folder_.Path()); });
  }
  void TearDown() override { SetTBIcon72Resources(fw::GetApplicationBundleResources); }
  void CopyTheIcon() {
    auto bundled = fw::GetApplicationBundleResources();
    ASSERT_NE(bundled, nullptr);
    apptest::fs::copy_file(bundled->NativePath() + "/TBIcon72.png", folder_ / "TBIcon72.png");
  }
  apptest::TempFolder folder_;
};

TEST_F(IconTest, TheBundledIconIs72By72) {
  SetTBIcon72Resources(fw::GetApplicationBundleResources);
  auto icon = TBIcon72();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width(), 72);
  EXPECT_EQ(icon->Height(), 72);
}

TEST_F(IconTest, ASuccessfulLoadIsKeptAndNotReadAgain) {
  CopyTheIcon();
  auto first = TBIcon72();
  ASSERT_NE(first, nullptr);
  apptest::fs::remove(folder_ / "TBIcon72.png");
  EXPECT_EQ(TBIcon72(), first);
}

TEST_F(IconTest, AMissingOrDamagedFileIsTriedAgainUntilItLoads) {
  EXPECT_EQ(TBIcon72(), nullptr);
  apptest::WriteFile(folder_ / "TBIcon72.png", "not a PNG");
  EXPECT_EQ(TBIcon72(), nullptr);
  apptest::fs::remove(folder_ / "TBIcon72.png");
  CopyTheIcon();
  EXPECT_NE(TBIcon72(), nullptr);
}

TEST_F(IconTest, NoResourcesFolderGivesNil) {
  SetTBIcon72Resources([] { return fw::FolderItemPtr(); });
  EXPECT_EQ(TBIcon72(), nullptr);
}

}  // namespace
