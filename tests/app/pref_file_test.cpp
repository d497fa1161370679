// Reading PrefFile at Open and writing it at Close.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "AppTestSupport.h"
#include "framework/Runtime.h"
#include "support/OrdinaryUser.h"

namespace {

using apptest::Lines;
using apptest::ReadFile;
using namespace std::string_literals;

struct Settings {
  std::string lang = "";
  std::string color = "Black";
  bool mouseLoc = false;
  std::string mode = "RGB";
  bool sound = false;
};

// What the program says on stderr: its name, then the text.
std::string Said(const std::string& text) { return std::string(program_invocation_short_name) + ": " + text; }

using Position = std::optional<std::pair<int32_t, int32_t>>;  // top, left; nullopt: not moved

struct OpenCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no PrefFile
  int32_t screenWidth, screenHeight;
  bool mouseLocBefore;  // SelectedMouseLoc before Open: shows "changes nothing"
  Settings expected;
  Position position;
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
    {"other width alone does not", "en\nGreen\n0\n900\n1440\n120\n300\nHLS\n0\n", 1680, 900, false,
     {"en", "Green", false, "HLS", false}, std::nullopt},
    {"other height alone does not", "en\nGreen\n0\n900\n1440\n120\n300\nHLS\n0\n", 1440, 1050, false,
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

class PrefFileTest : public apptest::AppTest {
 protected:
  // The picker window, at a place Open may change.
  Main::Main& PlacedWindow() {
    Startup::LateStartup();
    Main::Main& window = *Main::Main::Instance();
    window.SetTop(44);
    window.SetLeft(55);
    return window;
  }

  // The settings, the speech timer and the window's place after Open.
  void ExpectOpened(const Settings& expected, const Position& position) {
    Main::Main& window = *Main::Main::Instance();
    EXPECT_EQ(app().SelectedLang, expected.lang);
    EXPECT_EQ(app().SelectedColor, expected.color);
    EXPECT_EQ(app().SelectedMouseLoc, expected.mouseLoc);
    EXPECT_EQ(app().ColorMode, expected.mode);
    EXPECT_EQ(app().PlaySound, expected.sound);
    EXPECT_EQ(window.SayColor()->Mode(), expected.sound ? fw::Timer::ModeMultiple : fw::Timer::ModeOff);
    auto [top, left] = position.value_or(std::make_pair(44, 55));
    EXPECT_EQ(window.Top(), top);
    EXPECT_EQ(window.Left(), left);
    // Open places the window itself; the settings follow the window's
    // Moved event, so that a quit right away keeps the place.
    EXPECT_EQ(app().MainTop, top);
    EXPECT_EQ(app().MainLeft, left);
  }
};

TEST_F(PrefFileTest, OpenReadsTheSettings) {
  for (const OpenCase& c : kOpenCases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.file) folders_.WritePrefFile(*c.file);
    backend().SetMainScreen(c.screenWidth, c.screenHeight);
    PlacedWindow();
    app().SelectedMouseLoc = c.mouseLocBefore;

    app().Event_Open();

    ExpectOpened(c.expected, c.position);
  }
}

// A saved place on a monitor that is gone would put the window where nobody
// sees it; a place on a screen that exists is kept to the point. The picker
// window is 201 x 250.
TEST_F(PrefFileTest, APlaceOffEveryScreenComesOntoTheMainScreen) {
  const fw::ScreenRect main{0, 0, 1440, 900}, right{1440, 0, 1280, 1024}, left{-1280, -200, 1280, 1024};
  struct Case {
    const char* name;
    std::vector<fw::ScreenRect> screens;  // the main screen first
    int32_t savedTop, savedLeft, top, left;
  };
  const Case cases[] = {
      {"far right and below", {main}, 5000, 5000, 650, 1239},
      {"far left and above", {main}, -5000, -5000, 0, 0},
      {"partly off the left edge", {main}, 10, -50, 10, -50},
      {"just off the left edge", {main}, 10, -201, 10, 0},
      {"just off the bottom edge", {main}, 900, 300, 650, 300},
      {"on a second screen", {main, right}, 100, 2000, 100, 2000},
      {"on a screen left of the main one", {main, left}, -150, -1000, -150, -1000},
      {"right of the screens", {main, right}, 5000, 5000, 650, 1239},
      {"main screen not at the origin", {{1920, 0, 1440, 900}, {0, 0, 1920, 1080}}, -900, 9000, 0, 3159},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    folders_.WritePrefFile("en\nRed\n0\n900\n1440\n" + std::to_string(c.savedTop) + "\n" +
                           std::to_string(c.savedLeft) + "\nRGB\n0\n");
    backend().SetScreens(c.screens);
    Startup::LateStartup();
    app().Event_Open();
    Main::Main& window = *Main::Main::Instance();
    EXPECT_EQ(window.Top(), c.top);
    EXPECT_EQ(window.Left(), c.left);
    EXPECT_EQ(app().MainTop, c.top);
    EXPECT_EQ(app().MainLeft, c.left);
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

// What cannot be read at all (a FIFO, a device, a folder, a file the user
// may not read) is reported in one line at start-up, at once, and the
// program runs on its defaults; at quit it is left exactly as it was, even
// when it could be written. Run as an ordinary user, since root reads every
// file.
TEST_F(PrefFileTest, AFileThatCannotBeReadIsReportedAndLeftAsItIs) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> make;
  } cases[] = {
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
      {"link to /dev/zero", [](const std::string& p) { apptest::fs::create_symlink("/dev/zero", p); }},
      {"folder", [](const std::string& p) { apptest::fs::create_directory(p); }},
      {"mode 000", [](const std::string& p) {
         apptest::WriteFile(p, "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n1\n");
         ::chmod(p.c_str(), 0);
       }},
      {"write-only", [](const std::string& p) {
         apptest::WriteFile(p, "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n1\n");
         ::chmod(p.c_str(), 0200);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    const std::string path = folders_.PrefFilePath();
    apptest::fs::create_directories(folders_.PrefFolderPath());
    apptest::fs::remove_all(path);
    ::chmod(folders_.Root().c_str(), 0755);
    testfiles::GiveToOrdinaryUser(folders_.Root());
    c.make(path);
    testfiles::GiveToOrdinaryUser(path);
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);
    const std::string content = S_ISREG(before.st_mode) ? ReadFile(path) : "";

    ::alarm(30);  // a start-up that blocks ends the run instead of hanging it
    testing::internal::CaptureStderr();
    std::optional<int> result = testfiles::AsOrdinaryUser([&] {
      fw::Runtime::RunFrameworkInitialization(Startup::LateStartup);
      const bool defaults = app().SelectedLang.empty() && app().SelectedColor == "Black" &&
                            !app().SelectedMouseLoc && app().ColorMode == "RGB" && !app().PlaySound &&
                            app().IsMarverics && PickerWindows().size() == 1;
      app().SelectedColor = "Blue";
      app().Event_Close();
      return defaults ? 0 : 1;
    });
    std::string err = testing::internal::GetCapturedStderr();
    ::alarm(0);
    if (!result) GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(*result, 0) << "not on the defaults after Open";
    EXPECT_EQ(Lines(err).size(), 1u) << err;
    EXPECT_EQ(err.rfind(Said("settings not read, and not saved at quit: cannot open ") + path, 0), 0u) << err;

    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_size, before.st_size);
    if (S_ISREG(after.st_mode)) {
      EXPECT_EQ(ReadFile(path), content);
    }
    EXPECT_EQ(std::distance(apptest::fs::directory_iterator(folders_.PrefFolderPath()), {}), 1);
  }
}

// A file with a second name (a hard link) stays one file: after a quit both
// names hold the new settings.
TEST_F(PrefFileTest, AHardLinkedFileKeepsItsLink) {
  const std::string otherName = folders_.Root() + "/backup.pref";
  folders_.WritePrefFile("en\nRed\n1\n900\n1440\n7\n8\nHLS\n0\n");
  apptest::fs::create_hard_link(folders_.PrefFilePath(), otherName);
  Startup::LateStartup();
  app().Event_Open();
  EXPECT_EQ(app().SelectedColor, "Red");
  app().SelectedColor = "Blue";

  app().Event_Close();

  // The place read back is the window's place, kept.
  const std::string expected = "en\nBlue\n1\n900\n1440\n7\n8\nHLS\n0\n";
  EXPECT_EQ(ReadFile(folders_.PrefFilePath()), expected);
  EXPECT_EQ(ReadFile(otherName), expected);
  EXPECT_EQ(apptest::fs::hard_link_count(folders_.PrefFilePath()), 2u);
  EXPECT_EQ(std::distance(apptest::fs::directory_iterator(folders_.PrefFolderPath()), {}), 1);
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
    EXPECT_EQ(err, Said("settings not saved: cannot create ") + folders_.PrefFilePath() +
                       ": Permission denied (13)\n");
    EXPECT_EQ(ReadFile(folders_.PrefFilePath()), previous);
    EXPECT_EQ(std::distance(apptest::fs::directory_iterator(folders_.PrefFolderPath()), {}), 1);
  }
}

