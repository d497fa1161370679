#pragma once
#include <QKeySequence>
#include <functional>
#include <string>

class QMenuBar;

namespace fw {
class MenuItem;
}

namespace fw::qt {

// Qt's key sequence for a shortcut text: "Cmd" is Ctrl, "Option" is Alt,
// "Control" is Meta, the letter's case does not matter ("Cmd+Option+m" is
// Ctrl+Alt+M). The empty text, or one Qt cannot read, gives no shortcut.
QKeySequence ShortcutToKeySequence(const std::string& text);

// Fills bar with the menus of the tree's top-level items. The actions keep
// only item names and find their items through tree() at every use, so the
// bar never holds a pointer into the tree. Before a menu opens the menus are
// brought up to date; choosing an item runs its command.
void BuildMenuBar(QMenuBar& bar, std::function<fw::MenuItem*()> tree);

}  // namespace fw::qt
