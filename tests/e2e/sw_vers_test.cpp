#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Xvfb.h"

namespace {

TEST(SwVers, ProductVersionSelectsTheRectangleCapture) {
  std::string tool = e2e::ToolsDir() + "/sw_vers";
  e2e::RunResult r = e2e::RunCommand({tool, "-productVersion"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "10.15.7\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"-buildVersion"}, {"-productVersion", "x"}}) {
    std::vector<std::string> argv = {tool};
    argv.insert(argv.end(), args.begin(), args.end());
    e2e::RunResult bad = e2e::RunCommand(argv);
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("usage"), std::string::npos);
  }
}

}  // namespace
