#include "TextStreams.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <vector>

#include "ErrnoOf.h"
#include "Exceptions.h"
#include "ScratchFolder.h"
#include "support/OrdinaryUser.h"

namespace fs = std::filesystem;
using fw::FolderItem;
using fw::TextInputStream;
using fw::TextOutputStream;
using fwtest::ErrnoOf;
using fwtest::ScratchFolder;

namespace {

constexpr size_t kLimit = 4096;

std::vector<std::string> ReadAllLines(const std::string& path) {
  auto in = TextInputStream::Open(FolderItem(path), kLimit);
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
  std::sort(names.begin(), names.end());
  return names;
}

using Lines = std::vector<std::string>;

// A file of size bytes that takes no room: text, then a hole of NUL bytes.
void SparseFile(const std::string& path, const std::string& text, off_t size) {
  fwtest::WriteFile(path, text);
  ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

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
      {"UTF-8", "\xe8\xb5\xa4\n\xf0\x9f\x8e\xa8\n", {"赤", "\xf0\x9f\x8e\xa8"}},
      {"exactly the limit", std::string(kLimit - 1, 'x') + "\n", {std::string(kLimit - 1, 'x')}},
      {"exactly the limit, no line end", std::string(kLimit, 'x'), {std::string(kLimit, 'x')}},
  };
  for (const auto& c : cases) {
    ScratchFolder s;
    fwtest::WriteFile(s / "f", c.content);
    EXPECT_EQ(ReadAllLines(s / "f"), c.lines) << c.label;
  }
}

