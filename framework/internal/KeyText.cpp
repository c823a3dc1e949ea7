#include "framework/internal/KeyText.h"

namespace gui::internal {

namespace {

std::string One(char code) { return std::string(1, code); }

// Keys that under X may come with a text of their own (a control character or a private-use
// code) and yet type nothing into a text.
bool TypesNothing(int key) {
  switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Pause:
    case Qt::Key_Print:
    case Qt::Key_SysReq:
    case Qt::Key_Clear:
    case Qt::Key_Menu:
    case Qt::Key_Help:
      return true;
    default:
      return (key >= Qt::Key_F1 && key <= Qt::Key_F35) || IsModifierKey(key);
  }
}

}  // namespace

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
      return true;
    default:
      return false;
  }
}

std::string KeyTextFor(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  switch (key) {
    case Qt::Key_Backspace: return One('\x08');
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return One('\t');
    case Qt::Key_Return:
    case Qt::Key_Enter: return One('\r');
    case Qt::Key_Escape: return One('\x1b');
    case Qt::Key_Delete: return One('\x7f');
    case Qt::Key_Left: return One('\x1c');
    case Qt::Key_Right: return One('\x1d');
    case Qt::Key_Up: return One('\x1e');
    case Qt::Key_Down: return One('\x1f');
    default: break;
  }
  // X reports Ctrl+C as "\x03", QTest as "c": the key decides.
  if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && key >= Qt::Key_A && key <= Qt::Key_Z)
    return One(static_cast<char>(key - Qt::Key_A + 1));
  if (TypesNothing(key)) return {};
  return text.toStdString();
}

}  // namespace gui::internal
