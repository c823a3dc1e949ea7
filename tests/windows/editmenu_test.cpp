// The Edit menu acts on the field the user is working in, however the menu is reached: by a
// click, by moving over from the open File menu, by Alt+letter, by the arrow keys, or opened again
// after Escape. Some of these routes hand the focus to the menu bar for a while (Qt does so for
// keyboard use and while one open menu hands over to the next); the field must come through with
// its text, selection and cursor, and the Edit items must judge that field, not the menu bar. So
// must it when the user leaves the window while the menu bar has the keyboard, and comes back.
// And whichever way a paste comes, Undo takes back the paste alone.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTextEdit>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>

#include "MainWindowFixture.h"
#include "app/SharedInstances.h"
#include "windows/helpWnd.h"

namespace {

class EditMenuTest : public MainWindowTest {
 public:  // the routes below drive the window through these
  QMenuBar* Bar() const { return gui::testing::WidgetOf(*wnd)->findChild<QMenuBar*>(); }

  QAction* MenuAction(const char* name) const {
    for (QAction* action : Bar()->actions())
      if (action->objectName() == QLatin1String(name)) return action;
    return nullptr;
  }
  QMenu* Menu(const char* name) const { return MenuAction(name)->menu(); }

  QAction* Item(const char* name) const {
    for (QAction* action : Menu("EditMenu")->actions())
      if (action->objectName() == QLatin1String(name)) return action;
    return nullptr;
  }

  QPoint OnBar(const char* menu) const { return Bar()->actionGeometry(MenuAction(menu)).center(); }

  // A key as the user presses it: to the open menu when there is one, else to the focus.
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::activePopupWidget();
    if (!to) to = QApplication::focusWidget();
    QTest::keyClick(to, key, modifiers);
    testsupport::Pump();
  }

  void ClickOnBar(const char* menu) {
    QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, OnBar(menu));
    testsupport::Pump();
  }

  // The pointer moves over the bar while a menu is open; the open menu hands the move on to the
  // bar, as it does for a real pointer.
  void MoveOnBar(const char* menu) {
    const QPoint at = OnBar(menu);
    QMouseEvent move(QEvent::MouseMove, at, Bar()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Bar(), &move);
    testsupport::Pump();
  }

  void ClickItem(const char* name) {
    QMenu* menu = Menu("EditMenu");
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(Item(name)).center());
    testsupport::Pump();
  }

  // Alt pressed and released on its own: the menu bar takes the keyboard.
  static void AltAlone() {
    QWidget* to = QApplication::focusWidget();
    QTest::keyPress(to, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(to, Qt::Key_Alt, Qt::AltModifier);
    testsupport::Pump();
  }

  // Escape until no menu is open and the bar has given the focus back.
  void LeaveMenus() {
    for (int i = 0; i < 4 && (QApplication::activePopupWidget() || QApplication::focusWidget() == Bar()); ++i)
      Key(Qt::Key_Escape);
  }

  // ".85" typed into RxxFld and, when `select`, selected with Ctrl+A as the user would.
  QLineEdit* Prepare(bool select) {
    Focus(wnd->RxxFld());
    Type(wnd->RxxFld(), ".85");
    QLineEdit* edit = Edit(wnd->RxxFld());
    if (select) QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    // What the user does next comes after this has been dealt with, the window's activation
    // included: a line edit that lacks the focus then drops its selection.
    testsupport::Pump();
    return edit;
  }

  // What the Edit items offer on the ".85" that Prepare typed, with text on the clipboard.
  static std::map<std::string, bool> ItemsOn85(bool selected) {
    return {
        {"EditUndo", true},      {"EditCut", selected},   {"EditCopy", selected},
        {"EditPaste", true},     {"EditClear", selected}, {"EditSelectAll", true},
    };
  }

  std::map<std::string, bool> EditItemsEnabled() const {
    std::map<std::string, bool> enabled;
    for (const char* name : {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"})
      enabled[name] = Item(name)->isEnabled();
    return enabled;
  }
};

struct Route {
  const char* what;
  std::function<void(EditMenuTest&)> open;  // leaves the Edit menu open
};

void PrintTo(const Route& r, std::ostream* os) { *os << r.what; }

class EditMenuRoutes : public EditMenuTest, public ::testing::WithParamInterface<Route> {};

const Route kRoutes[] = {
    {"a click on Edit", [](EditMenuTest& t) { t.ClickOnBar("EditMenu"); }},
    {"moving onto Edit from the open File menu",
     [](EditMenuTest& t) {
       t.ClickOnBar("FileMenu");
       t.MoveOnBar("EditMenu");
     }},
    {"Alt+E", [](EditMenuTest&) { EditMenuTest::Key(Qt::Key_E, Qt::AltModifier); }},
    {"Alt+F then Right",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_F, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_Right);
     }},
    {"a click on File then Right",
     [](EditMenuTest& t) {
       t.ClickOnBar("FileMenu");
       EditMenuTest::Key(Qt::Key_Right);
     }},
    {"Alt+E, Escape, then Down to open it again",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_Escape);
       EditMenuTest::Key(Qt::Key_Down);
     }},
    {"a click on Edit, Escape, then a click on Edit again",
     [](EditMenuTest& t) {
       t.ClickOnBar("EditMenu");
       EditMenuTest::Key(Qt::Key_Escape);
       t.ClickOnBar("EditMenu");
     }},
};

