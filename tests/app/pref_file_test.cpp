// Reading PrefFile at Open and writing it at Close.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "AppTestSupport.h"
#include "framework/Exceptions.h"
#include "framework/Runtime.h"
#include "support/OrdinaryUser.h"

namespace {

using apptest::Lines;
using apptest::ReadFile;

struct Settings {
  std::string lang = "";
  std::string color = "Black";
  bool mouseLoc = false;
  std::string mode = "RGB";
  bool sound = false;
};

struct OpenCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no PrefFile
  int32_t screenWidth, screenHeight;
  bool mouseLocBefore;  // SelectedMouseLoc before Open: shows "changes nothing"
  Settings expected;
  std::optional<std::pair<int32_t, int32_t>> position;  // top, left; nullopt: not moved
};

const OpenCase kOpenCases[] = {
    {"no file", std::nullopt, 1440, 900, false, {}, std::nullopt},
    {"three lines", "ja\nRed\n1\n", 1440, 900, false, {"ja", "Red", true, "RGB", false}, std::nullopt},
    {"nine empty lines", "\n\n\n\n\n\n\n\n\n", 1440, 900, false, {"", "", false, "RGB", false}, std::nullopt},
    {"empty file", "", 1440, 900, true, {"", "", true, "RGB", false}, std::nullopt},
    {"mode taken as it stands", "en\nBlue\n0\n\n\n\n\nrgb\n0\n", 1440, 900, true, {"en", "Blue", false, "rgb", false},
     std::nullopt},
    {"line 3 yes changes nothing", "en\nWhite\nyes\n\n\n\n\nHLS\n\n", 1440, 900, true,
     {"en", "White", true, "HLS", false}, std::nullopt},
    {"line 9 true is not speech", "en\nBlack\n1\n\n\n\n\nRGB\ntrue\n", 1440, 900, false,
     {"en", "Black", true, "RGB", false}, std::nullopt},
    {"line 9 blank then 1 is not speech", "en\nBlack\n1\n\n\n\n\nRGB\n 1\n", 1440, 900, false,
     {"en", "Black", true, "RGB", false}, std::nullopt},
    {"speech on", "ja\nNone\n0\n\n\n\n\nCMYK\n1\n", 1440, 900, false, {"ja", "None", false, "CMYK", true},
     std::nullopt},
    {"same screen restores", "en\nGreen\n0\n900\n1440\n120\n300\nHLS\n0\n", 1440, 900, false,
     {"en", "Green", false, "HLS", false}, std::make_pair(120, 300)},
    {"other screen does not", "en\nGreen\n0\n900\n1440\n120\n300\nHLS\n0\n", 1680, 1050, false,
     {"en", "Green", false, "HLS", false}, std::nullopt},
    {"width and height the other way round", "en\nGreen\n0\n1440\n900\n120\n300\nHLS\n0\n", 1440, 900, false,
     {"en", "Green", false, "HLS", false}, std::nullopt},
    {"empty top", "en\nRed\n0\n900\n1440\n\n300\nRGB\n0\n", 1440, 900, false, {"en", "Red", false, "RGB", false},
     std::nullopt},
    {"empty left", "en\nRed\n0\n900\n1440\n120\n\nRGB\n0\n", 1440, 900, false, {"en", "Red", false, "RGB", false},
     std::nullopt},
    {"negative position", "en\nRed\n0\n900\n1440\n-25\n-40\nRGB\n0\n", 1440, 900, false,
     {"en", "Red", false, "RGB", false}, std::make_pair(-25, -40)},
    {"CRLF line ends", "ja\r\nRed\r\n1\r\n900\r\n1440\r\n7\r\n8\r\nHLS\r\n1\r\n", 1440, 900, false,
     {"ja", "Red", true, "HLS", true}, std::make_pair(7, 8)},
    {"more than nine lines", "en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\nextra\nlines\n", 1440, 900, false,
     {"en", "Red", true, "HLS", false}, std::make_pair(7, 8)},
    {"no final line end", "en\nRed\n1\n900\n1440\n7\n8\nHLS\n1", 1440, 900, false, {"en", "Red", true, "HLS", true},
     std::make_pair(7, 8)},
};

class PrefFileTest : public apptest::AppTest {};

