// For the menu bar: whether an Edit command would do something right now.
#pragma once

#include "framework/Menu.h"

namespace gui::internal {

// True when a text control has the focus and `command` has something to act on there (a
// selection to cut or copy, text on the clipboard to paste, an edit to undo, ...). Commands that
// change the text are never available on a read-only control.
bool EditCommandAvailable(gui::EditCommand command);

}  // namespace gui::internal
