#include <gtest/gtest.h>

#include "Xvfb.h"

namespace {

TEST(XvfbHelper, ServersRunSideBySideAndKeepTheRootPicture) {
  e2e::XvfbServer first(64, 48), second(80, 60, {"-dpi", "192"});
  EXPECT_NE(first.display(), second.display());
  first.SetRootPattern();
  // A client coming and going must not reset the server's root background.
  EXPECT_EQ(first.Run("xprop -root >/dev/null").status, 0);
  auto shot = first.Screenshot();
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->Width(), 64);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) ASSERT_EQ(shot->PixelAt(x, y), e2e::PatternColor(x, y)) << x << "," << y;
  }
  // The extra arguments reach the server (Xvfb rounds the size in mm, so
  // 192 dpi reads back as a little less).
  EXPECT_EQ(second.Run("xdpyinfo | grep -Eq 'resolution: +1[89][0-9]x1[89][0-9] dots'").status, 0);
}

TEST(XvfbHelper, OpenboxStartsAndCommandsTimeOut) {
  e2e::XvfbServer screen(64, 48);
  screen.StartOpenbox();
  EXPECT_EQ(screen.Run("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window").status, 0);
  e2e::RunResult slow = e2e::RunShell("sleep 30", {}, "", 200);
  EXPECT_TRUE(slow.timedOut);
  EXPECT_LT(slow.seconds, 5);
}

}  // namespace
