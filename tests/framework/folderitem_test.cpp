#include "FolderItem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "Diagnostics.h"
#include "ErrnoOf.h"
#include "Exceptions.h"
#include "ScratchFolder.h"
#include "Shell.h"

namespace fs = std::filesystem;
using fw::FolderItem;
using fwtest::ErrnoOf;
using fwtest::ScratchFolder;

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st.st_mode & 07777;
}

}  // namespace

TEST(FolderItemChild, RefusesNamesThatLeaveTheFolder) {
  FolderItem folder("/tmp/x");
  for (const std::string& name : {std::string(""), std::string("."), std::string(".."), std::string("a/b"),
                                  std::string("/"), std::string("../etc"), std::string("a\0b", 3)})
    EXPECT_EQ(folder.Child(name), nullptr) << "name: " << name;
}

TEST(FolderItemChild, TakesAnyOtherNameAsOneEntry) {
  for (const char* name : {"a", "...", ".hidden", "with space", "it's", "$(x)", "色"}) {
    auto child = FolderItem("/tmp/x").Child(name);
    ASSERT_NE(child, nullptr) << name;
    EXPECT_EQ(child->NativePath(), std::string("/tmp/x/") + name);
    EXPECT_EQ(child->Name(), name);
  }
  EXPECT_EQ(FolderItem("/tmp/x/").Child("a")->NativePath(), "/tmp/x/a");
}

TEST(FolderItemKinds, LinksAreTakenAsThemselves) {
  ScratchFolder s;
  fs::create_directory(s / "folder");
  fwtest::WriteFile(s / "file", "x");
  fs::create_directory_symlink(s / "folder", s / "link-to-folder");
  fs::create_symlink(s / "file", s / "link-to-file");
  fs::create_symlink(s / "gone", s / "dangling");
  struct Case {
    const char* name;
    bool exists, directory, alias;
  } cases[] = {
      {"file", true, false, false},          {"folder", true, true, false},
      {"link-to-folder", true, false, true}, {"link-to-file", true, false, true},
      {"dangling", true, false, true},       {"missing", false, false, false},
  };
  for (const auto& c : cases) {
    FolderItem item(s / c.name);
    EXPECT_EQ(item.Exists(), c.exists) << c.name;
    EXPECT_EQ(item.Directory(), c.directory) << c.name;
    EXPECT_EQ(item.Alias(), c.alias) << c.name;
  }
}

TEST(FolderItemEntries, TrueItemGoesInNameOrderAndEndsWithNil) {
  ScratchFolder s;
  for (const char* name : {"b", "a", "C", "10", "2"}) fwtest::WriteFile(s / name, "");
  fs::create_directory(s / "d");
  fs::create_symlink(s / "nowhere", s / "e");
  FolderItem folder(s.Path());
  std::vector<std::string> expected = {"10", "2", "C", "a", "b", "d", "e"};
  ASSERT_EQ(folder.Count(), 7);
  for (int i = 1; i <= 7; ++i) {
    auto item = folder.TrueItem(i);
    ASSERT_NE(item, nullptr) << i;
    EXPECT_EQ(item->Name(), expected[i - 1]);
  }
  EXPECT_EQ(folder.TrueItem(0), nullptr);
  EXPECT_EQ(folder.TrueItem(-1), nullptr);
  EXPECT_EQ(folder.TrueItem(8), nullptr);
}

TEST(FolderItemEntries, CountIsZeroForWhatIsNotARealFolder) {
  ScratchFolder s;
  fs::create_directory(s / "full");
  fwtest::WriteFile(s / "full/x", "");
  fwtest::WriteFile(s / "file", "");
  fs::create_directory_symlink(s / "full", s / "link");
  for (const char* name : {"file", "link", "missing"}) {
    EXPECT_EQ(FolderItem(s / name).Count(), 0) << name;
    EXPECT_EQ(FolderItem(s / name).TrueItem(1), nullptr) << name;
  }
}

TEST(FolderItemDelete, RemovesALinkNeverWhatItPointsAt) {
  ScratchFolder s;
  fs::create_directory(s / "kept");
  fwtest::WriteFile(s / "kept/precious", "data");
  fs::create_directory_symlink(s / "kept", s / "link");
  FolderItem(s / "link").Delete();
  EXPECT_FALSE(fs::exists(fs::symlink_status(s / "link")));
  EXPECT_EQ(fwtest::ReadFile(s / "kept/precious"), "data");

  fs::create_symlink(s / "gone", s / "dangling");
  FolderItem(s / "dangling").Delete();
  EXPECT_FALSE(fs::exists(fs::symlink_status(s / "dangling")));
}

