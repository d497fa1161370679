// The menu tree: names, classes, order, texts and shortcuts.
#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "AppTestSupport.h"

namespace {

enum class Kind { Item, Quit, Application };

struct Expected {
  const char* name;
  Kind kind;
  const char* parent;  // "" for the bar
  const char* english;
  const char* japanese;
  const char* shortcut;  // kNotSet: the builder gives none
};

constexpr const char* kNotSet = nullptr;

// The tree in build order, which is also each item's order among its siblings.
const Expected kTree[] = {
    {"EditMenu", Kind::Item, "", "Edit", "編集", ""},
    {"EditUndo", Kind::Item, "EditMenu", "Undo", "取り消す", "Cmd+Z"},
    {"EditSeparator1", Kind::Item, "EditMenu", "-", "-", kNotSet},
    {"EditCut", Kind::Item, "EditMenu", "Cut", "カット", "Cmd+X"},
    {"EditCopy", Kind::Item, "EditMenu", "Copy", "コピー", "Cmd+C"},
    {"EditPaste", Kind::Item, "EditMenu", "Paste", "ペースト", "Cmd+V"},
    {"EditClear", Kind::Item, "EditMenu", "Clear", "消去", ""},
    {"EditSeparator2", Kind::Item, "EditMenu", "-", "-", kNotSet},
    {"EditSelectAll", Kind::Item, "EditMenu", "Select All", "すべてを選択", "Cmd+A"},
    {"UntitledSeparator1", Kind::Item, "EditMenu", "-", "-", kNotSet},
    {"EditSpeech", Kind::Item, "EditMenu", "Speech", "スピーチ", kNotSet},
    {"EditStartSpeaking", Kind::Item, "EditSpeech", "Start Speaking", "読み上げを開始", ""},
    {"EditStopSpeaking", Kind::Item, "EditSpeech", "Stop Speaking", "読み上げを停止", ""},
    {"FileQuit", Kind::Quit, "EditMenu", "Quit", "終了", "Cmd+Q"},
    {"AboutTintbeacon", Kind::Application, "EditMenu", "About Tintbeacon", "Tintbeaconについて", ""},
    {"View", Kind::Item, "", "View", "表示", ""},
    {"ViewLanguage", Kind::Item, "View", "Language", "言語", kNotSet},
    {"ViewLanguageEn", Kind::Item, "ViewLanguage", "English", "英語", ""},
    {"ViewLanguageJa", Kind::Item, "ViewLanguage", "Japanese", "日本語", ""},
    {"ViewLineColor", Kind::Item, "View", "Grid Color", "グリッドの色", kNotSet},
    {"ViewLineColorNone", Kind::Item, "ViewLineColor", "None", "なし", ""},
    {"ViewLineColorBlack", Kind::Item, "ViewLineColor", "Black", "黒", ""},
    {"ViewLineColorWhite", Kind::Item, "ViewLineColor", "White", "白", ""},
    {"ViewLineColorRed", Kind::Item, "ViewLineColor", "Red", "赤", ""},
    {"ViewLineColorGreen", Kind::Item, "ViewLineColor", "Green", "緑", ""},
    {"ViewLineColorBlue", Kind::Item, "ViewLineColor", "Blue", "青", ""},
    {"ViewMode", Kind::Item, "View", "Mode", "モード", kNotSet},
    {"ViewModeRGB", Kind::Item, "ViewMode", "RGB", "RGB", ""},
    {"ViewModeCMYK", Kind::Item, "ViewMode", "CMYK", "CMYK", ""},
    {"ViewModeHLS", Kind::Item, "ViewMode", "HLS", "HLS", ""},
    {"ViewShowMouseLocation", Kind::Item, "View", "View Mouse Location", "マウスの位置を表示", ""},
    {"UntitledSeparator", Kind::Item, "View", "-", "-", kNotSet},
    {"ViewWindowMinimize", Kind::Item, "View", "Minimize Window", "ウインドウをしまう", "Cmd+m"},
    {"UntitledSeparator0", Kind::Item, "View", "-", "-", kNotSet},
    {"ViewTintbeacon", Kind::Item, "View", "Tintbeacon", "Tintbeacon", "Cmd+Option+m"},
};

struct Visited {
  fw::MenuItem* item;
  fw::MenuItem* parent;
};

// Every item below root, depth first in sibling order.
void Walk(fw::MenuItem& root, std::vector<Visited>& out) {
  for (int i = 0; i < root.Count(); ++i) {
    out.push_back({root.Item(i), &root});
    Walk(*root.Item(i), out);
  }
}

Kind KindOf(const fw::MenuItem& item) {
  if (typeid(item) == typeid(fw::QuitMenuItem)) return Kind::Quit;
  if (typeid(item) == typeid(fw::ApplicationMenuItem)) return Kind::Application;
  EXPECT_EQ(typeid(item), typeid(fw::MenuItem)) << item.Name;
  return Kind::Item;
}

void ExpectTree(bool japanese) {
  MainMenuBar::MainMenuBar bar;
  bar.Constructor();
  std::vector<Visited> visited;
  Walk(bar, visited);
  ASSERT_EQ(visited.size(), std::size(kTree));
  for (size_t i = 0; i < visited.size(); ++i) {
    const Expected& want = kTree[i];
    const fw::MenuItem& item = *visited[i].item;
    SCOPED_TRACE(want.name);
    EXPECT_EQ(item.Name, want.name);
    EXPECT_EQ(KindOf(item), want.kind);
    EXPECT_EQ(visited[i].parent == &bar ? std::string() : visited[i].parent->Name, want.parent);
    EXPECT_EQ(item.Text, japanese ? want.japanese : want.english);
    EXPECT_EQ(item.KeyboardShortcut, want.shortcut ? want.shortcut : "");
    EXPECT_TRUE(item.AutoEnable);
    EXPECT_TRUE(item.Visible);
    EXPECT_FALSE(item.Checked);
    EXPECT_FALSE(item.Enabled);
    EXPECT_EQ(bar.Lookup(want.name), &item);
  }
}

TEST(MainMenuBar, TreeInEnglish) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt), lang("LANG", "C");
  ExpectTree(false);
}

