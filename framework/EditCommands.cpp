// The standard Edit commands, carried out on whichever text control has the focus or, while a menu
// holds it, had it last in the active window.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <utility>

#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/internal/ControlWidgets.h"
#include "framework/internal/EditCommands.h"
#include "framework/internal/WindowFocus.h"

namespace gui {

namespace {

constexpr std::pair<const char*, EditCommand> kCommands[] = {
    {"EditUndo", EditCommand::Undo},   {"EditCut", EditCommand::Cut},     {"EditCopy", EditCommand::Copy},
    {"EditPaste", EditCommand::Paste}, {"EditClear", EditCommand::Clear}, {"EditSelectAll", EditCommand::SelectAll},
};

bool ClipboardHasText() { return !QGuiApplication::clipboard()->text().isEmpty(); }

// The text control the user works in, looked for on the working focus and, for a scroll area's
// viewport, on its parent. While a menu is in use the focus may be on the menu itself: Qt gives it
// to the menu bar for keyboard use (Alt, Alt+letter, the arrows, after Escape) and, for a moment,
// while one open menu hands over to the next. The commands then act on the widget the user still
// sees as the one they work in.
template <class T>
T* Focused() {
  QWidget* w = internal::WorkingFocus();
  if (!w) return nullptr;
  if (auto* t = qobject_cast<T*>(w)) return t;
  return qobject_cast<T*>(w->parentWidget());
}

// Paste and Clear differ between the one-line field and the text areas; the rest share names.
void PasteInto(QLineEdit* e) {
  // Our fields paste only what their limit leaves room for.
  if (auto* field = qobject_cast<internal::FieldWidget*>(e)) field->pasteLimited();
  else e->paste();
}
template <class Edit>
void PasteInto(Edit* e) {
  e->paste();
}

void ClearSelection(QLineEdit* e) {
  if (e->hasSelectedText()) e->del();
}
template <class Edit>
void ClearSelection(Edit* e) {
  QTextCursor cursor = e->textCursor();
  cursor.removeSelectedText();
  e->setTextCursor(cursor);
}

// QLineEdit, QTextEdit and QPlainTextEdit offer the same operations under the same names.
template <class Edit>
void Perform(Edit* e, EditCommand command) {
  const bool editable = !e->isReadOnly();
  switch (command) {
    case EditCommand::Undo:
      if (editable) e->undo();
      break;
    case EditCommand::Cut:
      if (editable) e->cut();
      break;
    case EditCommand::Copy:
      e->copy();
      break;
    case EditCommand::Paste:
      if (editable) PasteInto(e);
      break;
    case EditCommand::Clear:
      if (editable) ClearSelection(e);
      break;
    case EditCommand::SelectAll:
      e->selectAll();
      break;
    case EditCommand::None:
      break;
  }
}

bool Available(const QLineEdit* e, EditCommand command) {
  const bool editable = !e->isReadOnly();
  const bool copyable = e->hasSelectedText() && e->echoMode() == QLineEdit::Normal;
  switch (command) {
    case EditCommand::Undo: return editable && e->isUndoAvailable();
    case EditCommand::Cut: return editable && copyable;
    case EditCommand::Copy: return copyable;
    case EditCommand::Paste: return editable && ClipboardHasText();
    case EditCommand::Clear: return editable && e->hasSelectedText();
    case EditCommand::SelectAll: return !e->text().isEmpty();
    case EditCommand::None: return false;
  }
  return false;
}

template <class Edit>
bool Available(const Edit* e, EditCommand command) {
  const bool editable = !e->isReadOnly();
  const bool selected = e->textCursor().hasSelection();
  switch (command) {
    case EditCommand::Undo: return editable && e->document()->isUndoAvailable();
    case EditCommand::Cut: return editable && selected;
    case EditCommand::Copy: return selected;
    case EditCommand::Paste: return editable && e->canPaste();
    case EditCommand::Clear: return editable && selected;
    case EditCommand::SelectAll: return !e->document()->isEmpty();
    case EditCommand::None: return false;
  }
  return false;
}

}  // namespace

EditCommand EditCommandOf(const std::string& itemName) {
  for (const auto& [name, command] : kCommands)
    if (itemName == name) return command;
  return EditCommand::None;
}

bool PerformEditCommand(EditCommand command) {
  CheckUIThread();
  if (command == EditCommand::None) return false;
  if (auto* e = Focused<QLineEdit>()) Perform(e, command);
  else if (auto* t = Focused<QTextEdit>()) Perform(t, command);
  else if (auto* p = Focused<QPlainTextEdit>()) Perform(p, command);
  else return false;
  return true;
}

namespace internal {

bool EditCommandAvailable(EditCommand command) {
  CheckUIThread();
  if (auto* e = Focused<QLineEdit>()) return Available(e, command);
  if (auto* t = Focused<QTextEdit>()) return Available(t, command);
  if (auto* p = Focused<QPlainTextEdit>()) return Available(p, command);
  return false;
}

}  // namespace internal

}  // namespace gui