TEST(FolderItemDelete, RemovesFilesAndEmptyFoldersOnly) {
  ScratchFolder s;
  fwtest::WriteFile(s / "file", "");
  fs::create_directory(s / "empty");
  fs::create_directory(s / "full");
  fwtest::WriteFile(s / "full/x", "");
  FolderItem(s / "file").Delete();
  FolderItem(s / "empty").Delete();
  EXPECT_FALSE(fs::exists(s / "file"));
  EXPECT_FALSE(fs::exists(s / "empty"));
  EXPECT_EQ(ErrnoOf([&] { FolderItem(s / "full").Delete(); }), ENOTEMPTY);
  EXPECT_TRUE(fs::exists(s / "full/x"));
  EXPECT_EQ(ErrnoOf([&] { FolderItem(s / "missing").Delete(); }), ENOENT);
}

TEST(FolderItemCreate, MakesAPrivateFolderAndReportsFailures) {
  ScratchFolder s;
  FolderItem(s / "new").CreateAsFolder();
  EXPECT_TRUE(FolderItem(s / "new").Directory());
  EXPECT_EQ(ModeOf(s / "new"), 0700u);
  EXPECT_EQ(ErrnoOf([&] { FolderItem(s / "new").CreateAsFolder(); }), EEXIST);
  EXPECT_EQ(ErrnoOf([&] { FolderItem(s / "no/such").CreateAsFolder(); }), ENOENT);
}

TEST(FolderItemMove, TheFileTakesTheDestinationsPlace) {
  ScratchFolder s;
  fwtest::WriteFile(s / "0,0,101,101", "picture");
  FolderItem(s / "0,0,101,101").MoveFileTo(FolderItem(s / "capture-square"));
  EXPECT_FALSE(fs::exists(s / "0,0,101,101"));
  EXPECT_EQ(fwtest::ReadFile(s / "capture-square"), "picture");
  EXPECT_EQ(ErrnoOf([&] { FolderItem(s / "missing").MoveFileTo(FolderItem(s / "x")); }), ENOENT);
}

// Each name is created under the scratch folder and entered with
// "cd <ShellPath>; pwd": the shell must land in exactly that folder, and
// nothing in the name may run (it would touch "pwned" in the scratch folder).
TEST(FolderItemShellPath, NastyPathsAreOneWordThatRunsNothing) {
  ScratchFolder s;
  const std::vector<std::string> names = {
      "with space",      "it's",          "two''quotes", "a\"b",         "$(touch pwned)", "`touch pwned`",
      "a;touch pwned",   "a&&touch pwned", "$HOME",      "back\\slash",   "new\nline",      "*",
      "'; touch pwned '", "a|touch pwned", "tab\there",  "#not a comment", "~",             "a>pwned",
  };
  for (const auto& name : names) {
    std::string path = s / name;
    ASSERT_TRUE(fs::create_directory(path)) << name;
    fw::Shell shell;
    shell.Execute("cd " + FolderItem(s.Path()).ShellPath() + " && cd " + FolderItem(path).ShellPath() + "; pwd");
    EXPECT_EQ(shell.ReadAll(), path + "\n") << name;
    EXPECT_FALSE(fs::exists(s / "pwned")) << name;
  }
}

class TemporaryFolder : public ::testing::Test {
 protected:
  void SetUp() override { fw::ResetDiagnostics(); }

  // The folder is a fresh one of ours in TMPDIR: a real folder, 0700, owned
  // by the user, under a name nobody could have guessed.
  void ExpectOwnFolder(const fw::FolderItemPtr& folder) {
    ASSERT_NE(folder, nullptr);
    const fs::path path = folder->NativePath();
    EXPECT_EQ(path.parent_path(), fs::path(s.Path()));
    EXPECT_NE(path, fs::path(predictable));
    EXPECT_EQ(path.filename().string().rfind(std::string(program_invocation_short_name) + "-", 0), 0u) << path;
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
  }

  ScratchFolder s;
  // The name an earlier version used: anyone could make it first.
  std::string predictable = s / (std::string(program_invocation_short_name) + "-" + std::to_string(::geteuid()));
  fwtest::EnvOverride tmpdir{"TMPDIR", s.Path()};
};