TEST(MainMenuBar, TreeInJapanese) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt),
      lang("LANG", "ja_JP.UTF-8"), language("LANGUAGE", std::nullopt);
  ExpectTree(true);
}

// LANGUAGE comes before the locale, as in every gettext program.
TEST(MainMenuBar, TreeInTheLanguageListsFirstLanguage) {
  apptest::EnvOverride all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt);
  {
    apptest::EnvOverride lang("LANG", "ja_JP.UTF-8"), language("LANGUAGE", "en_US:en");
    ExpectTree(false);
  }
  apptest::EnvOverride lang("LANG", "en_US.UTF-8"), language("LANGUAGE", "ja");
  ExpectTree(true);
}

TEST(MainMenuBar, EveryNameOccursOnce) {
  MainMenuBar::MainMenuBar bar;
  bar.Constructor();
  std::vector<Visited> visited;
  Walk(bar, visited);
  for (const Expected& want : kTree) {
    int found = 0;
    for (const Visited& v : visited) found += v.item->Name == want.name;
    EXPECT_EQ(found, 1) << want.name;
  }
  EXPECT_EQ(bar.Count(), 2);
}

TEST(MainMenuBar, AccessorReturnsOneSharedBar) {
  MainMenuBar::MainMenuBar* first = MainMenuBar::MainMenuBar::Instance();
  EXPECT_EQ(MainMenuBar::MainMenuBar::Instance(), first);
  EXPECT_EQ(first->Count(), 2);
  MainMenuBar::MainMenuBar::ReleaseInstance();
}

class SharedBarTest : public apptest::AppTest {};

TEST_F(SharedBarTest, AStateSetThroughTheWindowIsSeenThroughTheApplication) {
  Startup::LateStartup();
  Main::Main* window = Main::Main::Instance();
  ASSERT_EQ(window->MenuBar(), app().MenuBar());
  window->MenuBar()->Lookup("ViewModeHLS")->Checked = true;
  EXPECT_TRUE(app().MenuBar()->Lookup("ViewModeHLS")->Checked);
}

}  // namespace
