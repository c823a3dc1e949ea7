// The Qt widgets behind the layer's controls. Each knows its control weakly (the control may go
// first, or the widget may), and carries the frame its locks are measured from.
#pragma once

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QTextEdit>
#include <QWidget>
#include <memory>

namespace gui {
class Canvas;
class TextField;
}  // namespace gui

namespace gui::internal {

// Shared by every control widget: where the program last put it, and the content size that frame
// belongs to, so that a later resize of the window's content moves or stretches it by its locks.
class ControlLink {
 public:
  virtual ~ControlLink() = default;
  QRect lockFrame;
  QSize lockContent;            // invalid until the first content resize after the frame was set
  bool movingByLocks = false;   // the frame is being changed by the locks, not by the program
};

// The number of characters of `text` (a surrogate pair counts once).
int CharCount(const QString& text);
// The first `chars` characters of `text`, never half a surrogate pair.
QString FirstChars(const QString& text, int chars);
// Whether the key press would put its text into a text control (rather than being a shortcut or
// a key that types nothing).
bool TypesText(const QKeyEvent* event);

// A one-line text entry. Its control's KeyDown runs before the field acts on a key, the Menu key
// (which Qt turns into a context-menu request) included, and judges each character an input
// method commits as if it had been typed, those before it already in (nothing still being
// composed shows in such a field). The limit bounds what the user types, pastes (keys, the context
// menu, the Edit menu, the X selection) or commits with an input method, in characters, counted
// once the text the commit replaces is gone; the program's own setText is never cut. Every paste
// is an undo step of its own. Drops are refused. A read-only field that the focus leaves shows its
// text from the start again, unless it keeps a selection.
class FieldWidget : public QLineEdit, public ControlLink {
  Q_OBJECT

 public:
  explicit FieldWidget(QWidget* parent);
  void setControl(std::weak_ptr<gui::TextField> control) { control_ = std::move(control); }
  // 0: no limit.
  void setLimit(int chars) { limit_ = chars; }
  int limit() const { return limit_; }
  // Tab types a tab character instead of moving the focus.
  void setTabsTyped(bool on) { tabsTyped_ = on; }
  // Puts `text` in place of the selection, line breaks removed, as far as the limit leaves room.
  void insertLimited(QString text);
  // The same with the clipboard's text, as an undo step of its own.
  void pasteLimited(QClipboard::Mode mode = QClipboard::Clipboard);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A menu bar taking the focus for keyboard use leaves the text, selection and cursor alone,
  // as a popup does. A read-only field left without a selection puts its cursor back at the
  // start.
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  enum class Verdict { LetThrough, Consumed, WindowEnded };
  // Asks the control's KeyDown handler about `keyText`. The handler may end the window: destroy
  // it, and this widget with it, or close it, which only schedules the widget's deletion.
  // Either way nothing more may be done with the key.
  Verdict judge(gui::TextField& control, const std::string& keyText);
  // `text` without line breaks, cut to what the limit leaves room for; empty on a read-only field.
  QString fitting(QString text) const;
  // Room left for new characters once the selection is replaced; only meaningful with a limit.
  int room() const;
  // Ends the undo step under way, so that the next edit is undone on its own.
  void endUndoStep();
  // An input method's event, for a field whose control has a KeyDown handler: each character
  // of the commit goes to the handler as if typed, after those before it have gone in, and those
  // it lets through go in as far as the limit allows, the first together with the replacement.
  // Once the handler has ended the window the rest is dropped. An empty commit is a deletion.
  void filterInputMethodEvent(gui::TextField& control, QInputMethodEvent* e);
  // An enabled, visible action of this window has the key as its shortcut.
  bool windowActionTakes(const QKeyEvent* event) const;

  std::weak_ptr<gui::TextField> control_;
  int limit_ = 0;
  bool tabsTyped_ = false;
  // The handler consumed a context-menu request from the keyboard; the Menu key press that
  // follows it (under X) has been judged with it. Any other key press or a focus change ends it.
  bool menuKeyJudged_ = false;
};

// A multi-line plain text. Lines are paragraphs of the document; the line height and spacing
// are applied to every paragraph, so new ones typed by the user inherit them.
class AreaWidget : public QTextEdit, public ControlLink {
  Q_OBJECT

 public:
  explicit AreaWidget(QWidget* parent);
  // 0: no limit.
  void setLimit(int chars) { limit_ = chars; }
  // The text, its lines separated by CR, LF or CR LF.
  void setValue(const QString& text);
  // The text with its lines separated by CR.
  QString value() const;
  void setHorizontalAlignment(Qt::Alignment alignment);
  // `lineHeight` in points, 0 for the font's own; `spacing` a multiple of the line height.
  void setLineFormat(double lineHeight, double spacing);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int room() const;
  void applyLineFormat();

  int limit_ = 0;
  double lineHeight_ = 0;
  double spacing_ = 1;
};

// A static text; it never takes the focus and lets presses through to the window.
class LabelWidget : public QLabel, public ControlLink {
  Q_OBJECT

 public:
  explicit LabelWidget(QWidget* parent);
};

// A surface whose face is its backdrop. A press goes to its control's MouseDown when a handler is
// bound, else on to the window. It never takes the focus and paints nothing else, so where there
// is no backdrop the window shows through.
class CanvasWidget : public QWidget, public ControlLink {
  Q_OBJECT

 public:
  explicit CanvasWidget(QWidget* parent);
  void setControl(std::weak_ptr<gui::Canvas> control) { control_ = std::move(control); }
  void setBackdrop(const QPixmap& pixmap);
  const QPixmap& backdrop() const { return backdrop_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::weak_ptr<gui::Canvas> control_;
  QPixmap backdrop_;
};

}  // namespace gui::internal
