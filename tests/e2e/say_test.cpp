#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Xvfb.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteScript(const std::string& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body;
  chmod(path.c_str(), 0755);
}

std::string Say() { return e2e::ToolsDir() + "/say"; }

TEST(Say, WithoutAnAudioDeviceFailsAtOnce) {
  // No PulseAudio server and an empty ALSA configuration: no device at all,
  // whatever the machine has.
  e2e::TempDir home;
  std::ofstream(home / "asound.conf");
  e2e::RunResult r = e2e::RunCommand({Say(), "vivid red"},
                                     {"HOME=" + home.Path(), "PULSE_SERVER=unix:" + home / "none",
                                      "ALSA_CONFIG_PATH=" + home / "asound.conf"},
                                     "", 10000);
  EXPECT_FALSE(r.timedOut);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("say: "), std::string::npos) << r.err;
}

class SayWithRecorder : public testing::Test {
 protected:
  // An espeak-ng first on PATH that records its arguments and its input.
  void SetUp() override { Recorder("exit 0\n"); }

  void Recorder(const std::string& ending) {
    WriteScript(bin_ / "espeak-ng", "printf '%s\\n' \"$*\" > \"$RECORD.args\"\ncat > \"$RECORD.text\"\n" + ending);
  }

  e2e::RunResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {Say()};
    argv.insert(argv.end(), args.begin(), args.end());
    return e2e::RunCommand(argv, {"PATH=" + bin_.Path() + ":" + std::getenv("PATH"), "RECORD=" + bin_ / "record"},
                           bin_.Path(), 10000);
  }

  std::string Args() { return ReadFile(bin_ / "record.args"); }
  std::string Text() { return ReadFile(bin_ / "record.text"); }

  e2e::TempDir bin_;
};

TEST_F(SayWithRecorder, SpeaksEnglishAndJapaneseAsKana) {
  struct Case {
    std::string said, voice, spoken;
  };
  const Case cases[] = {
      {"vivid red", "en", "vivid red\n"},
      {"あざやかな赤", "ja", "あざやかなあか\n"},
      // Texts that would be options or shell syntax reach espeak-ng unchanged.
      {"-w /tmp/x", "en", "-w /tmp/x\n"},
      {"it's $(touch hacked) `touch hacked` \"q\"", "en", "it's $(touch hacked) `touch hacked` \"q\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    e2e::RunResult r = Run({c.said});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Args(), "-v " + c.voice + " --stdin\n");
    EXPECT_EQ(Text(), c.spoken);
  }
  EXPECT_FALSE(std::ifstream(bin_ / "hacked"));
}

TEST_F(SayWithRecorder, ReportsFailureAndBadUsage) {
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"a", "b"}).status, 2);

  // The empty name speaks nothing and is no failure.
  EXPECT_EQ(Run({""}).status, 0);
  EXPECT_FALSE(std::ifstream(bin_ / "record.args"));

  // espeak-ng's way of saying it found no device: status 0 and an error line.
  Recorder("echo 'ALSA lib pcm.c: Unknown PCM default' >&2\necho 'error: No such file or directory' >&2\nexit 0\n");
  e2e::RunResult r = Run({"red"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("error: No such file or directory"), std::string::npos) << r.err;

  Recorder("exit 3\n");
  EXPECT_EQ(Run({"red"}).status, 1);
}

}  // namespace
