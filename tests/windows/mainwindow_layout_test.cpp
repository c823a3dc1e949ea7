// The main window as the user first sees it, read from the real Qt widgets: its size, frame and
// menu bar, each control's place and look, the stacking and tab orders, and the typed handles on
// the menu items.
#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRect>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <functional>
#include <optional>
#include <string>

#include "framework/Menu.h"
#include "MainWindowFixture.h"
#include "windows/MenuBar1.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kNavy(0, 0, 128);
const QColor kBlack(0, 0, 0);

enum class Focus { Never, ClickOnly, Tab };

struct ControlRow {
  const char* name;
  const char* cls;
  QRect frame;
  const char* text;  // nullptr: the control shows no text
  int fontSize;      // 0: the system font's own size
  bool bold;
  QColor textColor;
  std::optional<QColor> background;  // none: transparent
  bool visible;
  bool enabled;
  bool readOnly;
  bool border;
  Focus focus;
};

const ControlRow kControls[] = {
    {"RdFld", "TextField", {235, 265, 80, 22}, "", 0, false, kBlack, kWhite, false, true, true, true, Focus::Tab},
    {"RdText", "Label", {235, 289, 80, 49}, "Reliability of difference score", 11, false, kNavy, std::nullopt, false,
     false, true, false, Focus::Never},
    {"Text1", "Label", {112, 214, 80, 31}, "Reliability of first test", 11, false, kNavy, std::nullopt, true, false,
     true, false, Focus::Never},
    {"RxxFld", "TextField", {112, 190, 80, 22}, "", 0, false, kBlack, kWhite, true, true, false, true, Focus::Tab},
    {"Text2", "Label", {235, 214, 80, 31}, "Reliability of second test", 11, false, kNavy, std::nullopt, true, false,
     true, false, Focus::Never},
    {"RyyFld", "TextField", {235, 190, 80, 22}, "", 0, false, kBlack, kWhite, true, true, false, true, Focus::Tab},
    {"Text3", "Label", {358, 214, 80, 31}, "Correlation between tests", 11, false, kNavy, std::nullopt, true, false,
     true, false, Focus::Never},
    {"RxyFld", "TextField", {358, 190, 80, 22}, "", 0, false, kBlack, kWhite, true, true, false, true, Focus::Tab},
    {"Text6", "TextArea", {213, 39, 135, 20}, "the Mobrigan developers", 10, false, kNavy, kWhite, true, true,
     false, false, Focus::ClickOnly},
    {"Help", "Canvas", {235, 410, 72, 70}, nullptr, 0, false, {}, std::nullopt, true, true, true, false, Focus::Never},
    {"ComputeCanvas", "Canvas", {20, 442, 106, 38}, nullptr, 0, false, {}, std::nullopt, true, true, true, false,
     Focus::Never},
    {"ClearCanvas", "Canvas", {424, 441, 106, 39}, nullptr, 0, false, {}, std::nullopt, true, true, true, false,
     Focus::Never},
    {"Text5", "TextArea", {76, 0, 474, 42}, "Mobrigan", 32, true, kNavy, kWhite, true, true, false, false,
     Focus::ClickOnly},
    {"Canvas1", "Canvas", {6, 1, 65, 65}, nullptr, 0, false, {}, std::nullopt, true, true, true, false,
     Focus::Never},
};

// What a text widget shows and how, whichever Qt class carries it.
QString TextOf(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* t = qobject_cast<QTextEdit*>(w)) return t->toPlainText();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
  return {};
}

Qt::Alignment AlignmentOf(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->alignment();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->alignment();
  if (auto* t = qobject_cast<QTextEdit*>(w)) return t->document()->defaultTextOption().alignment() | t->alignment();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->document()->defaultTextOption().alignment();
  return {};
}

std::optional<bool> ReadOnlyOf(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->isReadOnly();
  if (auto* t = qobject_cast<QTextEdit*>(w)) return t->isReadOnly();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->isReadOnly();
  return std::nullopt;
}

bool HasBorder(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->hasFrame();
  if (auto* f = qobject_cast<QFrame*>(w)) return f->frameShape() != QFrame::NoFrame;
  return false;
}