// A line that is not text, or runs past the limit, makes ReadLine fail:
// the lines before it still read, nothing past the limit is read.
TEST(TextInputStream, ALineThatIsNoTextFails) {
  struct Case {
    const char* label;
    std::string content;
    Lines before;
    int error;
  } cases[] = {
      {"NUL byte", std::string("ok\na\0b\n", 7), {"ok"}, EILSEQ},
      {"NUL bytes only", std::string(64, '\0'), {}, EILSEQ},
      {"invalid UTF-8", "ok\n\xff\xfe\n", {"ok"}, EILSEQ},
      {"line past the limit", "ok\n" + std::string(kLimit, 'x') + "\n", {"ok"}, EFBIG},
      {"limit ends inside a line", std::string(kLimit, 'x') + "y", {}, EFBIG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchFolder s;
    fwtest::WriteFile(s / "f", c.content);
    auto in = TextInputStream::Open(FolderItem(s / "f"), kLimit);
    for (const std::string& line : c.before) EXPECT_EQ(in->ReadLine(), line);
    EXPECT_FALSE(in->EndOfFile());
    EXPECT_EQ(ErrnoOf([&] { in->ReadLine(); }), c.error);
  }
}

// ReadTextLine goes on past a damaged line: each line is text or says why
// it is not, and every line past the limit is damaged, never taken as empty.
TEST(TextInputStream, ADamagedLineCostsOnlyItself) {
  struct Case {
    const char* label;
    std::string content;
    std::vector<std::pair<std::string, int>> lines;  // text, error number
  } cases[] = {
      {"NUL byte, then text", std::string("ja\nR\0ed\n1\n", 9), {{"ja", 0}, {"", EILSEQ}, {"1", 0}}},
      {"not UTF-8, CRLF", "\xc3\x28\r\nRed\r\n", {{"", EILSEQ}, {"Red", 0}}},
      {"a line through the limit", "ja\n" + std::string(kLimit, 'x') + "\nRed\n",
       {{"ja", 0}, {"", EFBIG}, {"", EFBIG}, {"", EFBIG}}},
      {"the limit falls on a line end", std::string(kLimit - 1, 'x') + "\nRed\n",
       {{std::string(kLimit - 1, 'x'), 0}, {"", EFBIG}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchFolder s;
    fwtest::WriteFile(s / "f", c.content);
    auto in = TextInputStream::Open(FolderItem(s / "f"), kLimit);
    for (const auto& [text, error] : c.lines) {
      fw::TextLine line = in->ReadTextLine();
      EXPECT_EQ(line.text, text);
      EXPECT_EQ(line.errorNumber, error);
      EXPECT_EQ(line.damage.empty(), error == 0) << line.damage;
    }
  }
}

// Only well-formed UTF-8 is text: the edges of each sequence length.
TEST(TextInputStream, UTF8IsCheckedStrictly) {
  struct Case {
    const char* label;
    std::string bytes;
    bool text;
  } cases[] = {
      {"ASCII", "Red", true},
      {"U+0080", "\xc2\x80", true},
      {"U+0800", "\xe0\xa0\x80", true},
      {"U+D7FF", "\xed\x9f\xbf", true},
      {"U+E000", "\xee\x80\x80", true},
      {"U+10000", "\xf0\x90\x80\x80", true},
      {"U+10FFFF", "\xf4\x8f\xbf\xbf", true},
      {"stray continuation byte", "a\x80", false},
      {"overlong 2 bytes", "\xc0\x80", false},
      {"overlong 3 bytes", "\xe0\x9f\xbf", false},
      {"overlong 4 bytes", "\xf0\x8f\xbf\xbf", false},
      {"surrogate", "\xed\xa0\x80", false},
      {"past U+10FFFF", "\xf4\x90\x80\x80", false},
      {"F5 lead byte", "\xf5\x80\x80\x80", false},
      {"cut short at the end", "ok\xe2\x82", false},
      {"cut short by ASCII", "\xe2\x82z", false},
      {"Latin-1", "caf\xe9", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchFolder s;
    fwtest::WriteFile(s / "f", c.bytes + "\n");
    fw::TextLine line = TextInputStream::Open(FolderItem(s / "f"), kLimit)->ReadTextLine();
    EXPECT_EQ(!line.Damaged(), c.text);
    EXPECT_EQ(line.text, c.text ? c.bytes : "");
  }
}

// Whatever the size, only the limit is read: a 2 GB file with good lines at
// its head reads at once, and one with NUL bytes at its head fails at once.
TEST(TextInputStream, AHugeFileCostsNoMoreThanTheLimit) {
  ScratchFolder s;
  SparseFile(s / "good-head", "ja\nRed\n", off_t(2) << 30);
  auto in = TextInputStream::Open(FolderItem(s / "good-head"), kLimit);
  EXPECT_EQ(in->ReadLine(), "ja");
  EXPECT_EQ(in->ReadLine(), "Red");
  EXPECT_EQ(ErrnoOf([&] { in->ReadLine(); }), EFBIG);

  SparseFile(s / "holes", "", off_t(2) << 30);
  in = TextInputStream::Open(FolderItem(s / "holes"), kLimit);
  EXPECT_EQ(ErrnoOf([&] { in->ReadLine(); }), EFBIG);
}

// Only a regular file is opened, and opening never waits: a FIFO without a
// writer, a link to a device and a folder are refused at once.
TEST(TextInputStream, OpenRefusesWhatIsNoRegularFile) {
  ScratchFolder s;
  ASSERT_EQ(::mkfifo((s / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", s / "zero");
  fs::create_symlink("fifo", s / "link-to-fifo");
  ::alarm(30);  // a blocking open ends the run instead of hanging it
  struct Case {
    const char* name;
    int error;
  } cases[] = {{"fifo", EINVAL}, {"zero", EINVAL}, {"link-to-fifo", EINVAL}, {"", EISDIR}, {"missing", ENOENT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrnoOf([&] { TextInputStream::Open(FolderItem(s / c.name), kLimit); }), c.error);
  }
  ::alarm(0);
}

TEST(IOException, SaysTheSystemsWordsAndTheNumber) {
  ScratchFolder s;
  try {
    TextInputStream::Open(FolderItem(s / "missing"), kLimit);
    ADD_FAILURE() << "no exception";
  } catch (const fw::IOException& e) {
    EXPECT_STREQ(e.what(), ("cannot open " + (s / "missing") + ": No such file or directory (2)").c_str());
  }
  EXPECT_STREQ(fw::IOException("cannot create x", EACCES).what(), "cannot create x: Permission denied (13)");
  EXPECT_STREQ(fw::IOException("cannot open x (a FIFO, not a regular file)", EINVAL).what(),
               "cannot open x (a FIFO, not a regular file): Invalid argument (22)");
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

// Dotfile managers keep the file elsewhere behind a link: the file it leads
// to is replaced, through a chain of links, relative or absolute, and keeps
// its permission bits; the links stay.
TEST(TextOutputStream, ALinkInTheTargetsPlaceIsFollowedAndKept) {
  ScratchFolder s;
  fs::create_directory(s / "dotfiles");
  fwtest::WriteFile(s / "dotfiles/pref", "old\n");
  ::chmod((s / "dotfiles/pref").c_str(), 0640);
  fs::create_directory(s / "prefs");
  fs::create_symlink("../dotfiles/pref", s / "prefs/middle");
  fs::create_symlink(s / "prefs/middle", s / "prefs/pref");

  auto out = TextOutputStream::Create(FolderItem(s / "prefs/pref"));
  out->WriteLine("new");
  out->Close();

  EXPECT_EQ(fs::read_symlink(s / "prefs/pref"), s / "prefs/middle");
  EXPECT_EQ(fs::read_symlink(s / "prefs/middle"), "../dotfiles/pref");
  EXPECT_EQ(fwtest::ReadFile(s / "dotfiles/pref"), "new\n");
  struct stat st {};
  ASSERT_EQ(::stat((s / "dotfiles/pref").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(s / "dotfiles"), Lines{"pref"});
  EXPECT_EQ(Entries(s / "prefs"), (Lines{"middle", "pref"}));
}

TEST(TextOutputStream, ALinkToNothingYetCreatesTheFileItLeadsTo) {
  ScratchFolder s;
  fs::create_symlink("real", s / "pref");
  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  out->WriteLine("x");
  out->Close();
  EXPECT_TRUE(fs::is_symlink(s / "pref"));
  EXPECT_EQ(fwtest::ReadFile(s / "real"), "x\n");
}

// Something other than a regular file in the target's place, directly or
// behind a link, is never replaced.
TEST(TextOutputStream, CreateRefusesToReplaceWhatIsNoRegularFile) {
  ScratchFolder s;
  ASSERT_EQ(::mkfifo((s / "fifo").c_str(), 0600), 0);
  fs::create_directory(s / "folder");
  fs::create_symlink("fifo", s / "link-to-fifo");
  fs::create_symlink("folder", s / "link-to-folder");
  fs::create_symlink("loop", s / "loop");
  struct Case {
    const char* name;
    int error;
  } cases[] = {{"fifo", EINVAL}, {"link-to-fifo", EINVAL}, {"folder", EISDIR}, {"link-to-folder", EISDIR},
               {"loop", ELOOP}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / c.name)); }), c.error);
  }
  EXPECT_EQ(Entries(s.Path()), (Lines{"fifo", "folder", "link-to-fifo", "link-to-folder", "loop"}));
  EXPECT_TRUE(fs::is_fifo(s / "fifo"));
}

TEST(TextOutputStream, CreateFailuresCarryTheErrorNumber) {
  ScratchFolder s;
  fwtest::WriteFile(s / "a-file", "");
  EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / "missing/pref")); }), ENOENT);
  EXPECT_EQ(ErrnoOf([&] { TextOutputStream::Create(FolderItem(s / "a-file/pref")); }), ENOTDIR);
}