TEST_P(EditMenuRoutes, TheItemsJudgeTheFieldAndTheFieldKeepsItsSelection) {
  QGuiApplication::clipboard()->setText(QStringLiteral("0.3"));
  for (const bool selected : {true, false}) {
    SCOPED_TRACE(selected ? "with .85 selected" : "with nothing selected");
    QLineEdit* edit = Prepare(selected);
    const std::string selection = edit->selectedText().toStdString();
    const int cursor = edit->cursorPosition();

    GetParam().open(*this);
    ASSERT_TRUE(Menu("EditMenu")->isVisible()) << "the Edit menu is open";
    EXPECT_EQ(EditItemsEnabled(), ItemsOn85(selected));
    EXPECT_EQ(edit->text().toStdString(), ".85");
    EXPECT_EQ(edit->selectedText().toStdString(), selection) << "while the menu is open";
    EXPECT_EQ(edit->cursorPosition(), cursor);

    LeaveMenus();
    EXPECT_FALSE(QApplication::activePopupWidget());
    EXPECT_EQ(QApplication::focusWidget(), edit) << "the focus is back in the field";
    EXPECT_EQ(edit->text().toStdString(), ".85");
    EXPECT_EQ(edit->selectedText().toStdString(), selection) << "after the menu was left with Escape";
    EXPECT_EQ(edit->cursorPosition(), cursor);

    Focus(wnd->RxxFld());
    edit->clear();
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, EditMenuRoutes, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

struct Command {
  const char* what;
  std::function<void(EditMenuTest&)> steps;
  const char* fieldAfter;  // RxxFld's text once the command has run
};

void PrintTo(const Command& c, std::ostream* os) { *os << c.what; }

class EditMenuCommands : public EditMenuTest, public ::testing::WithParamInterface<Command> {};

const Command kCommands[] = {
    {"Alt+E, C copies",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_C);
     },
     ".85"},
    {"Alt+E, T cuts",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_T);
     },
     ""},
    {"Alt+F, Right, C copies",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_F, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_Right);
       EditMenuTest::Key(Qt::Key_C);
     },
     ".85"},
    {"Copy clicked in the Edit menu reached from File copies",
     [](EditMenuTest& t) {
       t.ClickOnBar("FileMenu");
       t.MoveOnBar("EditMenu");
       t.ClickItem("EditCopy");
     },
     ".85"},
    {"Ctrl+C after Alt+E and Escape copies",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_Escape);
       EditMenuTest::Key(Qt::Key_C, Qt::ControlModifier);
     },
     ".85"},
};

