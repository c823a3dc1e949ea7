// The Clear and Help picture buttons, and the end of the program when the main window closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <ostream>
#include <string>

#include "framework/Window.h"
#include "MainWindowFixture.h"

namespace {

// ---- Clear ---------------------------------------------------------------------------------------

enum class Before { Nothing, Fault, Success };

struct ClearCase {
  const char* what;
  const char* rxx;
  const char* ryy;
  const char* rxy;
  Before press;     // what a press on Compute did before Clear
  const char* focus;  // where the focus was before Clear
};

void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.what; }

const ClearCase kClearCases[] = {
    {"empty form", "", "", "", Before::Nothing, "RxyFld"},
    {"after a fault in Ryy", "0.5", "", "", Before::Fault, "RyyFld"},
    {"after a fault in Rxy", "0.5", "0.5", "2", Before::Fault, "RxyFld"},
    {"after a result", "0.8", "0.7", "0.5", Before::Success, "RxyFld"},
};

class Clear : public MainWindowTest, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(Clear, EmptiesTheFormHidesTheResultAndFocusesRxx) {
  const ClearCase& c = GetParam();
  Type(wnd->RxxFld(), c.rxx);
  Type(wnd->RyyFld(), c.ryy);
  Type(wnd->RxyFld(), c.rxy);
  if (c.press != Before::Nothing) {
    testsupport::ModalAnswerer answerer;
    Press(wnd->ComputeCanvas());
    ASSERT_EQ(answerer.texts().isEmpty(), c.press == Before::Success);
  }
  // A fault has put the focus into its field; otherwise the user left it in the last one.
  if (c.press != Before::Fault) Focus(wnd->RxyFld());
  ASSERT_TRUE(FocusEndsIn(wnd->_ControlByName(c.focus)));
  ASSERT_EQ(W(wnd->RdFld())->isVisible(), c.press == Before::Success);

  testsupport::BeepCounter beeps;
  testsupport::ModalAnswerer answerer;
  Press(wnd->ClearCanvas());

  EXPECT_TRUE(FocusEndsIn(wnd->RxxFld()));
  for (const auto& fld : {wnd->RxxFld(), wnd->RyyFld(), wnd->RxyFld(), wnd->RdFld()}) {
    EXPECT_EQ(fld->Text(), "") << fld->Name();
    EXPECT_EQ(Edit(fld)->text(), "") << fld->Name();
  }
  EXPECT_FALSE(W(wnd->RdFld())->isVisible());
  EXPECT_FALSE(W(wnd->RdText())->isVisible());
  EXPECT_EQ(wnd->RdText()->Text(), "Reliability of difference score");
  EXPECT_EQ(beeps.count(), 0);
  EXPECT_TRUE(answerer.texts().isEmpty());

  // The form works as new: the next result shows again.
  Type(wnd->RxxFld(), "1");
  Type(wnd->RyyFld(), "1");
  Type(wnd->RxyFld(), "0");
  Press(wnd->ComputeCanvas());
  EXPECT_TRUE(W(wnd->RdText())->isVisible());
  EXPECT_EQ(wnd->RdFld()->Text(), "1.0000");
}

