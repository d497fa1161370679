#include "TextStreams.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <vector>

#include "ErrnoOf.h"
#include "Exceptions.h"
#include "ScratchFolder.h"

namespace fs = std::filesystem;
using fw::FolderItem;
using fw::TextInputStream;
using fw::TextOutputStream;
using fwtest::ErrnoOf;
using fwtest::ScratchFolder;

namespace {

std::vector<std::string> ReadAllLines(const std::string& path) {
  auto in = TextInputStream::Open(FolderItem(path));
  std::vector<std::string> lines;
  while (!in->EndOfFile()) lines.push_back(in->ReadLine());
  EXPECT_EQ(in->ReadLine(), "");
  EXPECT_EQ(in->ReadLine(), "");
  in->Close();
  return lines;
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  return names;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextInputStream, DamagedContentReadsWithoutHarm) {
  struct Case {
    const char* label;
    std::string content;
    Lines lines;
  } cases[] = {
      {"empty file", "", {}},
      {"CRLF", "ja\r\nRed\r\n", {"ja", "Red"}},
      {"lone CR kept", "a\rb\n", {"a\rb"}},
      {"no final line end", "a\nb", {"a", "b"}},
      {"empty lines", "\n\r\n\n", {"", "", ""}},
      {"NUL bytes", std::string("a\0b\n\0\n", 6), {std::string("a\0b", 3), std::string("\0", 1)}},
      {"invalid UTF-8", "\xff\xfe\xc3\n\xe8\xb5\xa4\n", {"\xff\xfe\xc3", "赤"}},
  };
  for (const auto& c : cases) {
    ScratchFolder s;
    fwtest::WriteFile(s / "f", c.content);
    EXPECT_EQ(ReadAllLines(s / "f"), c.lines) << c.label;
  }
}

TEST(TextInputStream, AHugeLineIsCutAndTheNextLineStillRead) {
  ScratchFolder s;
  fwtest::WriteFile(s / "f", std::string(10 * 1024 * 1024, 'x') + "\r\nnext\n");
  Lines lines = ReadAllLines(s / "f");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(TextInputStream::MaxLineBytes, 'x'));
  EXPECT_EQ(lines[1], "next");
}

TEST(TextInputStream, OpenFailuresCarryTheErrorNumber) {
  ScratchFolder s;
  EXPECT_EQ(ErrnoOf([&] { TextInputStream::Open(FolderItem(s / "missing")); }), ENOENT);
  EXPECT_EQ(ErrnoOf([&] { TextInputStream::Open(FolderItem(s.Path())); }), EISDIR);
}

TEST(TextOutputStream, WritesLinesThatReadBackExactly) {
  ScratchFolder s;
  Lines lines = {"ja", "", "  spaced  ", "-25", "鮮やかな赤"};
  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  for (const auto& line : lines) out->WriteLine(line);
  out->Close();
  out->Close();
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), "ja\n\n  spaced  \n-25\n鮮やかな赤\n");
  EXPECT_EQ(ReadAllLines(s / "pref"), lines);
  EXPECT_EQ(Entries(s.Path()), Lines{"pref"});
}

TEST(TextOutputStream, TheOldFileStaysWholeUntilClose) {
  ScratchFolder s;
  fwtest::WriteFile(s / "pref", "old\n");
  {
    auto out = TextOutputStream::Create(FolderItem(s / "pref"));
    out->WriteLine("new");
    EXPECT_EQ(fwtest::ReadFile(s / "pref"), "old\n");
  }
  // Dropped without Close: the old file stands and no temporary is left.
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), "old\n");
  EXPECT_EQ(Entries(s.Path()), Lines{"pref"});

  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  out->WriteLine("new");
  out->Close();
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), "new\n");
}

TEST(TextOutputStream, ALinkInTheTargetsPlaceIsReplacedNotFollowed) {
  ScratchFolder s;
  fwtest::WriteFile(s / "elsewhere", "untouched");
  fs::create_symlink(s / "elsewhere", s / "pref");
  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  out->WriteLine("x");
  out->Close();
  EXPECT_FALSE(fs::is_symlink(s / "pref"));
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), "x\n");
  EXPECT_EQ(fwtest::ReadFile(s / "elsewhere"), "untouched");
}

TEST(TextOutputStream, CreateFailuresCarryTheErrorNumber) {
  ScratchFolder s;
  fwtest::WriteFile(s / "a-file", "");
  EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / "missing/pref")); }), ENOENT);
  EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / "a-file/pref")); }), ENOTDIR);
}

TEST(TextOutputStream, AFolderInTheTargetsPlaceFailsAtCloseAndLeavesNoTemporary) {
  ScratchFolder s;
  fs::create_directory(s / "pref");
  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  out->WriteLine("x");
  EXPECT_NE(ErrnoOf([&] { out->Close(); }), 0);
  EXPECT_EQ(Entries(s.Path()), Lines{"pref"});
  EXPECT_TRUE(fs::is_directory(s / "pref"));
}

// A file size limit makes writes fail the way a full disk does, for any user.
TEST(TextOutputStream, AFailedWriteLeavesTheOldFileWhole) {
  ScratchFolder s;
  std::string old = "ja\nRed\n1\n900\n1440\n-25\n10\nHLS\n1\n";
  fwtest::WriteFile(s / "pref", old);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  int err = ErrnoOf([&] {
    auto out = TextOutputStream::Create(FolderItem(s / "pref"));
    for (int i = 0; i < 9; ++i) out->WriteLine("a value longer than the limit");
    out->Close();
  });
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(err, EFBIG);
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), old);
  EXPECT_EQ(Entries(s.Path()), Lines{"pref"});
}

TEST(TextOutputStream, AReadOnlyFolderRefusesAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ScratchFolder s;
  fs::create_directory(s / "prefs");
  fwtest::WriteFile(s / "prefs/pref", "old\n");
  ::chmod((s / "prefs").c_str(), 0500);
  EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / "prefs/pref")); }), EACCES);
  EXPECT_EQ(fwtest::ReadFile(s / "prefs/pref"), "old\n");
}
