// For the menu bar: whether an Edit command would do something right now.
#pragma once

#include "framework/Menu.h"

namespace gui::internal {

// True when a text control has the focus (or had it when the menu in use took it) and `command`
// has something to act on there (a selection to cut or copy, text on the clipboard to paste, an
// edit to undo, ...). Commands that change the text are never available on a read-only control.
bool EditCommandAvailable(gui::EditCommand command);

// From now on, notes the widget that had the focus whenever a menu bar or menu takes it, so that
// the Edit commands and their availability follow that widget while a menu is in use. Once per
// application; later calls do nothing.
void FollowFocusIntoMenus();
// A menu is about to open: notes the focused widget, unless a menu already holds the focus.
void MenuOpening();

}  // namespace gui::internal
