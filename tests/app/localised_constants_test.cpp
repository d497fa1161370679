// The 29 localised constants: English defaults and the Japanese data.
#include <gtest/gtest.h>

#include "AppTestSupport.h"

namespace {

struct Constant {
  const char* name;
  std::string (*text)(const std::string&);
  const char* english;
  const char* japanese;
};

const Constant kConstants[] = {
    {"kFileQuit", App::kFileQuit, "Quit", "終了"},
    {"Language", App::Language, "en", "ja"},
    {"kEditUndo", App::kEditUndo, "Undo", "取り消す"},
    {"kEditCopy", App::kEditCopy, "Copy", "コピー"},
    {"kEditCut", App::kEditCut, "Cut", "カット"},
    {"kEditSelectAll", App::kEditSelectAll, "Select All", "すべてを選択"},
    {"kEditPaste", App::kEditPaste, "Paste", "ペースト"},
    {"kEditClear", App::kEditClear, "Clear", "消去"},
    {"kEditMenu", App::kEditMenu, "Edit", "編集"},
    {"kViewMenu", App::kViewMenu, "View", "表示"},
    {"kViewLanguage", App::kViewLanguage, "Language", "言語"},
    {"kViewLanguageEn", App::kViewLanguageEn, "English", "英語"},
    {"kViewLanguageJa", App::kViewLanguageJa, "Japanese", "日本語"},
    {"kViewLineColor", App::kViewLineColor, "Grid Color", "グリッドの色"},
    {"kViewLineColorBlack", App::kViewLineColorBlack, "Black", "黒"},
    {"kViewLineColorWhite", App::kViewLineColorWhite, "White", "白"},
    {"kViewLineColorRed", App::kViewLineColorRed, "Red", "赤"},
    {"kViewLineColorGreen", App::kViewLineColorGreen, "Green", "緑"},
    {"kViewLineColorBlue", App::kViewLineColorBlue, "Blue", "青"},
    {"kViewMouseLocation", App::kViewMouseLocation, "View Mouse Location", "マウスの位置を表示"},
    {"kViewWindowMinimize", App::kViewWindowMinimize, "Minimize Window", "ウインドウをしまう"},
    {"kAppVersion", App::kAppVersion, "0.3.0", "0.3.0"},
    {"kVersion", App::kVersion, "version", "バージョン"},
    {"kAboutTintbeacon", App::kAboutTintbeacon, "About Tintbeacon", "Tintbeaconについて"},
    {"kViewLineColorNone", App::kViewLineColorNone, "None", "なし"},
    {"kViewMode", App::kViewMode, "Mode", "モード"},
    {"kEditSpeech", App::kEditSpeech, "Speech", "スピーチ"},
    {"kEditStartSpeaking", App::kEditStartSpeaking, "Start Speaking", "読み上げを開始"},
    {"kEditStopSpeaking", App::kEditStopSpeaking, "Stop Speaking", "読み上げを停止"},
};

TEST(LocalisedConstants, EnglishDefaultsWithoutLocalisationData) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt), lang("LANG", "C");
  for (const Constant& c : kConstants) EXPECT_EQ(c.text(""), c.english) << c.name;
}

// A Japanese text found means the constant asked under the key "App." + its
// name, the key the data file uses.
TEST(LocalisedConstants, JapaneseFromTheUsersLanguage) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt),
      lang("LANG", "ja_JP.UTF-8"), language("LANGUAGE", std::nullopt);
  for (const Constant& c : kConstants) EXPECT_EQ(c.text(""), c.japanese) << c.name;
}

TEST(LocalisedConstants, AnExplicitCodeWinsOverTheEnvironment) {
  apptest::EnvOverride all("LC_ALL", "ja_JP.UTF-8");
  EXPECT_EQ(App::kEditMenu("en"), "Edit");
  EXPECT_EQ(App::kEditMenu(""), "編集");
}

}  // namespace