QColor TextColorOf(QWidget* w) {
  return w->palette().color(qobject_cast<QLabel*>(w) ? QPalette::WindowText : QPalette::Text);
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, EachControlStandsWhereAndAsTheFormWantsIt) {
  QWidget* content = gui::testing::ContentOf(*wnd);
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    const auto control = wnd->_ControlByName(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->ClassName(), row.cls);
    QWidget* w = W(control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), content);
    EXPECT_EQ(w->geometry(), row.frame);
    EXPECT_EQ(w->isVisible(), row.visible);
    EXPECT_EQ(w->isEnabled(), row.enabled);

    switch (row.focus) {
      case Focus::Never: EXPECT_EQ(w->focusPolicy(), Qt::NoFocus); break;
      case Focus::ClickOnly: EXPECT_EQ(w->focusPolicy(), Qt::ClickFocus); break;
      case Focus::Tab: EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus); break;
    }
    if (!row.text) continue;

    EXPECT_EQ(TextOf(w).toStdString(), row.text);
    EXPECT_TRUE(AlignmentOf(w) & Qt::AlignHCenter);
    const QFont font = w->font();
    EXPECT_EQ(font.family(), QApplication::font().family());
    // A size is in the layer's points, the unit of the frames, so a caption keeps its proportions
    // to its frame; size 0 keeps the system font's own size.
    if (row.fontSize) {
      EXPECT_EQ(font.pixelSize(), row.fontSize);
    } else {
      EXPECT_EQ(font.pointSizeF(), QApplication::font().pointSizeF());
      EXPECT_EQ(font.pixelSize(), QApplication::font().pixelSize());
    }
    EXPECT_EQ(font.bold(), row.bold);
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_EQ(TextColorOf(w), row.textColor);
    if (row.background) {
      EXPECT_EQ(w->palette().color(QPalette::Base), *row.background);
    }
    if (const auto readOnly = ReadOnlyOf(w)) {
      EXPECT_EQ(*readOnly, row.readOnly);
    }
    EXPECT_EQ(HasBorder(w), row.border);
  }
}

TEST_F(MainWindowLayout, ControlsAreStackedInCreationOrderSoTheHeadingLiesOverTheByline) {
  const QObjectList children = gui::testing::ContentOf(*wnd)->children();
  int last = -1;
  for (const ControlRow& row : kControls) {
    const int at = children.indexOf(W(wnd->_ControlByName(row.name)));
    EXPECT_GT(at, last) << row.name;
    last = at;
  }
  // Where they overlap (rows 39 to 41), the heading is drawn and the byline hidden under it.
  const QRect heading = W(wnd->Text5())->geometry(), byline = W(wnd->Text6())->geometry();
  EXPECT_EQ(heading.intersected(byline), QRect(213, 39, 135, 3));
  EXPECT_GT(children.indexOf(W(wnd->Text5())), children.indexOf(W(wnd->Text6())));
}

TEST_F(MainWindowLayout, TheWindowIsAFixedWhiteFormOf550By500WithItsMenuBar) {
  QWidget* window = gui::testing::WidgetOf(*wnd);
  QWidget* content = gui::testing::ContentOf(*wnd);
  EXPECT_EQ(content->size(), QSize(550, 500));
  EXPECT_EQ(window->windowTitle(), "Mobrigan");
  EXPECT_TRUE(wnd->Visible());

  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);

  // It cannot be resized, and nothing locked to an edge moves when someone tries.
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  window->resize(window->width() + 200, window->height() + 100);
  testsupport::Pump(20);
  EXPECT_EQ(content->size(), QSize(550, 500));
  EXPECT_EQ(W(wnd->Text5())->geometry(), QRect(76, 0, 474, 42));
  EXPECT_EQ(W(wnd->Canvas1())->geometry(), QRect(6, 1, 65, 65));

  EXPECT_TRUE(content->autoFillBackground());
  EXPECT_EQ(content->palette().color(QPalette::Window), kWhite);

  // The program's one menu bar, with File before Edit, above the content.
  EXPECT_EQ(wnd->MenuBar(), mobrigan::implicit::MenuBar1());
  auto* bar = window->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), "&File");
  EXPECT_EQ(bar->actions()[1]->text(), "&Edit");
  EXPECT_EQ(content->geometry().top(), bar->geometry().bottom() + 1);
}

TEST_F(MainWindowLayout, TheHeadingAndBylineShowTheirWholeTextOnOneLine) {
  for (const auto& text : {wnd->Text5(), wnd->Text6()}) {
    SCOPED_TRACE(text->Name());
    auto* area = qobject_cast<QTextEdit*>(W(text));
    ASSERT_NE(area, nullptr);
    QTextDocument* document = area->document();
    EXPECT_EQ(document->blockCount(), 1);
    // A second line would fall below the frame, out of sight.
    EXPECT_EQ(document->firstBlock().layout()->lineCount(), 1);
    EXPECT_LE(document->size().height(), area->viewport()->height());
  }
}