TEST_P(EditMenuCommands, ActOnTheFieldsSelection) {
  QGuiApplication::clipboard()->setText(QStringLiteral("0.3"));
  QLineEdit* edit = Prepare(true);
  GetParam().steps(*this);
  LeaveMenus();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), ".85");
  EXPECT_EQ(edit->text().toStdString(), GetParam().fieldAfter);
  EXPECT_EQ(QApplication::focusWidget(), edit);
}

INSTANTIATE_TEST_SUITE_P(Commands, EditMenuCommands, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

// ---- leaving the window while the menu bar has the keyboard -------------------------------------

class EditMenuAway;

struct Away {
  const char* what;
  std::function<void(EditMenuAway&)> leave;  // the menu bar has the keyboard; the help window ends up active
};

void PrintTo(const Away& a, std::ostream* os) { *os << a.what; }

class EditMenuAway : public EditMenuTest, public ::testing::WithParamInterface<Away> {
 public:
  QWidget* Main() const { return gui::testing::WidgetOf(*wnd); }

  // The Help picture pressed: the help window comes up and is active.
  void OpenHelp() {
    Press(wnd->Help());
    ASSERT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*mobrigan::implicit::helpWnd())));
  }

  void TearDown() override {
    if (auto help = gui::_GetImplicitWindow("helpWnd.helpWnd")) help->Close();
    EditMenuTest::TearDown();
  }
};

const Away kAways[] = {
    {"Alt, then the Help picture",
     [](EditMenuAway& t) {
       EditMenuTest::AltAlone();
       t.OpenHelp();
     }},
    {"Alt, the Help picture, then a click into the help text",
     [](EditMenuAway& t) {
       EditMenuTest::AltAlone();
       t.OpenHelp();
       QWidget* text = gui::testing::WidgetOf(*mobrigan::implicit::helpWnd()->EditField1());
       QTest::mouseClick(qobject_cast<QTextEdit*>(text)->viewport(), Qt::LeftButton);
       ASSERT_EQ(QApplication::focusWidget(), text);
     }},
    {"Alt+E, Escape, then the Help picture",
     [](EditMenuAway& t) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_Escape);
       t.OpenHelp();
     }},
};

TEST_P(EditMenuAway, ComingBackTheFieldHasTheKeyboardWithItsSelection) {
  QGuiApplication::clipboard()->setText(QStringLiteral("0.3"));
  for (const bool selected : {true, false}) {
    SCOPED_TRACE(selected ? "with .85 selected" : "with nothing selected");
    QLineEdit* edit = Prepare(selected);
    const std::string selection = edit->selectedText().toStdString();
    const int cursor = edit->cursorPosition();

    GetParam().leave(*this);
    ASSERT_NE(QApplication::activeWindow(), Main()) << "the help window is active";
    Main()->activateWindow();  // a click on the title, or Alt+Tab
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main()));
    testsupport::Pump();

    EXPECT_EQ(QApplication::focusWidget(), edit) << "the field has the keyboard again";
    EXPECT_EQ(Bar()->activeAction(), nullptr) << "the menu bar's keyboard mode has ended";
    EXPECT_EQ(edit->text().toStdString(), ".85");
    EXPECT_EQ(edit->selectedText().toStdString(), selection);
    EXPECT_EQ(edit->cursorPosition(), cursor);

    ClickOnBar("EditMenu");
    ASSERT_TRUE(Menu("EditMenu")->isVisible());
    EXPECT_EQ(EditItemsEnabled(), ItemsOn85(selected)) << "the Edit menu judges the field";
    LeaveMenus();

    Key(Qt::Key_5);
    EXPECT_EQ(edit->text().toStdString(), selected ? "5" : ".855") << "typing reaches the field";
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text().toStdString(), selected ? "50.3" : ".8550.3") << "and so does the Edit menu's Paste";

    if (auto help = gui::_GetImplicitWindow("helpWnd.helpWnd")) help->Close();
    Main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main()));
    Focus(wnd->RxxFld());
    edit->clear();
  }
}

