// The operating-system version probe: versions compare field by field.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/VersionProbe.h"

namespace {

struct VersionCase {
  const char* output;
  bool atLeast109;
};

const VersionCase kVersionCases[] = {
    {"10.9.5\n", true},   {"11.2\n", true},      {"10.10.2\n", true}, {"10.8.5\n", false},
    {"10.9", true},       {"10.9.0", true},      {"10", false},       {"11", true},
    {"9.99", false},      {"  10.15.7\n", true}, {"", false},         {"unknown\n", false},
    {".10.9", false},     {"10.", false},        {"-11.0", false},    {"99999999999999999999.1", true},
    {"10.9beta", true},   {"10.08", false},
};

TEST(VersionAtLeast, ComparesFieldByField) {
  for (const VersionCase& c : kVersionCases)
    EXPECT_EQ(VersionAtLeast(c.output, {10, 9}), c.atLeast109) << "output: \"" << c.output << "\"";
}

class VersionProbeTest : public apptest::AppTest {};

// The probe runs the real command line through the shell, so the tools
// folder's sw_vers decides.
TEST_F(VersionProbeTest, SetsIsMarvericsFromTheCommandsOutput) {
  const VersionCase shellCases[] = {{"10.9.5", true}, {"11.2", true}, {"10.10.2", true}, {"10.8.5", false}};
  for (const VersionCase& c : shellCases) {
    folders_.SetVersion(c.output);
    App probed;
    probed.ProbeVersion();
    EXPECT_EQ(probed.IsMarverics, c.atLeast109) << c.output;
  }
}

TEST_F(VersionProbeTest, MissingOrFailingCommandLeavesItFalse) {
  folders_.SetVersionScript("#!/bin/sh\necho 'sw_vers: broken' >&2\nexit 3\n");
  App failing;
  failing.ProbeVersion();
  EXPECT_FALSE(failing.IsMarverics);

  folders_.RemoveVersionCommand();
  App missing;
  testing::internal::CaptureStderr();
  missing.ProbeVersion();
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(missing.IsMarverics);
}

TEST_F(VersionProbeTest, OpenProbesWithoutAPreferencesFile) {
  folders_.SetVersion("10.10.2");
  app().Event_Open();
  EXPECT_TRUE(app().IsMarverics);
}

}  // namespace
