#include "framework/internal/ControlWidgets.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <utility>

#include "framework/Controls.h"
#include "framework/Window.h"
#include "framework/internal/KeyText.h"

namespace gui::internal {

int CharCount(const QString& text) {
  int count = 0;
  for (QChar c : text)
    if (!c.isLowSurrogate()) ++count;
  return count;
}

QString FirstChars(const QString& text, int chars) {
  if (chars <= 0) return {};
  int seen = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i).isLowSurrogate()) continue;
    if (seen == chars) return text.left(i);
    ++seen;
  }
  return text;
}

bool TypesText(const QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  const Qt::KeyboardModifiers mods = event->modifiers();
  // Ctrl and Meta make shortcuts; Ctrl+Alt is AltGr on some keyboards and types.
  if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier)) return false;
  return true;
}

namespace {

QString WithoutLineBreaks(QString text) {
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  text.remove(QChar::LineSeparator);
  text.remove(QChar::ParagraphSeparator);
  return text;
}

bool IsPasteKey(const QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) return true;
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  return event->key() == Qt::Key_Insert && mods == Qt::ShiftModifier;
}

}  // namespace

// ---- FieldWidget -------------------------------------------------------------------------------

FieldWidget::FieldWidget(QWidget* parent) : QLineEdit(parent) {
  // A drop would bypass the limit and the key filter; the fields take text by typing and pasting.
  setAcceptDrops(false);
}

int FieldWidget::room() const { return limit_ - (CharCount(text()) - CharCount(selectedText())); }

FieldWidget::Verdict FieldWidget::judge(gui::TextField& control, const std::string& keyText) {
  QPointer<FieldWidget> alive(this);
  const bool consumed = control._KeyDown(keyText);
  const auto owner = control.Owner();
  if (!alive || !owner || !owner->IsOpen()) return Verdict::WindowEnded;
  return consumed ? Verdict::Consumed : Verdict::LetThrough;
}

QString FieldWidget::fitting(QString text) const {
  if (isReadOnly()) return {};
  text = WithoutLineBreaks(std::move(text));
  return limit_ > 0 ? FirstChars(text, room()) : text;
}

void FieldWidget::insertLimited(QString text) {
  text = fitting(std::move(text));
  if (!text.isEmpty()) insert(text);
}

void FieldWidget::pasteLimited(QClipboard::Mode mode) {
  const QString text = fitting(QGuiApplication::clipboard()->text(mode));
  if (text.isEmpty()) return;
  // As QLineEdit::paste does it, which cannot be given a limit: undone on its own, apart from
  // the typing before and after it.
  endUndoStep();
  insert(text);
  endUndoStep();
}

// QLineEdit ends an undo step whenever its cursor moves, and nowhere else that its public
// interface reaches but clear(). A move away and back ends it and leaves the text, the selection
// (anchor and cursor) and the cursor as they were. An empty field has nowhere to move to; there
// clear() ends it and changes nothing.
void FieldWidget::endUndoStep() {
  if (text().isEmpty()) {
    clear();
    return;
  }
  const int cursor = cursorPosition();
  const bool selected = hasSelectedText();
  const int anchor = !selected ? cursor : cursor == selectionStart() ? selectionEnd() : selectionStart();
  setCursorPosition(cursor > 0 ? cursor - 1 : cursor + 1);
  if (selected) setSelection(anchor, cursor - anchor);
  else setCursorPosition(cursor);
}

bool FieldWidget::windowActionTakes(const QKeyEvent* event) const {
  const QKeySequence pressed(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
  for (QAction* action : window()->findChildren<QAction*>()) {
    if (!action->isEnabled() || !action->isVisible()) continue;
    for (const QKeySequence& shortcut : action->shortcuts())
      if (shortcut == pressed) return true;
  }
  return false;
}

bool FieldWidget::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    // A line edit claims Ctrl+C, V, X, Z and A for itself; where the window's menu has that
    // shortcut, the menu's command runs instead (it acts on this field all the same).
    if (windowActionTakes(static_cast<QKeyEvent*>(e))) {
      e->ignore();
      return true;
    }
  } else if (e->type() == QEvent::KeyPress) {
    // Here rather than in keyPressEvent: QWidget::event moves the focus on Tab before
    // keyPressEvent would see it, and the handler must be asked first about Tab too.
    auto* key = static_cast<QKeyEvent*>(e);
    if (std::exchange(menuKeyJudged_, false) && key->key() == Qt::Key_Menu) {
      e->accept();
      return true;
    }
    if (!IsModifierKey(key->key())) {
      if (auto control = control_.lock()) {
        if (judge(*control, KeyTextFor(key->key(), key->modifiers(), key->text())) != Verdict::LetThrough) {
          e->accept();
          return true;
        }
      }
    }
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    if (tabsTyped_ && key->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
      insertLimited(QStringLiteral("\t"));
      e->accept();
      return true;
    }
  }
  return QLineEdit::event(e);
}

