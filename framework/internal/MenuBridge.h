// Turns a menu model into Qt menus and shortcuts for one window.
#pragma once

#include <memory>

class QMenuBar;
class QWidget;

namespace gui {
class MenuBar;
}

namespace gui::internal {

// A QMenuBar (child of `window`) with one QMenu per menu of `bar` and one QAction per item. Each
// action is named after its item and calls the item's Action when triggered. Items that are
// AutoEnabled are enabled by what they can do at the moment their menu opens (an Edit command
// with nothing to act on is greyed); once the menu closes every action is enabled again, so that
// a shortcut always reaches the menu rather than the focused field. The shortcuts work while
// `window` is the active window.
QMenuBar* BuildMenuBar(const std::shared_ptr<gui::MenuBar>& bar, QWidget* window);

// Gives the top-level `window` the shortcuts of the application's menu bar that its own menus
// do not carry: one action per such item, added to the window, named after the item and calling
// its Action. A window without menus of its own still quits on the application's Quit shortcut.
// Replaces what an earlier call gave; with no application menu bar the window keeps none. Call it
// when the window is built and after its own menu bar changes.
void InstallApplicationShortcuts(QWidget* window);

// InstallApplicationShortcuts for every open window, after the application's menu bar changed.
void ReinstallApplicationShortcuts();

}  // namespace gui::internal