TEST_F(PrefFileTest, OpenReadsTheSettings) {
  for (const OpenCase& c : kOpenCases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.file) folders_.WritePrefFile(*c.file);
    backend().SetMainScreen(c.screenWidth, c.screenHeight);
    Startup::LateStartup();
    Main::Main& window = *Main::Main::Instance();
    window.SetTop(44);
    window.SetLeft(55);
    app().SelectedMouseLoc = c.mouseLocBefore;

    app().Event_Open();

    EXPECT_EQ(app().SelectedLang, c.expected.lang);
    EXPECT_EQ(app().SelectedColor, c.expected.color);
    EXPECT_EQ(app().SelectedMouseLoc, c.expected.mouseLoc);
    EXPECT_EQ(app().ColorMode, c.expected.mode);
    EXPECT_EQ(app().PlaySound, c.expected.sound);
    EXPECT_EQ(window.SayColor()->Mode(), c.expected.sound ? fw::Timer::ModeMultiple : fw::Timer::ModeOff);
    auto [top, left] = c.position.value_or(std::make_pair(44, 55));
    EXPECT_EQ(window.Top(), top);
    EXPECT_EQ(window.Left(), left);
    // Open places the window itself; the settings follow the window's
    // Moved event, so that a quit right away keeps the place.
    EXPECT_EQ(app().MainTop, top);
    EXPECT_EQ(app().MainLeft, left);
  }
}

TEST_F(PrefFileTest, DefaultsRightAfterStartUp) {
  EXPECT_EQ(app().SelectedLang, "");
  EXPECT_EQ(app().SelectedColor, "Black");
  EXPECT_FALSE(app().SelectedMouseLoc);
  EXPECT_EQ(app().MainTop, 0);
  EXPECT_EQ(app().MainLeft, 0);
  EXPECT_EQ(app().ColorMode, "RGB");
  EXPECT_FALSE(app().PlaySound);
  EXPECT_FALSE(app().IsMarverics);
}

TEST_F(PrefFileTest, CloseWritesNineLinesAndCreatesTheFolder) {
  backend().SetMainScreen(1680, 1050);
  app().SelectedLang = "ja";
  app().SelectedColor = "None";
  app().SelectedMouseLoc = true;
  app().MainTop = -25;
  app().MainLeft = 310;
  app().ColorMode = "CMYK";
  app().PlaySound = true;
  ASSERT_FALSE(apptest::fs::exists(folders_.PrefFolderPath()));

  app().Event_Close();

  EXPECT_EQ(ReadFile(folders_.PrefFilePath()), "ja\nNone\n1\n1050\n1680\n-25\n310\nCMYK\n1\n");
}

TEST_F(PrefFileTest, AFreshHomeWithoutConfigFolderGetsOne) {
  apptest::EnvOverride noXdg("XDG_CONFIG_HOME", std::nullopt);
  app().Event_Close();
  EXPECT_EQ(Lines(ReadFile(folders_.Root() + "/.config/" + AppIdentifier + ".prefs/Tintbeacon.pref")).size(), 9u);
}

TEST_F(PrefFileTest, QuitAndRestartGiveTheSameSettings) {
  Startup::LateStartup();
  app().SelectedLang = "ja";
  app().SelectedColor = "Blue";
  app().SelectedMouseLoc = true;
  app().ColorMode = "HLS";
  app().PlaySound = true;
  app().MainTop = -25;
  app().MainLeft = 12;
  app().Event_Close();

  TearDown();
  SetUp();
  Startup::LateStartup();
  app().Event_Open();
  EXPECT_EQ(app().SelectedLang, "ja");
  EXPECT_EQ(app().SelectedColor, "Blue");
  EXPECT_TRUE(app().SelectedMouseLoc);
  EXPECT_EQ(app().ColorMode, "HLS");
  EXPECT_TRUE(app().PlaySound);
  EXPECT_EQ(Main::Main::Instance()->SayColor()->Mode(), fw::Timer::ModeMultiple);
  EXPECT_EQ(Main::Main::Instance()->Top(), -25);
  EXPECT_EQ(Main::Main::Instance()->Left(), 12);
}

