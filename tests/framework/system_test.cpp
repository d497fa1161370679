#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "Exceptions.h"
#include "System.h"

namespace {

using SystemTest = FrameworkTest;

TEST_F(SystemTest, PointerAndMainScreenComeFromTheNativeSide) {
  backend().SetMouse(-40, 1210);
  backend().SetMainScreen(2560, 1440);
  EXPECT_EQ(fw::System::MouseX(), -40);
  EXPECT_EQ(fw::System::MouseY(), 1210);
  EXPECT_EQ(fw::Screen(0).Width, 2560);
  EXPECT_EQ(fw::Screen(0).Height, 1440);
  EXPECT_EQ(fw::Screen(1).Width, 0);  // only the main screen is known
}

TEST_F(SystemTest, ShowURLAsksTheDesktopAndSaysWhenItCannot) {
  fw::ShowURL("https://example.org/");
  backend().SetOpenURLResult(false);
  testing::internal::CaptureStderr();
  fw::ShowURL("https://example.org/b");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("https://example.org/b"), std::string::npos);
  EXPECT_EQ(backend().OpenedURLs(), (std::vector<std::string>{"https://example.org/", "https://example.org/b"}));
}

TEST(SystemWithoutBackend, CallsThrowInsteadOfCrashing) {
  fw::ResetFrameworkForTests();
  EXPECT_THROW(fw::System::MouseX(), fw::NilObjectException);
}

}  // namespace
