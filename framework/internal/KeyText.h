// The text a key press stands for, as the layer's KeyDown events report it.
#pragma once

#include <QString>
#include <Qt>
#include <string>

namespace gui::internal {

// Decided from the key and its modifiers rather than from the event's text alone, so that a
// synthesised press (QTest) and a real X press give the same text: Backspace "\x08", Tab and
// Backtab "\t", Return and Enter "\r", Escape "\x1b", Delete "\x7f", the arrows Left, Right, Up,
// Down the one-character codes 28 to 31, Ctrl (or Meta) with a letter the control code 1 to 26,
// any other key that types nothing "" (Home, End, the function keys, a modifier alone), and
// otherwise the typed text in UTF-8 (keypad digits are digits).
std::string KeyTextFor(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

// A modifier pressed on its own (Shift, Ctrl, Alt, AltGr, Meta, the lock keys): it types nothing
// and is no key of its own to a text field.
bool IsModifierKey(int qtKey);

}  // namespace gui::internal
