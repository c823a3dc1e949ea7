// The Edit menu acts on the field the user is working in, however the menu is reached: by a
// click, by moving over from the open File menu, by Alt+letter, by the arrow keys, or opened again
// after Escape. Some of these routes hand the focus to the menu bar for a while (Qt does so for
// keyboard use and while one open menu hands over to the next); the field must come through with
// its text, selection and cursor, and the Edit items must judge that field, not the menu bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "MainWindowFixture.h"

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
    const std::map<std::string, bool> expected = {
        {"EditUndo", true},      {"EditCut", selected},   {"EditCopy", selected},
        {"EditPaste", true},     {"EditClear", selected}, {"EditSelectAll", true},
    };
    EXPECT_EQ(EditItemsEnabled(), expected);
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

}  // namespace
