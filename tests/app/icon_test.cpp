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

// 72 points square with rounded corners: the corners are fully transparent
// (bits 24-31 hold the transparency), the body opaque. The bundle holds it at
// 144 pixels for high-resolution displays, and at 72.
TEST_F(IconTest, TheBundledIconIs72PointsWithTransparentCorners) {
  auto bundled = fw::GetApplicationBundleResources();
  ASSERT_NE(bundled, nullptr);
  for (int pixels : {144, 72}) {
    SCOPED_TRACE(pixels);
    if (pixels == 72) {
      apptest::fs::copy_file(bundled->NativePath() + "/TBIcon72.png", folder_ / "TBIcon72.png");
      SetTBIcon72Resources([this] { return std::make_shared<fw::FolderItem>(folder_.Path()); });
    } else {
      SetTBIcon72Resources(fw::GetApplicationBundleResources);
    }
    auto icon = TBIcon72();
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->Width(), pixels);
    ASSERT_EQ(icon->Height(), pixels);
    const int k = pixels / 72;
    EXPECT_EQ(icon->PixelsPerPoint(), k);
    for (auto [x, y] : {std::pair{0, 0}, {71, 0}, {0, 71}, {71, 71}, {2, 2}, {69, 69}})
      EXPECT_EQ(icon->PixelAt(k * x + k - 1, k * y + k - 1).value >> 24, 255u) << x << "," << y;
    for (auto [x, y] : {std::pair{36, 36}, {36, 3}, {3, 36}, {10, 10}})
      EXPECT_EQ(icon->PixelAt(k * x, k * y).value >> 24, 0u) << x << "," << y;
  }
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
