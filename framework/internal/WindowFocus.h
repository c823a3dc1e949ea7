// Which widget of each window the user works in, whatever the menus do with the focus.
#pragma once

class QWidget;

namespace gui::internal {

// From now on, notes for every top-level window the last widget in it that had the focus and is
// not a menu bar or menu. When a window loses the activation while its menu bar holds the focus
// (Alt alone, Alt+letter, Escape from an open menu), the window's focus goes back to that widget:
// Qt ends the menu bar's keyboard mode then, but leaves the focus with it, where no key reaches
// anything once the window is active again. Once per application; later calls do nothing.
void FollowWindowFocus();

// The widget the user works in: the focus widget or, while a menu bar or menu holds the focus,
// the widget the active window noted last. Null when no window of the program is active.
QWidget* WorkingFocus();

}  // namespace gui::internal
