// For the menu bar: whether an Edit command would do something right now.
#pragma once

#include "framework/Menu.h"

namespace gui::internal {

// True when a text control has the focus (or, while a menu holds it, had it last in the active
// window) and `command` has something to act on there (a selection to cut or copy, text on the
// clipboard to paste, an edit to undo, ...). Commands that change the text are never available on a read-only control.
bool EditCommandAvailable(gui::EditCommand command);

}  // namespace gui::internal