// A write that fails part-way (here: the file-size limit, which holds even
// for root) leaves the previous file whole, says why, and lets Close end.
TEST_F(PrefFileTest, FailedWriteKeepsThePreviousFile) {
  const std::string previous = "en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\n";
  folders_.WritePrefFile(previous);
  app().SelectedLang = std::string(4096, 'x');

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* savedSignal = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tiny = saved;
  tiny.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(app().Event_Close());
  std::string err = testing::internal::GetCapturedStderr();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, savedSignal);

  EXPECT_EQ(ReadFile(folders_.PrefFilePath()), previous);
  EXPECT_NE(err.find("settings not saved"), std::string::npos) << err;
  // No half-written temporary file stays behind.
  EXPECT_EQ(std::distance(apptest::fs::directory_iterator(folders_.PrefFolderPath()), {}), 1);
}

TEST_F(PrefFileTest, UnwritablePreferencesFolderIsReportedAndCloseEnds) {
  // A file where the preferences folder should be: nothing can be created.
  apptest::WriteFile(folders_.PrefFolderPath(), "not a folder");
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(app().Event_Close());
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("settings not saved"), std::string::npos) << err;
  EXPECT_EQ(ReadFile(folders_.PrefFolderPath()), "not a folder");
}

TEST_F(PrefFileTest, QuitRaisesCloseOnceAndWritesTheFile) {
  Startup::LateStartup();
  fw::Quit(0);
  fw::Quit(0);
  EXPECT_TRUE(backend().QuitRequested());
  EXPECT_EQ(Lines(ReadFile(folders_.PrefFilePath())).size(), 9u);
}

// What cannot be a PrefFile of ours is refused at once at start-up with one
// line on stderr (the framework's report of Open's IOException); the
// settings keep their defaults and start-up goes on. Opening never waits on a
// FIFO, never reads a device or a huge file to its end, and a file of NUL
// bytes (what a crash can leave) is not taken as settings.
TEST_F(PrefFileTest, WhatIsNoPrefFileIsRefusedAtOnceWithOneLine) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> make;
    bool regular;  // replaced by a good file at quit
  } cases[] = {
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, false},
      {"link to /dev/zero", [](const std::string& p) { apptest::fs::create_symlink("/dev/zero", p); }, false},
      {"folder", [](const std::string& p) { apptest::fs::create_directory(p); }, false},
      {"2 GB file of NUL bytes", [](const std::string& p) {
         apptest::WriteFile(p, "");
         ASSERT_EQ(::truncate(p.c_str(), off_t(2) << 30), 0);
       }, true},
      {"a few NUL bytes", [](const std::string& p) { apptest::WriteFile(p, std::string(40, '\0')); }, true},
      {"line 1 past the limit", [](const std::string& p) {
         apptest::WriteFile(p, std::string(PrefFileMaxBytes, 'j') + "a\nRed\n1\n");
       }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    apptest::fs::create_directories(folders_.PrefFolderPath());
    apptest::fs::remove_all(folders_.PrefFilePath());
    c.make(folders_.PrefFilePath());
    ::alarm(30);  // a start-up that blocks ends the run instead of hanging it
    testing::internal::CaptureStderr();
    fw::Runtime::RunFrameworkInitialization(Startup::LateStartup);
    std::string err = testing::internal::GetCapturedStderr();
    ::alarm(0);
    EXPECT_EQ(Lines(err).size(), 1u) << err;
    EXPECT_NE(err.find("IOException: cannot "), std::string::npos) << err;
    EXPECT_NE(err.find(folders_.PrefFilePath()), std::string::npos) << err;
    EXPECT_EQ(PickerWindows().size(), 1u);
    EXPECT_EQ(app().SelectedLang, "");
    EXPECT_EQ(app().SelectedColor, "Black");
    EXPECT_FALSE(app().SelectedMouseLoc);
    EXPECT_TRUE(app().IsMarverics);

    if (!c.regular) continue;
    app().Event_Close();
    EXPECT_EQ(ReadFile(folders_.PrefFilePath()), "\nBlack\n0\n900\n1440\n0\n0\nRGB\n0\n");
  }
}