TEST_F(MainWindowLayout, TheHeadingAndBylineTakeAnyTextTheUserTypes) {
  for (const auto& text : {wnd->Text5(), wnd->Text6()}) {
    SCOPED_TRACE(text->Name());
    const std::string before = text->Text();
    QWidget* w = W(text);
    w->setFocus();
    testsupport::BeepCounter beeps;
    QTest::keyClicks(w, "xyz 12345.");
    EXPECT_EQ(text->Text().size(), before.size() + 10);
    EXPECT_EQ(beeps.count(), 0);
  }
}

// ---- the tab chain -------------------------------------------------------------------------------

QWidget* TabFrom(QWidget* w) {
  QTest::keyClick(w, Qt::Key_Tab);
  testsupport::Pump(5);
  return QApplication::focusWidget();
}

TEST_F(MainWindowLayout, TabRunsThroughTheInputFieldsAndBack) {
  Focus(wnd->RxxFld());
  QWidget* at = W(wnd->RxxFld());
  for (const auto& next : {wnd->RyyFld(), wnd->RxyFld(), wnd->RxxFld(), wnd->RyyFld()}) {
    at = TabFrom(at);
    EXPECT_EQ(at, W(next)) << "expected " << next->Name();
  }
}

TEST_F(MainWindowLayout, OnceAResultIsShownTabStopsInTheResultFieldAfterRxx) {
  Type(wnd->RxxFld(), "0.8");
  Type(wnd->RyyFld(), "0.7");
  Type(wnd->RxyFld(), "0.5");
  Press(wnd->ComputeCanvas());
  ASSERT_TRUE(W(wnd->RdFld())->isVisible());

  Focus(wnd->RxxFld());
  QWidget* at = W(wnd->RxxFld());
  for (const auto& next : {wnd->RdFld(), wnd->RyyFld(), wnd->RxyFld(), wnd->RxxFld()}) {
    at = TabFrom(at);
    EXPECT_EQ(at, W(next)) << "expected " << next->Name();
  }
}

TEST_F(MainWindowLayout, PressingTheLogoOrACaptionLeavesTheFocusWhereItWas) {
  Focus(wnd->RyyFld());
  for (const auto& name : {"Canvas1", "Text1", "Text3"}) {
    QTest::mouseClick(W(wnd->_ControlByName(name)), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(QApplication::focusWidget(), W(wnd->RyyFld())) << name;
  }
}

// ---- menu-item handles ---------------------------------------------------------------------------

struct MenuHandle {
  const char* name;
  std::function<std::shared_ptr<gui::MenuItem>(const mobrigan::ControlWnd&)> get;
  const char* cls;
};

const MenuHandle kMenuHandles[] = {
    {"EditMenu", &mobrigan::ControlWnd::EditMenu, "MenuItem"},
    {"EditSelectAll", &mobrigan::ControlWnd::EditSelectAll, "MenuItem"},
    {"UntitledMenu0", &mobrigan::ControlWnd::UntitledMenu0, "MenuItem"},
    {"EditClear", &mobrigan::ControlWnd::EditClear, "MenuItem"},
    {"EditPaste", &mobrigan::ControlWnd::EditPaste, "MenuItem"},
    {"EditCopy", &mobrigan::ControlWnd::EditCopy, "MenuItem"},
    {"EditCut", &mobrigan::ControlWnd::EditCut, "MenuItem"},
    {"UntitledMenu1", &mobrigan::ControlWnd::UntitledMenu1, "MenuItem"},
    {"EditUndo", &mobrigan::ControlWnd::EditUndo, "MenuItem"},
    {"FileMenu", &mobrigan::ControlWnd::FileMenu, "MenuItem"},
    {"FileQuit", [](const mobrigan::ControlWnd& w) { return std::shared_ptr<gui::MenuItem>(w.FileQuit()); },
     "QuitMenuItem"},
};

TEST_F(MainWindowLayout, EachMenuHandleFindsItsOwnItemDeepInTheBar) {
  for (const MenuHandle& h : kMenuHandles) {
    const auto item = h.get(*wnd);
    ASSERT_NE(item, nullptr) << h.name;
    EXPECT_EQ(item->Name(), h.name);
    EXPECT_EQ(item->ClassName(), h.cls) << h.name;
  }
  const auto& edit = wnd->EditMenu()->Children();
  ASSERT_EQ(edit.size(), 8u);
  EXPECT_EQ(wnd->EditUndo(), edit.front());
  // The separators are numbered against the menu's order: 1 is the upper one.
  EXPECT_EQ(wnd->UntitledMenu1(), edit[1]);
  EXPECT_EQ(wnd->UntitledMenu0(), edit[6]);
  EXPECT_TRUE(wnd->UntitledMenu1()->IsSeparator());
  EXPECT_EQ(wnd->FileQuit(), wnd->FileMenu()->Children().front());
}

}  // namespace