INSTANTIATE_TEST_SUITE_P(States, Clear, ::testing::ValuesIn(kClearCases),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

using ClearButton = MainWindowTest;

TEST_F(ClearButton, TheEditMenusClearItemIsNotTheClearButton) {
  Type(wnd->RxxFld(), "0.8");
  Type(wnd->RyyFld(), "0.7");
  Type(wnd->RxyFld(), "0.5");
  Press(wnd->ComputeCanvas());
  ASSERT_EQ(wnd->RdFld()->Text(), ".5000");
  Focus(wnd->RyyFld());
  Edit(wnd->RyyFld())->selectAll();

  auto* item = gui::testing::WidgetOf(*wnd)->findChild<QAction*>("EditClear");
  ASSERT_NE(item, nullptr);
  item->trigger();

  // The menu's Clear works on the focused field alone.
  EXPECT_EQ(wnd->RyyFld()->Text(), "");
  EXPECT_EQ(wnd->RxxFld()->Text(), "0.8");
  EXPECT_EQ(wnd->RxyFld()->Text(), "0.5");
  EXPECT_TRUE(W(wnd->RdFld())->isVisible());
  EXPECT_EQ(wnd->RdFld()->Text(), ".5000");
  EXPECT_EQ(QApplication::focusWidget(), W(wnd->RyyFld()));
}

// ---- Help ----------------------------------------------------------------------------------------

int OpenHelpWindows() {
  int n = 0;
  for (const auto& w : gui::OpenWindows()) n += w->ClassName() == "helpWnd";
  return n;
}

std::shared_ptr<gui::Window> HelpWindow() { return gui::_GetImplicitWindow("helpWnd.helpWnd"); }

std::shared_ptr<gui::TextArea> HelpText(const std::shared_ptr<gui::Window>& help) {
  return gui::RuntimeCheckCast<gui::TextArea>(help->_ControlByName("EditField1"));
}

using HelpButton = MainWindowTest;

TEST_F(HelpButton, OpensOneHelpWindowHoweverOftenPressed) {
  ASSERT_EQ(OpenHelpWindows(), 0);
  for (int i = 0; i < 3; ++i) Press(wnd->Help());
  EXPECT_EQ(OpenHelpWindows(), 1);
  ASSERT_NE(HelpWindow(), nullptr);
  EXPECT_TRUE(gui::testing::WidgetOf(*HelpWindow())->isVisible());
  // Help changes nothing in the main window.
  EXPECT_TRUE(wnd->IsOpen());
  EXPECT_FALSE(W(wnd->RdFld())->isVisible());
}

TEST_F(HelpButton, EditsLastAsLongAsTheHelpWindowIsOpen) {
  Press(wnd->Help());
  const auto help = HelpWindow();
  ASSERT_NE(help, nullptr);
  const std::string laidOut = HelpText(help)->Text();
  ASSERT_FALSE(laidOut.empty());

  QWidget* text = gui::testing::WidgetOf(*HelpText(help));
  text->setFocus();
  QTest::keyClicks(text, "zq");
  const std::string edited = HelpText(help)->Text();
  ASSERT_NE(edited, laidOut);

  // Brought back from behind the main window: the same window, in front, its edits kept.
  wnd->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*wnd), 2000));
  Press(wnd->Help());
  EXPECT_EQ(HelpWindow(), help);
  EXPECT_EQ(HelpText(HelpWindow())->Text(), edited);
  EXPECT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*help), 2000));

  // Closed by the user: the program goes on, and the next Help shows the text as laid out.
  gui::testing::WidgetOf(*help)->close();
  testsupport::Pump(20);
  EXPECT_EQ(OpenHelpWindows(), 0);
  EXPECT_FALSE(gui::Quitting());
  EXPECT_TRUE(wnd->IsOpen());

  Press(wnd->Help());
  ASSERT_NE(HelpWindow(), nullptr);
  EXPECT_NE(HelpWindow(), help);
  EXPECT_EQ(HelpText(HelpWindow())->Text(), laidOut);
  EXPECT_EQ(OpenHelpWindows(), 1);
}

// ---- closing the main window ---------------------------------------------------------------------

struct CloseCase {
  const char* what;
  bool helpOpen;
  bool byLayer;  // Window::Close rather than the user's close on the widget
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.what; }

const CloseCase kCloseCases[] = {
    {"user_close", false, false},
    {"user_close_with_help_open", true, false},
    {"layer_close_with_help_open", true, true},
};

class ClosingMainWindow : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingMainWindow, QuitsWithCodeZero) {
  const CloseCase& c = GetParam();
  if (c.helpOpen) {
    Press(wnd->Help());
    ASSERT_NE(HelpWindow(), nullptr);
  }
  ASSERT_FALSE(gui::Quitting());

  testsupport::ModalAnswerer answerer;
  if (c.byLayer) wnd->Close();
  else gui::testing::WidgetOf(*wnd)->close();
  testsupport::Pump(20);

  EXPECT_TRUE(gui::Quitting());
  EXPECT_TRUE(answerer.texts().isEmpty());  // no question, no message
  EXPECT_FALSE(wnd->IsOpen());
  EXPECT_EQ(gui::RuntimeExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingMainWindow, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