// A file kept behind a link (dotfile managers do this) stays behind it: the
// file the link leads to gets the settings and keeps its mode.
TEST_F(PrefFileTest, ALinkedFileIsWrittenThroughTheLink) {
  const std::string dotfile = folders_.Root() + "/dotfiles/Tintbeacon.pref";
  apptest::fs::create_directories(folders_.Root() + "/dotfiles");
  apptest::WriteFile(dotfile, "en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\n");
  ::chmod(dotfile.c_str(), 0644);
  apptest::fs::create_directories(folders_.PrefFolderPath());
  apptest::fs::create_symlink(dotfile, folders_.PrefFilePath());
  Startup::LateStartup();
  app().Event_Open();
  EXPECT_EQ(app().SelectedColor, "Red");
  app().SelectedColor = "Blue";

  app().Event_Close();

  EXPECT_EQ(apptest::fs::read_symlink(folders_.PrefFilePath()), dotfile);
  EXPECT_EQ(Lines(ReadFile(dotfile))[1], "Blue");
  struct stat st {};
  ASSERT_EQ(::stat(dotfile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

// A file the user cannot write (read-only, or another owner's) is not
// silently replaced: Close says why in the system's words and keeps it. Run
// as an ordinary user, since root passes every permission check.
TEST_F(PrefFileTest, AFileTheUserCannotWriteIsReportedAndKept) {
  const std::string previous = "en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\n";
  for (bool otherOwner : {false, true}) {
    SCOPED_TRACE(otherOwner ? "another owner's file" : "read-only file");
    if (otherOwner && ::geteuid() != 0) continue;  // only root can give a file away
    TearDown();
    SetUp();
    folders_.WritePrefFile(previous);
    ::chmod(folders_.Root().c_str(), 0755);
    testfiles::GiveToOrdinaryUser(folders_.Root());
    if (otherOwner) ::chown(folders_.PrefFilePath().c_str(), 0, 0);
    ::chmod(folders_.PrefFilePath().c_str(), otherOwner ? 0644 : 0444);
    app().SelectedColor = "Blue";

    testing::internal::CaptureStderr();
    std::optional<int> closed = testfiles::AsOrdinaryUser([&] {
      app().Event_Close();
      return 0;
    });
    std::string err = testing::internal::GetCapturedStderr();
    if (!closed) GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(*closed, 0);
    EXPECT_EQ(err, "tintbeacon: settings not saved: cannot create " + folders_.PrefFilePath() +
                       ": Permission denied (13)\n");
    EXPECT_EQ(ReadFile(folders_.PrefFilePath()), previous);
    EXPECT_EQ(std::distance(apptest::fs::directory_iterator(folders_.PrefFolderPath()), {}), 1);
  }
}

// Damaged files never crash Open: one that is no text (a NUL byte) or whose
// lines run past the size limit is refused whole, the rest is read; either
// way the next Close writes a good file.
struct DamagedCase {
  const char* name;
  std::string content;
  bool refused;
};

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(PrefFileTest, DamagedFilesAreSurvived) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
  const DamagedCase cases[] = {
      {"binary bytes", binary + binary, true},
      {"NUL bytes", std::string("e\0n\nBl\0ack\n\0\n9\0\n\0\n1\0\n2\n\0\n\0\n", 24), true},
      {"invalid UTF-8", "\xC3\x28\n\xFF\xFE\n\xE2\x82\n900\n1440\n\x80\n\xF0\x28\x8C\x28\nRGB\n1\n", false},
      {"a 10 MB line", std::string(10 * 1024 * 1024, 'A') + "\nRed\n1\n", true},
      {"a 10 MB line of digits", "en\nRed\n1\n900\n1440\n" + std::string(10 * 1024 * 1024, '9') + "\n5\nRGB\n0\n",
       true},
      {"only carriage returns", Repeat("\r", 1000), false},
      {"one line", "ja", false},
      {"twenty lines", Repeat("1\n", 20), false},
      {"junk past the ninth line", "en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\n" + std::string(1 << 20, '\0'), false},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    folders_.WritePrefFile(c.content);
    Startup::LateStartup();
    bool refused = false;
    try {
      app().Event_Open();
    } catch (const fw::IOException&) {
      refused = true;
    }
    EXPECT_EQ(refused, c.refused);
    if (refused) {
      EXPECT_EQ(app().SelectedColor, "Black");
    }
    app().Event_Close();
    std::vector<std::string> lines = Lines(ReadFile(folders_.PrefFilePath()));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_TRUE(lines[2] == "0" || lines[2] == "1");
    EXPECT_EQ(lines[3], "900");
    EXPECT_EQ(lines[4], "1440");
    EXPECT_TRUE(lines[8] == "0" || lines[8] == "1");
    for (const std::string& line : lines) {
      EXPECT_LE(line.size(), PrefFileMaxBytes);
      EXPECT_EQ(line.find('\0'), std::string::npos);
    }
  }
}

}  // namespace
