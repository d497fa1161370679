#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "Exceptions.h"
#include "Runtime.h"
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

// MouseY right after MouseX in one handler answers from MouseX's query.
TEST_F(SystemTest, OneQueryServesMouseXAndTheMouseYAfterIt) {
  backend().SetMouse(10, 20);
  const int before = backend().MouseQueries();
  EXPECT_EQ(fw::System::MouseX(), 10);
  backend().SetMouse(11, 21);
  EXPECT_EQ(fw::System::MouseY(), 20);
  EXPECT_EQ(backend().MouseQueries(), before + 1);
  EXPECT_EQ(fw::System::MouseY(), 21) << "a second MouseY asks again";
  EXPECT_EQ(backend().MouseQueries(), before + 2);

  // A handler run between them means time has passed: ask again.
  EXPECT_EQ(fw::System::MouseX(), 11);
  backend().SetMouse(12, 22);
  fw::Runtime::CallWithExceptionHandling([] {});
  EXPECT_EQ(fw::System::MouseY(), 22);
  EXPECT_EQ(backend().MouseQueries(), before + 4);
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
