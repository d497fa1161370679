#include "MainMenuBar.h"

#include <memory>
#include <string>

#include "App.h"
#include "framework/Exceptions.h"

namespace MainMenuBar {

namespace {

enum class Kind { Item, Quit, Application };

// One item of the tree. The parent is named by its menu and, for an item of a
// submenu, the submenu; a top-level menu has neither. The text is a localised
// constant or, when that is null, a literal. A null shortcut is left unset.
struct ItemRow {
  const char* name;
  Kind kind;
  const char* menu;
  const char* submenu;
  std::string (*text)(const std::string& language);
  const char* literal;
  const char* shortcut;
};

constexpr const char* kUnset = nullptr;

const ItemRow kEditRows[] = {
    {"EditMenu", Kind::Item, nullptr, nullptr, App::kEditMenu, nullptr, ""},
    {"EditUndo", Kind::Item, "EditMenu", nullptr, App::kEditUndo, nullptr, "Cmd+Z"},
    {"EditSeparator1", Kind::Item, "EditMenu", nullptr, nullptr, "-", kUnset},
    {"EditCut", Kind::Item, "EditMenu", nullptr, App::kEditCut, nullptr, "Cmd+X"},
    {"EditCopy", Kind::Item, "EditMenu", nullptr, App::kEditCopy, nullptr, "Cmd+C"},
    {"EditPaste", Kind::Item, "EditMenu", nullptr, App::kEditPaste, nullptr, "Cmd+V"},
    {"EditClear", Kind::Item, "EditMenu", nullptr, App::kEditClear, nullptr, ""},
    {"EditSeparator2", Kind::Item, "EditMenu", nullptr, nullptr, "-", kUnset},
    {"EditSelectAll", Kind::Item, "EditMenu", nullptr, App::kEditSelectAll, nullptr, "Cmd+A"},
    {"UntitledSeparator1", Kind::Item, "EditMenu", nullptr, nullptr, "-", kUnset},
    {"EditSpeech", Kind::Item, "EditMenu", nullptr, App::kEditSpeech, nullptr, kUnset},
    {"EditStartSpeaking", Kind::Item, "EditMenu", "EditSpeech", App::kEditStartSpeaking, nullptr, ""},
    {"EditStopSpeaking", Kind::Item, "EditMenu", "EditSpeech", App::kEditStopSpeaking, nullptr, ""},
    {"FileQuit", Kind::Quit, "EditMenu", nullptr, App::kFileQuit, nullptr, "Cmd+Q"},
    {"AboutTintbeacon", Kind::Application, "EditMenu", nullptr, App::kAboutTintbeacon, nullptr, ""},
};

const ItemRow kViewRows[] = {
    {"View", Kind::Item, nullptr, nullptr, App::kViewMenu, nullptr, ""},
    {"ViewLanguage", Kind::Item, "View", nullptr, App::kViewLanguage, nullptr, kUnset},
    {"ViewLanguageEn", Kind::Item, "View", "ViewLanguage", App::kViewLanguageEn, nullptr, ""},
    {"ViewLanguageJa", Kind::Item, "View", "ViewLanguage", App::kViewLanguageJa, nullptr, ""},
    {"ViewLineColor", Kind::Item, "View", nullptr, App::kViewLineColor, nullptr, kUnset},
    {"ViewLineColorNone", Kind::Item, "View", "ViewLineColor", App::kViewLineColorNone, nullptr, ""},
    {"ViewLineColorBlack", Kind::Item, "View", "ViewLineColor", App::kViewLineColorBlack, nullptr, ""},
    {"ViewLineColorWhite", Kind::Item, "View", "ViewLineColor", App::kViewLineColorWhite, nullptr, ""},
    {"ViewLineColorRed", Kind::Item, "View", "ViewLineColor", App::kViewLineColorRed, nullptr, ""},
    {"ViewLineColorGreen", Kind::Item, "View", "ViewLineColor", App::kViewLineColorGreen, nullptr, ""},
    {"ViewLineColorBlue", Kind::Item, "View", "ViewLineColor", App::kViewLineColorBlue, nullptr, ""},
    {"ViewMode", Kind::Item, "View", nullptr, App::kViewMode, nullptr, kUnset},
    {"ViewModeRGB", Kind::Item, "View", "ViewMode", nullptr, "RGB", ""},
    {"ViewModeCMYK", Kind::Item, "View", "ViewMode", nullptr, "CMYK", ""},
    {"ViewModeHLS", Kind::Item, "View", "ViewMode", nullptr, "HLS", ""},
    {"ViewShowMouseLocation", Kind::Item, "View", nullptr, App::kViewMouseLocation, nullptr, ""},
    {"UntitledSeparator", Kind::Item, "View", nullptr, nullptr, "-", kUnset},
    {"ViewWindowMinimize", Kind::Item, "View", nullptr, App::kViewWindowMinimize, nullptr, "Cmd+m"},
    {"UntitledSeparator0", Kind::Item, "View", nullptr, nullptr, "-", kUnset},
    {"ViewTintbeacon", Kind::Item, "View", nullptr, nullptr, "Tintbeacon", "Cmd+Option+m"},
};

std::unique_ptr<fw::MenuItem> NewItem(Kind kind) {
  switch (kind) {
    case Kind::Quit:
      return std::make_unique<fw::QuitMenuItem>();
    case Kind::Application:
      return std::make_unique<fw::ApplicationMenuItem>();
    case Kind::Item:
      break;
  }
  return std::make_unique<fw::MenuItem>();
}

fw::MenuItem* ChildOrThrow(fw::MenuItem& parent, const char* name) {
  fw::MenuItem* child = parent.Child(name);
  if (!child) throw fw::NilObjectException(std::string("menu bar: no menu named ") + name);
  return child;
}

// The parent is looked up from the bar for every item: the builder keeps no
// reference to a menu between items.
fw::MenuItem& ParentOf(fw::MenuBar& bar, const ItemRow& row) {
  if (!row.menu) return bar;
  fw::MenuItem* menu = ChildOrThrow(bar, row.menu);
  return row.submenu ? *ChildOrThrow(*menu, row.submenu) : *menu;
}

template <size_t N>
void Build(fw::MenuBar& bar, const ItemRow (&rows)[N]) {
  for (const ItemRow& row : rows) {
    auto item = NewItem(row.kind);
    item->Name = row.name;
    item->AutoEnable = true;
    item->Text = row.text ? row.text("") : row.literal;
    item->Visible = true;
    if (row.shortcut) item->KeyboardShortcut = row.shortcut;
    ParentOf(bar, row).Append(std::move(item));
  }
}

std::unique_ptr<MainMenuBar>& ImplicitInstance() {
  static std::unique_ptr<MainMenuBar> instance;
  return instance;
}

}  // namespace

MainMenuBar* MainMenuBar::Instance() {
  auto& instance = ImplicitInstance();
  if (!instance) {
    auto bar = std::make_unique<MainMenuBar>();
    bar->Constructor();
    instance = std::move(bar);
  }
  return instance.get();
}

void MainMenuBar::ReleaseInstance() {
  std::unique_ptr<MainMenuBar> bar = std::move(ImplicitInstance());
  bar.reset();
}

void MainMenuBar::Constructor() {
  Untitled0();
  Untitled1();
}

void MainMenuBar::Untitled0() { Build(*this, kEditRows); }

void MainMenuBar::Untitled1() { Build(*this, kViewRows); }

}  // namespace MainMenuBar