// A damaged line (a NUL byte, bytes that are no UTF-8, a line that runs past
// the first 4 KiB, and every line after it, which is never read) costs only
// itself: its setting keeps its value, the other lines are read, one line on
// stderr names the damage, and the file written at quit holds what was read
// and the session's changes. A missing line is no damage: it reads as empty.
struct DamagedCase {
  const char* name;
  std::string content;
  Settings expected;
  Position position;
  std::string report;                                   // the damage named on stderr; "" for none
};

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(PrefFileTest, DamagedLinesCostOnlyThemselves) {
  const std::string good = "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n1\n";
  const Settings read = {"ja", "Red", true, "HLS", true};
  const auto at = std::make_pair(7, 8);
  const std::string tenMB(10 * 1024 * 1024, '1');
  std::string binary;
  for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
  const std::string past = " runs past the first 4096 bytes";
  const std::string lies = " lies past the first 4096 bytes";

  const DamagedCase cases[] = {
      {"NUL in line 2", "ja\nR\0ed\n1\n900\n1440\n7\n8\nHLS\n1\n"s,
       {"ja", "Black", true, "HLS", true}, at, "line 2 holds a NUL byte"},
      {"NUL in line 9", "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n1\0\n"s,
       {"ja", "Red", true, "HLS", false}, at, "line 9 holds a NUL byte"},
      {"NUL in line 6", "ja\nRed\n1\n900\n1440\n\0""7\n8\nHLS\n1\n"s, read, std::nullopt,
       "line 6 holds a NUL byte"},
      {"invalid UTF-8 in line 1", "\xC3\x28\nRed\n1\n900\n1440\n7\n8\nHLS\n1\n", {"", "Red", true, "HLS", true},
       at, "line 1 is not UTF-8"},
      {"invalid UTF-8 in line 8", "ja\nRed\n1\n900\n1440\n7\n8\nHLS\xFF\n1\n", {"ja", "Red", true, "RGB", true}, at,
       "line 8 is not UTF-8"},
      {"CRLF line ends", "ja\r\nRed\r\n1\r\n900\r\n1440\r\n7\r\n8\r\nHLS\r\n1\r\n", read, at, ""},
      {"a 10 MB line 9", "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n" + tenMB + "\n", {"ja", "Red", true, "HLS", false}, at,
       "line 9" + past},
      {"a 10 MB line 1", tenMB + "\nRed\n1\n900\n1440\n7\n8\nHLS\n1\n", {}, std::nullopt,
       "line 1" + past + ", line 2" + lies + ", line 3" + lies + ", line 4" + lies + ", line 5" + lies +
           ", line 6" + lies + ", line 7" + lies + ", line 8" + lies + ", line 9" + lies},
      {"line 9 missing", "ja\nRed\n1\n900\n1440\n7\n8\nHLS\n", {"ja", "Red", true, "HLS", false}, at, ""},
      // The limit, in literal sizes: 4096 bytes are read, the 4097th is not.
      {"4 KiB, line 9 ends at the limit", std::string(4070, 'j') + good.substr(2),
       {std::string(4070, 'j'), "Red", true, "HLS", true}, at, ""},
      {"4 KiB + 1 byte, the limit inside line 9", std::string(4071, 'j') + good.substr(2),
       {std::string(4071, 'j'), "Red", true, "HLS", false}, at, "line 9" + past},
      {"4 KiB + 1 byte, the limit past line 9", good + std::string(4097 - good.size() - 1, 'x') + "\n", read, at, ""},
      {"junk past the ninth line", good + std::string(1 << 20, '\0'), read, at, ""},
      {"binary bytes", binary + binary, {"", "Black", false, "RGB", false}, std::nullopt,
       "line 1 holds a NUL byte, line 2 holds a NUL byte, line 3 is not UTF-8"},
      {"only carriage returns", Repeat("\r", 1000), {std::string(999, '\r'), "", false, "RGB", false}, std::nullopt,
       ""},
      {"twenty lines", Repeat("1\n", 20), {"1", "1", true, "1", true}, std::nullopt, ""},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    folders_.WritePrefFile(c.content);
    PlacedWindow();

    testing::internal::CaptureStderr();
    app().Event_Open();
    std::string err = testing::internal::GetCapturedStderr();

    ExpectOpened(c.expected, c.position);
    EXPECT_EQ(err, c.report.empty() ? ""
                                    : Said("damaged lines in ") + folders_.PrefFilePath() +
                                          " are not used: " + c.report + "\n");

    // The session moves the window and toggles the position caption.
    app().MainTop = -5;
    app().MainLeft = 17;
    app().SelectedMouseLoc = !app().SelectedMouseLoc;
    app().Event_Close();
    EXPECT_EQ(ReadFile(folders_.PrefFilePath()), c.expected.lang + "\n" + c.expected.color + "\n" +
                                                     (c.expected.mouseLoc ? "0" : "1") + "\n900\n1440\n-5\n17\n" +
                                                     c.expected.mode + "\n" + (c.expected.sound ? "1" : "0") + "\n");
  }
}

}  // namespace
