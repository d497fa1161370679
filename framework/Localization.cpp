// The localised-string service: texts of the bundle's <lang>.strings files.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Diagnostics.h"
#include "Exceptions.h"
#include "FolderItem.h"
#include "System.h"
#include "TextStreams.h"

namespace fw {

namespace {

using Table = std::map<std::string, std::string>;

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r";
  auto first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A language code names a file of the resources folder, so it never
// reaches outside it.
bool UsableCode(const std::string& language) {
  return !language.empty() && language != "." && language != ".." && language.find('/') == std::string::npos &&
         language.find('\0') == std::string::npos;
}

// The bundle's texts are ours and small; a file far larger is not one of them.
constexpr size_t kMaxStringsBytes = 64 * 1024;

Table Load(const std::string& language) {
  Table table;
  auto resources = GetApplicationBundleResources();
  if (!resources || !UsableCode(language)) return table;
  auto file = resources->Child(language + ".strings");
  if (!file || !file->Exists()) return table;
  try {
    auto stream = TextInputStream::Open(*file, kMaxStringsBytes);
    for (int number = 1; !stream->EndOfFile(); ++number) {
      std::string line = stream->ReadLine();
      if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      std::string content = Trimmed(line);
      if (content.empty() || content.front() == '#') continue;
      auto equals = content.find('=');
      std::string key = equals == std::string::npos ? "" : Trimmed(content.substr(0, equals));
      if (key.empty()) {
        Diagnose(file->NativePath() + " line " + std::to_string(number) + " is not \"key = text\"; ignored");
        continue;
      }
      table[key] = Trimmed(content.substr(equals + 1));
    }
  } catch (const IOException& e) {
    Diagnose("localisation data " + file->NativePath() + ": " + e.what());
  }
  return table;
}

const Table& TableFor(const std::string& language) {
  static std::map<std::string, Table> loaded;
  auto found = loaded.find(language);
  if (found == loaded.end()) found = loaded.emplace(language, Load(language)).first;
  return found->second;
}

// "ja_JP.UTF-8" gives "ja", "sr@latin" "sr".
std::string LanguageCode(const std::string& locale) { return locale.substr(0, locale.find_first_of("_.@")); }

// A language there are texts for: English is the program's own.
bool HasTexts(const std::string& code) { return code == "en" || !TableFor(code).empty(); }

}  // namespace

std::string System::GetLocalizedString(const std::string& key, const std::string& defaultText,
                                       const std::string& language) {
  const Table& table = TableFor(language.empty() ? UserLanguage() : language);
  auto found = table.find(key);
  return found == table.end() ? defaultText : found->second;
}

// As gettext: LANGUAGE, a ":"-separated list of preferences, comes first
// unless the locale is C or POSIX; its first entry with texts wins. Then the
// locale itself: LC_ALL, LC_MESSAGES, LANG.
std::string System::UserLanguage() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  std::string code = LanguageCode(locale);
  if (code.empty() || code == "C" || code == "POSIX") return "en";
  if (const char* list = std::getenv("LANGUAGE")) {
    std::string entries = list;
    for (size_t start = 0; start <= entries.size();) {
      size_t colon = entries.find(':', start);
      if (colon == std::string::npos) colon = entries.size();
      std::string entry = LanguageCode(entries.substr(start, colon - start));
      if (entry == "C" || entry == "POSIX") return "en";
      if (!entry.empty() && HasTexts(entry)) return entry;
      start = colon + 1;
    }
  }
  return code;
}

}  // namespace fw
