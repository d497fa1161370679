#include "MenuBarBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "Application.h"
#include "Diagnostics.h"
#include "EventGate.h"
#include "FontTable.h"
#include "MenuItem.h"
#include "NativeWindow.h"
#include "Runtime.h"

namespace fw::qt {
namespace {

using TreeFn = std::function<fw::MenuItem*()>;

QString MenuText(const std::string& text) {
  // A lone '&' would turn the next letter into a mnemonic.
  return QString::fromStdString(text).replace('&', "&&");
}

QString ModifierName(const QString& word) {
  const QString w = word.toLower();
  if (w == "cmd" || w == "command") return "Ctrl";
  if (w == "option" || w == "opt" || w == "alt") return "Alt";
  if (w == "shift") return "Shift";
  if (w == "control" || w == "ctrl") return "Meta";
  return {};
}

fw::MenuItem* ItemOf(const QAction& action, const TreeFn& tree) {
  fw::MenuItem* root = tree();
  const QString name = action.data().toString();
  return root && !name.isEmpty() ? root->Lookup(name.toStdString()) : nullptr;
}

void Choose(const std::string& name) {
  // The command may depend on state that changed since the menu was last
  // shown, and a shortcut opens no menu at all: bring the menus up to date
  // first; ChooseMenuItem refuses an item that is disabled then. A command
  // chosen while a shell command runs waits for its end.
  EventGate::RunWhenIdle([name] {
    fw::Runtime::CallWithExceptionHandling([&] {
      fw::UpdateMenus();
      fw::ChooseMenuItem(name);
    });
    RepaintAllWindows();
  });
}

// Copies the items' states into the actions of a menu that is about to open.
void ShowStates(QMenu& menu, const TreeFn& tree) {
  fw::Runtime::CallWithExceptionHandling([] { fw::UpdateMenus(); });
  for (QAction* action : menu.actions()) {
    const fw::MenuItem* item = ItemOf(*action, tree);
    if (!item) continue;
    action->setVisible(item->Visible);
    if (action->menu()) continue;  // a submenu always opens
    action->setEnabled(item->Enabled);
    // Only a checked item shows the check box, as a menu shows a check mark.
    action->setCheckable(item->Checked);
    action->setChecked(item->Checked);
  }
}

// Once the menu is closed its shortcuts must reach Choose whatever state the
// menu showed; Choose decides then.
void ReleaseStates(QMenu& menu) {
  for (QAction* action : menu.actions())
    if (!action->menu() && !action->isSeparator()) action->setEnabled(true);
}

void AddItems(QMenu& menu, const fw::MenuItem& parent, const TreeFn& tree);

// Menus show their texts in the desktop's face, as the windows' labels do.
void UseSystemFace(QWidget& widget) { widget.setFont(FontFor("System", widget.font())); }

void AddItem(QWidget& owner, const fw::MenuItem& item, const TreeFn& tree) {
  if (item.IsSeparator()) {
    auto* separator = new QAction(&owner);
    separator->setSeparator(true);
    separator->setVisible(item.Visible);
    owner.addAction(separator);
    return;
  }
  QAction* action = nullptr;
  if (item.Count() > 0) {
    auto* menu = new QMenu(MenuText(item.Text), &owner);
    UseSystemFace(*menu);
    AddItems(*menu, item, tree);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, tree] { ShowStates(*menu, tree); });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] { ReleaseStates(*menu); });
    action = menu->menuAction();
  } else {
    action = new QAction(MenuText(item.Text), &owner);
    action->setShortcut(ShortcutToKeySequence(item.KeyboardShortcut));
    QObject::connect(action, &QAction::triggered, action, [name = item.Name] { Choose(name); });
  }
  action->setData(QString::fromStdString(item.Name));
  action->setVisible(item.Visible);
  owner.addAction(action);
}

void AddItems(QMenu& menu, const fw::MenuItem& parent, const TreeFn& tree) {
  for (int i = 0; i < parent.Count(); ++i) AddItem(menu, *parent.Item(i), tree);
}

}  // namespace

QKeySequence ShortcutToKeySequence(const std::string& text) {
  const QString shortcut = QString::fromStdString(text).trimmed();
  if (shortcut.isEmpty()) return {};
  // The key is what follows the last '+', so "Cmd++" names the plus key.
  const qsizetype split = shortcut.size() > 1 ? shortcut.lastIndexOf('+', shortcut.size() - 2) : -1;
  QString key = shortcut.mid(split + 1);
  QStringList parts;
  if (split > 0) {
    for (const QString& word : shortcut.left(split).split('+', Qt::SkipEmptyParts)) {
      const QString modifier = ModifierName(word.trimmed());
      if (modifier.isEmpty()) {
        fw::Diagnose("unknown modifier in shortcut \"" + text + "\"");
        return {};
      }
      parts << modifier;
    }
  }
  if (key.size() == 1) key = key.toUpper();
  parts << key;
  QKeySequence sequence = QKeySequence::fromString(parts.join('+'), QKeySequence::PortableText);
  if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
    fw::Diagnose("unreadable shortcut \"" + text + "\"");
    return {};
  }
  return sequence;
}

void BuildMenuBar(QMenuBar& bar, std::function<fw::MenuItem*()> tree) {
  bar.clear();
  UseSystemFace(bar);
  const fw::MenuItem* root = tree();
  if (!root) return;
  for (int i = 0; i < root->Count(); ++i) AddItem(bar, *root->Item(i), tree);
}

}  // namespace fw::qt
