// Turns a menu model into Qt menus for one window.
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
// a shortcut always reaches the menu rather than the focused field. The shortcuts of the
// application's own menu bar work from every window of the program.
QMenuBar* BuildMenuBar(const std::shared_ptr<gui::MenuBar>& bar, QWidget* window);

}  // namespace gui::internal