TEST_F(TemporaryFolder, UsesAPrivateRuntimeFolder) {
  fs::create_directory(s / "run");
  ::chmod((s / "run").c_str(), 0700);
  fwtest::EnvOverride runtime("XDG_RUNTIME_DIR", s / "run");
  auto folder = fw::SpecialFolder::Temporary();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->NativePath(), s / "run");
}

TEST_F(TemporaryFolder, RefusesAnUnsafeRuntimeFolderForOneOfItsOwn) {
  fs::create_directory(s / "open");
  ::chmod((s / "open").c_str(), 0755);
  fs::create_directory(s / "private");
  ::chmod((s / "private").c_str(), 0700);
  fs::create_directory_symlink(s / "private", s / "link");
  for (const std::string& runtimeDir : {s / "open", s / "link", s / "missing", std::string("relative")}) {
    SCOPED_TRACE(runtimeDir);
    fwtest::EnvOverride runtime("XDG_RUNTIME_DIR", runtimeDir);
    ExpectOwnFolder(fw::SpecialFolder::Temporary());
  }
}

TEST_F(TemporaryFolder, MakesOneFreshPrivateFolderWhateverOthersMadeFirst) {
  fwtest::EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
  ::umask(0);
  // Another user's traps under the name a predictable scheme would pick.
  fs::create_directory(s / "elsewhere");
  ::chmod((s / "elsewhere").c_str(), 0777);
  fs::create_directory_symlink(s / "elsewhere", predictable);
  auto folder = fw::SpecialFolder::Temporary();
  ::umask(022);
  ExpectOwnFolder(folder);
  EXPECT_TRUE(fs::is_empty(s / "elsewhere"));
  EXPECT_EQ(fw::SpecialFolder::Temporary()->NativePath(), folder->NativePath()) << "one folder for the run";

  // Gone, or swapped for a link: a new one is made, never the link followed.
  fs::remove(folder->NativePath());
  fs::create_directory_symlink(s / "elsewhere", folder->NativePath());
  auto again = fw::SpecialFolder::Temporary();
  ExpectOwnFolder(again);
  EXPECT_NE(again->NativePath(), folder->NativePath());
}

// A TMPDIR that cannot hold our folder must not leave the program without
// one: it works in /tmp, says why once, and the folder goes with it.
TEST_F(TemporaryFolder, AnUnusableTmpdirFallsBackToTmp) {
  fwtest::WriteFile(s / "file", "");
  for (const std::string& tmp : {s / "missing", s / "file"}) {
    fw::ResetDiagnostics();
    fwtest::EnvOverride runtime("XDG_RUNTIME_DIR", s / "missing-runtime");
    fwtest::EnvOverride noTmp("TMPDIR", tmp);
    testing::internal::CaptureStderr();
    const fw::FolderItemPtr folder = fw::SpecialFolder::Temporary();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(fw::SpecialFolder::Temporary(), folder);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(folder, nullptr) << tmp;
    const fs::path path = folder->NativePath();
    EXPECT_EQ(path.parent_path(), fs::path("/tmp")) << tmp;
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find(tmp), std::string::npos) << said;
    fw::SpecialFolder::RemoveOwnFolders();
    EXPECT_FALSE(fs::exists(path));
  }
}

TEST_F(TemporaryFolder, RefusesARuntimeFolderOwnedBySomeoneElse) {
  fs::create_directory(s / "run");
  ::chmod((s / "run").c_str(), 0700);
  uid_t stranger = ::geteuid() + 4242;
  if (::chown((s / "run").c_str(), stranger, stranger) != 0) GTEST_SKIP() << "changing a folder's owner needs root";
  fwtest::EnvOverride runtime("XDG_RUNTIME_DIR", s / "run");
  ExpectOwnFolder(fw::SpecialFolder::Temporary());
}

TEST(PreferencesFolder, FollowsXdgConfigHomeElseHome) {
  fwtest::EnvOverride home("HOME", "/home/someone");
  {
    fwtest::EnvOverride config("XDG_CONFIG_HOME", "/elsewhere/config");
    EXPECT_EQ(fw::SpecialFolder::Preferences()->NativePath(), "/elsewhere/config");
  }
  for (auto config : {std::optional<std::string>(), std::optional<std::string>(""),
                      std::optional<std::string>("relative/config")}) {
    fwtest::EnvOverride unset("XDG_CONFIG_HOME", config);
    EXPECT_EQ(fw::SpecialFolder::Preferences()->NativePath(), "/home/someone/.config");
  }
}
