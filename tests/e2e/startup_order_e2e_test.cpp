// The built program's start-up under openbox, whatever it waits for: a
// version probe that takes its time changes neither the capture form nor
// the capture period, and the window shows once, at its saved place; a
// quit at any moment of start-up leaves the saved settings as they were.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Program.h"
#include "Xvfb.h"

namespace {

using e2e::WaitFor;
using Origin = e2e::XvfbServer::Origin;

constexpr int kScreenW = 800, kScreenH = 600;
constexpr int kTop = 100, kLeft = 200;
// Language, crosshair, caption, screen height and width, top, left,
// notation, speech: saved on this screen, at a place openbox would not pick.
const std::vector<std::string> kSaved = {"en", "Black", "0", std::to_string(kScreenH), std::to_string(kScreenW),
                                         std::to_string(kTop), std::to_string(kLeft), "RGB", "0"};

std::string Listed(const std::vector<Origin>& places) {
  std::ostringstream out;
  for (const Origin& at : places) out << at << " ";
  return out.str();
}

TEST(StartupOrderE2E, ASlowVersionProbeChangesNeitherTheCaptureNorWhereTheWindowShows) {
  e2e::XvfbServer x(kScreenW, kScreenH);
  e2e::Program program(x);
  program.WritePrefs(kSaved);
  // A system of 10.9 or later that takes its time to say so.
  const std::string swVers = program.CopyBinFolder() + "/sw_vers";
  std::ofstream(swVers, std::ios::trunc) << "#!/bin/sh\nsleep 0.4\necho 10.15.7\n";
  chmod(swVers.c_str(), 0755);
  program.LogCaptures();
  // Below the window the pointer never rests: every tick captures.
  e2e::WanderingPointer pointer(x, 500, 50, 350);
  constexpr size_t kCaptures = 16;
  std::vector<Origin> places;
  {
    e2e::PlacesSeen watch(x, "Tintbeacon");
    program.Start();
    ASSERT_NE(program.WaitForWindow(), "") << program.Log();
    ASSERT_TRUE(WaitFor([&] { return program.Captures().size() >= kCaptures; }, 60000)) << program.Log();
    places = watch.Places();
  }
  const std::vector<e2e::Program::Capture> captures = program.Captures();
  for (const auto& capture : captures) EXPECT_EQ(capture.args.rfind("-R ", 0), 0u) << capture.args;
  // At the whole-screen form's 500 ms period these captures span at least
  // 15 periods, less the timer's 5 % slack and the first one's lateness:
  // over 6.5 s. At 128 ms they span about 2 s, on a busy machine too.
  EXPECT_LT(captures[kCaptures - 1].seconds - captures[0].seconds, 6.0);
  ASSERT_FALSE(places.empty());
  EXPECT_EQ(places.front(), (Origin{kLeft, kTop})) << "shown at " << Listed(places);
  EXPECT_EQ(places.size(), 1u) << "shown at " << Listed(places);
  EXPECT_EQ(program.Quit(), 0) << program.Log();
}

class QuitDuringStartup : public ::testing::TestWithParam<int> {};

TEST_P(QuitDuringStartup, LeavesTheSavedSettingsAsTheyWere) {
  e2e::XvfbServer x(kScreenW, kScreenH);
  e2e::Program program(x);
  program.WritePrefs(kSaved);
  const auto started = std::chrono::steady_clock::now();
  program.Start();
  std::this_thread::sleep_until(started + std::chrono::milliseconds(GetParam()));
  ::kill(program.Proc().Pid(), SIGTERM);
  const int status = program.Proc().Wait(30000);
  // 128 + SIGTERM: ended by the signal's default action, before the
  // program could change anything.
  EXPECT_TRUE(status == 0 || status == 128 + SIGTERM) << "status " << status << "\n" << program.Log();
  EXPECT_EQ(program.PrefLines(), kSaved) << program.Log();
}

INSTANTIATE_TEST_SUITE_P(SigtermAfter, QuitDuringStartup, ::testing::Values(10, 30, 50, 70, 100, 200),
                         [](const auto& info) { return std::to_string(info.param) + "ms"; });

}  // namespace