// A file size limit makes writes fail the way a full disk does, for any
// user; a file with other hard links, written in place, is no less safe.
TEST(TextOutputStream, AFailedWriteLeavesTheOldFileWhole) {
  for (bool hardLinked : {false, true}) {
    SCOPED_TRACE(hardLinked ? "hard-linked" : "one name");
    ScratchFolder s;
    std::string old = "ja\nRed\n1\n900\n1440\n-25\n10\nHLS\n1\n";
    fwtest::WriteFile(s / "pref", old);
    if (hardLinked) fs::create_hard_link(s / "pref", s / "other");
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
    EXPECT_EQ(Entries(s.Path()), hardLinked ? (Lines{"other", "pref"}) : Lines{"pref"});
  }
}

// A file with a second name (a hard link, as some backup and dotfile tools
// make) stays one file with both names: it is overwritten in place, keeps
// its inode and mode, and is cut to the new length; no temporary is left.
TEST(TextOutputStream, AHardLinkedFileIsOverwrittenInPlace) {
  ScratchFolder s;
  fs::create_directory(s / "elsewhere");
  fwtest::WriteFile(s / "pref", "a much longer old text\nof two lines\n");
  ::chmod((s / "pref").c_str(), 0640);
  fs::create_hard_link(s / "pref", s / "elsewhere/pref");
  struct stat before {};
  ASSERT_EQ(::stat((s / "pref").c_str(), &before), 0);

  auto out = TextOutputStream::Create(FolderItem(s / "pref"));
  out->WriteLine("new");
  out->Close();

  struct stat after {};
  ASSERT_EQ(::stat((s / "pref").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(fwtest::ReadFile(s / "pref"), "new\n");
  EXPECT_EQ(fwtest::ReadFile(s / "elsewhere/pref"), "new\n");
  EXPECT_EQ(Entries(s.Path()), (Lines{"elsewhere", "pref"}));
}

// A file the process may not write in place is not replaced either: a
// read-only file, another owner's file, a file in a read-only folder. Run as
// an ordinary user, since root passes every permission check.
TEST(TextOutputStream, AFileThatCannotBeWrittenIsKept) {
  struct Case {
    const char* label;
    mode_t folderMode, fileMode;
    bool ownedByRoot;
  } cases[] = {
      {"read-only file", 0700, 0444, false},
      {"another owner's file", 0700, 0644, true},
      {"read-only folder", 0500, 0644, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.ownedByRoot && ::geteuid() != 0) continue;  // only root can give a file away
    ScratchFolder s;
    ::chmod(s.Path().c_str(), 0755);
    fs::create_directory(s / "prefs");
    fwtest::WriteFile(s / "prefs/pref", "old\n");
    testfiles::GiveToOrdinaryUser(s / "prefs");
    if (c.ownedByRoot) ::chown((s / "prefs/pref").c_str(), 0, 0);
    ::chmod((s / "prefs/pref").c_str(), c.fileMode);
    ::chmod((s / "prefs").c_str(), c.folderMode);

    std::optional<int> error = testfiles::AsOrdinaryUser([&] {
      return ErrnoOf([&] {
        auto out = TextOutputStream::Create(FolderItem(s / "prefs/pref"));
        out->WriteLine("new");
        out->Close();
      });
    });
    if (!error) GTEST_SKIP() << "cannot become an ordinary user";
    EXPECT_EQ(*error, EACCES);
    EXPECT_EQ(fwtest::ReadFile(s / "prefs/pref"), "old\n");
    ::chmod((s / "prefs").c_str(), 0700);
    EXPECT_EQ(Entries(s / "prefs"), Lines{"pref"});
  }
}
