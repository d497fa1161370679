// The preferences file as users keep it, with the built program under
// openbox: what cannot be a preferences file never holds start-up up and is
// left as it was, and a file kept behind a link stays behind it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Program.h"

namespace {

namespace fs = std::filesystem;

// The file type bits of what stands at path itself, links not followed.
mode_t TypeAt(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// A FIFO froze start-up and a link to /dev/zero spun for good; now each is
// refused with one line at start that says so, and kept at quit.
TEST(PrefsE2E, AFifoOrADeviceAtThePreferencesPathNeitherBlocksNorIsReplaced) {
  for (bool fifo : {true, false}) {
    SCOPED_TRACE(fifo ? "FIFO" : "link to /dev/zero");
    e2e::XvfbServer x(800, 600);
    e2e::Program p(x);
    fs::create_directories(fs::path(p.PrefFile()).parent_path());
    ASSERT_EQ(fifo ? ::mkfifo(p.PrefFile().c_str(), 0600) : ::symlink("/dev/zero", p.PrefFile().c_str()), 0);
    p.Start();
    ASSERT_NE(p.WaitForWindow(), "") << p.Log();
    EXPECT_EQ(p.Quit(), 0) << p.Log();
    EXPECT_EQ(TypeAt(p.PrefFile()), fifo ? S_IFIFO : S_IFLNK);
    const std::string log = p.Log();
    EXPECT_NE(log.find("not a regular file"), std::string::npos) << log;
    EXPECT_NE(log.find("not saved at quit"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  }
}

// Dotfile managers keep the file elsewhere behind a link: the settings go to
// the file it leads to, and the link stays.
TEST(PrefsE2E, APreferencesFileBehindALinkStaysBehindIt) {
  e2e::XvfbServer x(800, 600);
  e2e::Program p(x);
  const std::string dotfile = p.Dir() / "dotfiles/Tintbeacon.pref";
  fs::create_directories(p.Dir() / "dotfiles");
  std::ofstream(dotfile) << "ja\nRed\n1\n600\n800\n40\n50\nHLS\n0\n";
  fs::create_directories(fs::path(p.PrefFile()).parent_path());
  fs::create_symlink("../../dotfiles/Tintbeacon.pref", p.PrefFile());
  p.Start();
  ASSERT_NE(p.WaitForWindow(), "") << p.Log();
  EXPECT_EQ(p.Quit(), 0) << p.Log();
  EXPECT_EQ(TypeAt(p.PrefFile()), S_IFLNK);
  std::vector<std::string> lines = p.PrefLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "ja");
  EXPECT_EQ(lines[1], "Red");
  EXPECT_EQ(lines[7], "HLS");
}

}  // namespace
