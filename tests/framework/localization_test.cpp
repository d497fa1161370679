#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "FolderItem.h"
#include "ScratchFolder.h"
#include "System.h"

namespace fs = std::filesystem;
using fw::System::GetLocalizedString;
using fw::System::UserLanguage;
using fwtest::EnvOverride;

namespace {

using Env = std::optional<std::string>;

// Localisation data of a language code no one else uses, in the resources
// folder beside the test executable; removed again at the end.
class StringsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::read_symlink("/proc/self/exe").parent_path() / "resources";
    fs::create_directories(folder_);
    code_ = "zz" + std::to_string(::getpid()) + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override { fs::remove(Path()); }
  std::string Path() const { return (folder_ / (code_ + ".strings")).string(); }
  void Write(const std::string& content) const { fwtest::WriteFile(Path(), content); }

  fs::path folder_;
  std::string code_;
};

}  // namespace

TEST(UserLanguage, ComesFromTheFirstLocaleVariableSet) {
  struct Case {
    Env all, messages, lang;
    const char* language;
  } cases[] = {
      {"ja_JP.UTF-8", "fr_FR", "de_DE", "ja"},
      {"", "fr_FR.UTF-8", "de_DE", "fr"},
      {std::nullopt, std::nullopt, "ja_JP.UTF-8", "ja"},
      {std::nullopt, std::nullopt, "sr@latin", "sr"},
      {std::nullopt, std::nullopt, "ja", "ja"},
      {"C", "", "ja_JP.UTF-8", "en"},
      {"POSIX", "", "", "en"},
      {"C.UTF-8", "", "", "en"},
      {std::nullopt, std::nullopt, std::nullopt, "en"},
      {"", "", "", "en"},
  };
  EnvOverride language("LANGUAGE", std::nullopt);
  for (const auto& c : cases) {
    EnvOverride all("LC_ALL", c.all), messages("LC_MESSAGES", c.messages), lang("LANG", c.lang);
    EXPECT_EQ(UserLanguage(), c.language) << c.all.value_or("-") << " " << c.messages.value_or("-") << " "
                                          << c.lang.value_or("-");
  }
}

// LANGUAGE, a list of preferences, goes before the locale as in gettext:
// its first entry with texts (English is the program's own, Japanese is in
// the bundle) wins, and it counts for nothing under the C or POSIX locale.
TEST(UserLanguage, LanguageListComesFirstUnlessTheLocaleIsC) {
  struct Case {
    Env language, all, lang;
    const char* expected;
  } cases[] = {
      {"en_US:en", std::nullopt, "ja_JP.UTF-8", "en"},
      {"ja", std::nullopt, "en_US.UTF-8", "ja"},
      {"fr:ja_JP", std::nullopt, "en_US.UTF-8", "ja"},
      {"::ja", std::nullopt, "en_US.UTF-8", "ja"},
      {"fr:de", std::nullopt, "ja_JP.UTF-8", "ja"},
      {"", std::nullopt, "ja_JP.UTF-8", "ja"},
      {"C:ja", std::nullopt, "ja_JP.UTF-8", "en"},
      {"en", "ja_JP.UTF-8", "de_DE", "en"},
      {"ja", std::nullopt, "C", "en"},
      {"ja", std::nullopt, "C.UTF-8", "en"},
      {"ja", "POSIX", "en_US.UTF-8", "en"},
      {"ja", std::nullopt, std::nullopt, "en"},
  };
  EnvOverride messages("LC_MESSAGES", std::nullopt);
  for (const auto& c : cases) {
    EnvOverride language("LANGUAGE", c.language), all("LC_ALL", c.all), lang("LANG", c.lang);
    EXPECT_EQ(UserLanguage(), c.expected) << c.language.value_or("-") << " " << c.all.value_or("-") << " "
                                          << c.lang.value_or("-");
  }
}

TEST_F(StringsFile, ReadsKeysAndTextsOfItsFormat) {
  Write(
      "\xEF\xBB\xBF# Japanese texts\n"
      "App.kFileQuit = 終了\r\n"
      "\n"
      "   # indented comment = not a key\n"
      "App.kViewMenu=表示\n"
      "App.Language   =   ja  \n"
      "App.kEquation = a = b\n"
      "a line without an equals sign\n"
      " = no key\n");
  struct Case {
    const char* key;
    const char* text;
  } cases[] = {
      {"App.kFileQuit", "終了"},          {"App.kViewMenu", "表示"},
      {"App.Language", "ja"},             {"App.kEquation", "a = b"},
      {"# indented comment", "default"},  {"a line without an equals sign", "default"},
      {"App.kNotInTheFile", "default"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetLocalizedString(c.key, "default", code_), c.text) << c.key;
}

TEST_F(StringsFile, TheEmptyCodeAsksForTheUsersLanguage) {
  Write("App.Language = " + code_ + "\n");
  EnvOverride all("LC_ALL", code_ + "_XX.UTF-8");
  EXPECT_EQ(GetLocalizedString("App.Language", "en", ""), code_);
  EXPECT_EQ(GetLocalizedString("App.Language", "en", "en-nothing-here"), "en");
}

TEST_F(StringsFile, LoadsEachLanguageOnce) {
  Write("App.kEditCopy = first\n");
  EXPECT_EQ(GetLocalizedString("App.kEditCopy", "Copy", code_), "first");
  Write("App.kEditCopy = second\n");
  EXPECT_EQ(GetLocalizedString("App.kEditCopy", "Copy", code_), "first");
}

TEST_F(StringsFile, MissingOrDamagedDataGivesTheDefault) {
  EXPECT_EQ(GetLocalizedString("App.kEditCopy", "Copy", code_ + "-missing"), "Copy");
  Write(std::string("\0\xff\xfe garbage\n\n", 13) + std::string(200000, '=') + "\n");
  EXPECT_EQ(GetLocalizedString("App.kEditCopy", "Copy", code_), "Copy");
}

TEST_F(StringsFile, ALanguageCodeNeverReachesOutsideTheResources) {
  Write("App.kEditCopy = reached\n");
  for (const std::string& code : {"../resources/" + code_, "./" + code_, std::string("..")})
    EXPECT_EQ(GetLocalizedString("App.kEditCopy", "Copy", code), "Copy") << code;
}

TEST_F(StringsFile, TheResourcesFolderIsBesideTheExecutable) {
  auto resources = fw::GetApplicationBundleResources();
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(fs::path(resources->NativePath()), folder_);
}
