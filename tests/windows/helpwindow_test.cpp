// The help window: its frame and text area, the one shared window while it is open, and what
// becomes of the user's edits.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "app/SharedInstances.h"
#include "framework/Controls.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "resources/HelpText.h"
#include "support/GuiTestSupport.h"
#include "windows/helpWnd.h"

namespace {

using gui::testing::WidgetOf;

int CountOpenHelpWindows() {
  int n = 0;
  for (const auto& w : gui::OpenWindows()) n += w->ClassName() == "helpWnd";
  return n;
}

class HelpWindow : public ::testing::Test {
 protected:
  void SetUp() override { gui::testing::ResetRuntime(); }
  void TearDown() override { gui::testing::ResetRuntime(); }

  // The user closes the window with its close button.
  static void CloseAsTheUser(const std::shared_ptr<mobrigan::helpWnd>& help) {
    ASSERT_TRUE(WidgetOf(*help)->close());
    testsupport::Pump(10);
  }
};

TEST_F(HelpWindow, OpensTitledAtItsFixedSizeWithCloseAndMinimiseOnly) {
  auto help = mobrigan::implicit::helpWnd();
  QWidget* window = WidgetOf(*help);
  EXPECT_TRUE(help->Visible());
  EXPECT_EQ(window->windowTitle(), "Tolvane Info");
  EXPECT_EQ(gui::testing::ContentOf(*help)->size(), QSize(550, 500));
  EXPECT_EQ(help->MenuBar(), nullptr);

  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);
  // Not resizeable: the frame cannot grow or shrink.
  EXPECT_EQ(window->minimumSize(), window->maximumSize());

  // The text area reaches one pixel past the left and top edges, meets the right edge, and
  // leaves three pixels free at the bottom.
  QWidget* field = WidgetOf(*help->EditField1());
  EXPECT_EQ(field->geometry(), QRect(-1, -1, 551, 498));
  EXPECT_EQ(help->EditField1()->Text(), std::string(mobrigan::HelpText()));
}

TEST_F(HelpWindow, RequestsWhileItIsOpenGiveTheOneWindow) {
  auto first = mobrigan::implicit::helpWnd();
  first->Show();
  auto second = mobrigan::implicit::helpWnd();
  second->Show();
  auto third = mobrigan::implicit::helpWnd();
  third->Show();
  EXPECT_EQ(second, first);
  EXPECT_EQ(third, first);
  EXPECT_EQ(CountOpenHelpWindows(), 1);
}

TEST_F(HelpWindow, EditsLastWhileItIsOpenAndAreGoneOnceItWasClosed) {
  auto help = mobrigan::implicit::helpWnd();
  QWidget* field = WidgetOf(*help->EditField1());
  field->setFocus();
  QTest::keyClicks(field, "My note");
  const std::string edited = help->EditField1()->Text();
  ASSERT_NE(edited.find("My note"), std::string::npos);

  auto again = mobrigan::implicit::helpWnd();
  again->Show();
  EXPECT_EQ(again, help);
  EXPECT_EQ(again->EditField1()->Text(), edited);

  CloseAsTheUser(help);
  EXPECT_FALSE(help->IsOpen());
  EXPECT_EQ(CountOpenHelpWindows(), 0);

  auto fresh = mobrigan::implicit::helpWnd();
  EXPECT_NE(fresh, help);
  EXPECT_TRUE(fresh->Visible());
  EXPECT_EQ(fresh->EditField1()->Text(), std::string(mobrigan::HelpText()));
  EXPECT_EQ(CountOpenHelpWindows(), 1);
}

TEST_F(HelpWindow, TabInTheTextInsertsNoTab) {
  auto help = mobrigan::implicit::helpWnd();
  QWidget* field = WidgetOf(*help->EditField1());
  // Tab in a text that holds the focus, as the user types it: the only control of its window,
  // the text has nowhere to pass the focus on to.
  ASSERT_TRUE(QTest::qWaitForWindowActive(WidgetOf(*help)));
  field->setFocus();
  ASSERT_TRUE(field->hasFocus());
  QTest::keyClick(field, Qt::Key_Tab);
  QTest::keyClick(field, Qt::Key_Tab, Qt::ShiftModifier);
  const std::string text = help->EditField1()->Text();
  EXPECT_EQ(text.find('\t'), std::string::npos);
  EXPECT_EQ(text, std::string(mobrigan::HelpText()));
}

}  // namespace