INSTANTIATE_TEST_SUITE_P(Aways, EditMenuAway, ::testing::ValuesIn(kAways),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

// ---- Undo after a paste -------------------------------------------------------------------------

struct PastePath {
  const char* what;
  std::function<void(EditMenuTest&, QLineEdit*)> paste;
};

struct PastedCase {
  const char* what;
  const char* field;                          // RxxFld or RxyFld
  std::function<void(EditMenuTest&)> before;  // what the user does before the paste
  const char* clipboard;
  const char* pasted;  // the field's text after the paste
  const char* undone;  // after Ctrl+Z: exactly the text before the paste
};

void PrintTo(const std::tuple<PastePath, PastedCase>& p, std::ostream* os) {
  *os << std::get<0>(p).what << ", " << std::get<1>(p).what;
}

const PastePath kPastePaths[] = {
    {"Ctrl+V", [](EditMenuTest&, QLineEdit*) { EditMenuTest::Key(Qt::Key_V, Qt::ControlModifier); }},
    {"Alt+E, P",
     [](EditMenuTest&, QLineEdit*) {
       EditMenuTest::Key(Qt::Key_E, Qt::AltModifier);
       EditMenuTest::Key(Qt::Key_P);
     }},
    {"Paste clicked in the Edit menu",
     [](EditMenuTest& t, QLineEdit*) {
       t.ClickOnBar("EditMenu");
       t.ClickItem("EditPaste");
     }},
    {"Paste in the field's context menu", [](EditMenuTest&, QLineEdit* edit) { testsupport::PasteByContextMenu(edit); }},
};

const PastedCase kPastedCases[] = {
    {"12 typed, then 34", "RxxFld",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_1);
       EditMenuTest::Key(Qt::Key_2);
     },
     "34", "1234", "12"},
    {"a paste cut to seven characters", "RxyFld",
     [](EditMenuTest&) {
       for (Qt::Key k : {Qt::Key_Minus, Qt::Key_Period, Qt::Key_2}) EditMenuTest::Key(k);
     },
     "123456789", "-.21234", "-.2"},
    {"after the field was emptied and typed into again", "RxxFld",
     [](EditMenuTest&) {
       EditMenuTest::Key(Qt::Key_1);
       EditMenuTest::Key(Qt::Key_2);
       EditMenuTest::Key(Qt::Key_V, Qt::ControlModifier);
       EditMenuTest::Key(Qt::Key_A, Qt::ControlModifier);
       EditMenuTest::Key(Qt::Key_Backspace);
       EditMenuTest::Key(Qt::Key_1);
       EditMenuTest::Key(Qt::Key_2);
     },
     "123456789", "1212345", "12"},
};

class EditMenuPasteUndo : public EditMenuTest,
                          public ::testing::WithParamInterface<std::tuple<PastePath, PastedCase>> {};

TEST_P(EditMenuPasteUndo, UndoTakesBackThePasteAloneAndRedoPutsItBack) {
  const auto& [path, c] = GetParam();
  const auto field = std::string(c.field) == "RxyFld" ? wnd->RxyFld() : wnd->RxxFld();
  QLineEdit* edit = Edit(field);
  Press(wnd->ClearCanvas());
  Focus(field);
  QGuiApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
  c.before(*this);
  path.paste(*this, edit);
  ASSERT_TRUE(FocusEndsIn(field));
  ASSERT_EQ(field->Text(), c.pasted);

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field->Text(), c.undone);
  EXPECT_FALSE(edit->hasSelectedText()) << edit->selectedText().toStdString();
  edit->redo();  // the context menu's Redo
  EXPECT_EQ(field->Text(), c.pasted);
}

INSTANTIATE_TEST_SUITE_P(Pastes, EditMenuPasteUndo,
                         ::testing::Combine(::testing::ValuesIn(kPastePaths), ::testing::ValuesIn(kPastedCases)),
                         [](const auto& info) {
                           return testsupport::CaseName(std::get<0>(info.param).what) + "_" +
                                  testsupport::CaseName(std::get<1>(info.param).what);
                         });

}  // namespace