void FieldWidget::keyPressEvent(QKeyEvent* e) {
  if (IsPasteKey(e)) {
    pasteLimited();
    e->accept();
    return;
  }
  // A character that does not fit is dropped whole; the key counts as used.
  if (limit_ > 0 && !isReadOnly() && TypesText(e) && CharCount(e->text()) > room()) {
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

void FieldWidget::mouseReleaseEvent(QMouseEvent* e) {
  // Under X a middle click pastes the primary selection: through the limit like any paste.
  if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
    if (!isReadOnly()) {
      deselect();
      pasteLimited(QClipboard::Selection);
    }
    e->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

void FieldWidget::focusOutEvent(QFocusEvent* e) {
  menuKeyJudged_ = false;  // the key press that was to follow goes elsewhere now
  // Qt moves the focus to the menu bar while a menu is used from the keyboard (Alt alone,
  // Alt+letter, and after Escape from an open menu), and a line edit drops its selection on any
  // focus change but a popup's or the window's deactivation. The menu is as much a popup to the
  // user, and its Edit commands act on this selection: handled as a popup's, the field keeps it.
  // Should the window lose the activation meanwhile, it hands the focus back to this field (see
  // WindowFocus), which then has it again when the window comes back.
  if (e->reason() == Qt::MenuBarFocusReason) {
    QFocusEvent asPopup(e->type(), Qt::PopupFocusReason);
    QLineEdit::focusOutEvent(&asPopup);
  } else {
    QLineEdit::focusOutEvent(e);
  }
  // A read-only field scrolls only with its cursor: the Tab chain selects all of it, which puts
  // the cursor at the end, and so does End. Without the focus it shows a text wider than itself
  // from the start again (a result with its sign), unless it keeps a selection for a menu or for
  // the window's return, which keeps the cursor where the selection put it.
  if (isReadOnly() && !hasSelectedText()) setCursorPosition(0);
}

void FieldWidget::contextMenuEvent(QContextMenuEvent* e) {
  // A request from the keyboard comes from a key (under X the Menu key, whose key press follows
  // it to whatever then has the focus). The key filter judges it as it judges every other key;
  // when the filter swallows it, nothing opens, and the key press that follows is swallowed too.
  if (e->reason() == QContextMenuEvent::Keyboard) {
    if (auto control = control_.lock(); control && control->HasHandler(gui::TextField::kKeyDown)) {
      const Verdict verdict = judge(*control, KeyTextFor(Qt::Key_Menu, e->modifiers(), QString()));
      if (verdict != Verdict::LetThrough) {
        if (verdict == Verdict::Consumed) menuKeyJudged_ = true;
        e->accept();
        return;
      }
    }
  }
  QMenu* menu = createStandardContextMenu();
  // The menu's Paste is the action wired to QLineEdit::paste (Qt 6.4 names none of them, and
  // wires them by signature).
  for (QAction* action : menu->actions()) {
    if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
        disconnect(action, &QAction::triggered, this, &QLineEdit::paste)) {
      connect(action, &QAction::triggered, this, [this] { pasteLimited(); });
      break;
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(e->globalPos());
  e->accept();
}

namespace {

// What an input method event replaces, worked out the way Qt 6.4 carries it out: an event that
// brings input first removes the selection, then the replacement counts UTF-16 units from where
// that leaves the cursor, a start before the text moving to 0 with its length kept. Two cases Qt
// gets wrong are cut at the end of the text instead: a range that runs past the end (Qt removes
// nothing of it, inserts the commit all the same and leaves a stale selection behind) and a start
// past the end (Qt pads the text with spaces up to it). A field with a limit or a key filter hands
// Qt only ranges worked out here, so what Qt removes is what the limit was reckoned on; one with
// neither hands Qt the event as it came.
struct Replacement {
  QString rest;           // the text once the selection is gone
  qsizetype cursor = 0;   // where the cursor is then
  qsizetype from = 0, to = 0;

  // The range as QInputMethodEvent counts it, from the cursor.
  int start() const { return static_cast<int>(from - cursor); }
  int length() const { return static_cast<int>(to - from); }
  // The characters left once the range is gone.
  int staying() const { return CharCount(rest) - CharCount(rest.sliced(from, to - from)); }
};

Replacement ReplacementIn(const QLineEdit& field, const QInputMethodEvent& e) {
  Replacement r;
  r.rest = field.text();
  r.cursor = field.cursorPosition();
  if (field.hasSelectedText()) {
    r.cursor = field.selectionStart();
    r.rest.remove(r.cursor, field.selectionLength());
  }
  r.from = std::clamp<qsizetype>(r.cursor + e.replacementStart(), 0, r.rest.size());
  r.to = r.from + std::clamp<qsizetype>(e.replacementLength(), 0, r.rest.size() - r.from);
  return r;
}

}  // namespace

void FieldWidget::inputMethodEvent(QInputMethodEvent* e) {
  if (!isReadOnly()) {
    if (auto control = control_.lock(); control && control->HasHandler(gui::TextField::kKeyDown)) {
      filterInputMethodEvent(*control, e);
      return;
    }
  }
  // With a limit, Qt gets the replacement as worked out here and as much of the commit as then
  // fits. A commit that fits not at all (or had nothing but line breaks) replaces nothing; one
  // that is empty is a deletion. What is being composed shows all the same.
  if (limit_ > 0 && !isReadOnly()) {
    const Replacement r = ReplacementIn(*this, *e);
    const QString commit = FirstChars(WithoutLineBreaks(e->commitString()), limit_ - r.staying());
    QInputMethodEvent cut(e->preeditString(), e->attributes());
    if (!commit.isEmpty() || e->commitString().isEmpty()) cut.setCommitString(commit, r.start(), r.length());
    QLineEdit::inputMethodEvent(&cut);
    e->accept();
    return;
  }
  QLineEdit::inputMethodEvent(e);
}

void FieldWidget::filterInputMethodEvent(gui::TextField& control, QInputMethodEvent* e) {
  e->accept();
  // Whatever is still being composed stays out: the field shows only what the filter has let
  // through.
  if (e->commitString().isEmpty()) {  // a deletion the input method asks for
    const Replacement r = ReplacementIn(*this, *e);
    QInputMethodEvent deletion;
    deletion.setCommitString({}, r.start(), r.length());
    QLineEdit::inputMethodEvent(&deletion);
    return;
  }
  // Each character goes to the handler as its key would, with those before it already in. The
  // replacement goes with the first one that goes in, so a commit refused whole changes nothing,
  // not even the text it was to replace.
  const QString commit = WithoutLineBreaks(e->commitString());
  bool replaced = false;
  for (qsizetype i = 0; i < commit.size();) {
    const bool pair = commit.at(i).isHighSurrogate() && i + 1 < commit.size() && commit.at(i + 1).isLowSurrogate();
    const char32_t code = pair ? QChar::surrogateToUcs4(commit.at(i), commit.at(i + 1)) : commit.at(i).unicode();
    const QString c = commit.mid(i, pair ? 2 : 1);
    i += c.size();
    const Verdict verdict = judge(control, c.toStdString());
    if (verdict == Verdict::WindowEnded) return;  // the rest is neither judged nor put in
    // What the filter lets through goes in as its key would: Tab only where tabs are typed,
    // Backspace and the other control characters not at all, nothing beyond the limit.
    if (verdict == Verdict::Consumed || !(QChar::isPrint(code) || (tabsTyped_ && code == U'\t'))) continue;
    QInputMethodEvent typed;
    if (replaced) {
      if (limit_ > 0 && room() < 1) continue;
      typed.setCommitString(c);
    } else {
      const Replacement r = ReplacementIn(*this, *e);
      if (limit_ > 0 && r.staying() >= limit_) continue;
      typed.setCommitString(c, r.start(), r.length());
      replaced = true;
    }
    QLineEdit::inputMethodEvent(&typed);
  }
}

// ---- AreaWidget --------------------------------------------------------------------------------

AreaWidget::AreaWidget(QWidget* parent) : QTextEdit(parent) { setAcceptRichText(false); }

void AreaWidget::setValue(const QString& text) {
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  setPlainText(plain);
  applyLineFormat();
}

QString AreaWidget::value() const {
  // Like toPlainText, but a no-break space stays what it is.
  QString text = document()->toRawText();
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == u'\n' || u == 0xfdd0 || u == 0xfdd1)
      c = QLatin1Char('\r');
  }
  return text;
}

void AreaWidget::setHorizontalAlignment(Qt::Alignment alignment) {
  QTextOption option = document()->defaultTextOption();
  option.setAlignment(alignment);
  document()->setDefaultTextOption(option);
}

void AreaWidget::setLineFormat(double lineHeight, double spacing) {
  lineHeight_ = lineHeight;
  spacing_ = spacing;
  applyLineFormat();
}

void AreaWidget::applyLineFormat() {
  QTextBlockFormat format;
  if (lineHeight_ > 0) format.setLineHeight(lineHeight_, QTextBlockFormat::FixedHeight);
  else if (spacing_ > 0 && spacing_ != 1) format.setLineHeight(spacing_ * 100, QTextBlockFormat::ProportionalHeight);
  else format.setLineHeight(0, QTextBlockFormat::SingleHeight);
  // A format the program sets is no edit the user could undo.
  QTextDocument* doc = document();
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  QTextCursor all(doc);
  all.select(QTextCursor::Document);
  all.mergeBlockFormat(format);
  doc->setUndoRedoEnabled(undo);
}

int AreaWidget::room() const {
  const QTextCursor cursor = textCursor();
  const int length = document()->characterCount() - 1;  // less the document's closing separator
  return limit_ - (length - (cursor.selectionEnd() - cursor.selectionStart()));
}

void AreaWidget::keyPressEvent(QKeyEvent* e) {
  // A Tab that moves the focus reaches this only when there was nowhere to move it to, and
  // QTextEdit would then type it after all.
  const auto mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (tabChangesFocus() && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && mods == Qt::NoModifier) {
    e->ignore();
    return;
  }
  if (limit_ > 0 && !isReadOnly()) {
    const bool newLine = (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter);
    const int needed = newLine ? 1 : TypesText(e) ? CharCount(e->text()) : 0;
    if (needed > 0 && needed > room()) {
      e->accept();
      return;
    }
  }
  QTextEdit::keyPressEvent(e);
}

void AreaWidget::insertFromMimeData(const QMimeData* source) {
  if (limit_ <= 0 || !source || !source->hasText()) {
    QTextEdit::insertFromMimeData(source);
    return;
  }
  if (isReadOnly()) return;
  const QString text = FirstChars(source->text(), room());
  if (!text.isEmpty()) insertPlainText(text);
}

// ---- LabelWidget -------------------------------------------------------------------------------

LabelWidget::LabelWidget(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::NoFocus);
}

// ---- CanvasWidget ------------------------------------------------------------------------------

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void CanvasWidget::setBackdrop(const QPixmap& pixmap) {
  backdrop_ = pixmap;
  update();
}

void CanvasWidget::paintEvent(QPaintEvent*) {
  if (backdrop_.isNull()) return;
  QPainter painter(this);
  // At the point, not into a rectangle: a double-resolution pixmap then draws at its size in points.
  painter.drawPixmap(QPoint(0, 0), backdrop_);
}

void CanvasWidget::mousePressEvent(QMouseEvent* e) {
  auto control = control_.lock();
  if (e->button() == Qt::LeftButton && control) {
    const QPoint at = e->position().toPoint();
    if (control->_MouseDown(at.x(), at.y())) {
      e->accept();
      return;
    }
  }
  e->ignore();  // on to the window's own MouseDown
}

// The second press of a double click has come as a press already; QWidget's default would
// count it again.
void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

}  // namespace gui::internal
