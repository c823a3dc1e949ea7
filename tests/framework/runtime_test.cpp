// The run: the exception helper, the unhandled-exception report and exit status, Quit being
// final, and the UI-thread check.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <stdexcept>
#include <thread>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "support/GuiTestSupport.h"

namespace {

struct Thrower : gui::Window {
  static constexpr const char* kClassName = "Thrower";
  std::string ClassName() const override { return kClassName; }
  std::function<void()> onPress;
  int presses = 0;
  void Layout() override { gui::_SetProperties(*this, {{"Width", 200}, {"Height", 100}, {"Title", "thrower"}}); }
  bool Event_MouseDown(std::int64_t, std::int64_t) override {
    ++presses;
    if (onPress) onPress();
    return false;
  }
};

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::testing::ResetRuntime();
    gui::testing::SetReportHook([this](const std::string& r) { reports.push_back(r); });
  }
  void TearDown() override {
    gui::testing::SetReportHook({});
    gui::testing::ResetRuntime();
  }
  std::vector<std::string> reports;
};

void ThrowRuntime(void*) { throw gui::NilObjectException("nil here"); }
void ThrowOther(void*) { throw std::logic_error("not ours"); }
void Fine(void* p) { *static_cast<int*>(p) = 7; }

TEST_F(RuntimeTest, ExceptionHelperReturnsOurErrorsAndPassesOthersOn) {
  int out = 0;
  EXPECT_EQ(gui::_CallFunctionWithExceptionHandling(&Fine, &out), nullptr);
  EXPECT_EQ(out, 7);
  auto error = gui::_CallFunctionWithExceptionHandling(&ThrowRuntime, nullptr);
  ASSERT_NE(error, nullptr);
  EXPECT_THROW(std::rethrow_exception(error), gui::NilObjectException);
  EXPECT_THROW(gui::_CallFunctionWithExceptionHandling(&ThrowOther, nullptr), std::logic_error);
}

// Whatever a handler throws, the event loop never sees it: the report is made, the run ends
// with status 1, and the program does not crash.
TEST_F(RuntimeTest, ErrorInAHandlerEndsInTheReportAndANonZeroStatus) {
  struct Case {
    const char* what;
    std::function<void()> raise;
    const char* reported;
  };
  const Case cases[] = {
      {"layer error", [] { throw gui::IllegalCastException("bad cast"); }, "IllegalCastException: bad cast"},
      {"std error", [] { throw std::out_of_range("index 9"); }, "index 9"},
      {"anything", [] { throw 42; }, "unknown type"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    reports.clear();
    auto w = std::make_shared<Thrower>();
    w->Constructor();
    w->onPress = c.raise;
    QTest::mousePress(gui::testing::ContentOf(*w), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(w->presses, 1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(c.reported), std::string::npos) << reports[0];
    EXPECT_TRUE(gui::Quitting());
    EXPECT_EQ(gui::RuntimeExit(), 1);
    gui::testing::ResetRuntime();
  }
}

TEST_F(RuntimeTest, QuitIsFinalAndTheFirstCodeStands) {
  auto w = std::make_shared<Thrower>();
  w->Constructor();
  w->Hide();
  gui::Quit(3);
  gui::Quit(0);  // a second request does no harm
  EXPECT_TRUE(gui::Quitting());
  w->Show();
  EXPECT_FALSE(w->Visible()) << "no window shows again after Quit";
  gui::MsgBox("never shown");  // returns at once instead of blocking
  EXPECT_EQ(gui::RuntimeExit(), 3);
}

TEST_F(RuntimeTest, QuitMenuItemQuitsWithZero) {
  auto quit = std::make_shared<gui::QuitMenuItem>();
  quit->Constructor();
  quit->Action();
  EXPECT_TRUE(gui::Quitting());
  EXPECT_EQ(gui::RuntimeExit(), 0);
}

TEST_F(RuntimeTest, UiOperationsRefuseOtherThreads) {
  auto item = std::make_shared<gui::MenuItem>();
  std::vector<std::function<void()>> ops = {
      [&] { item->Name("x"); },
      [&] { item->AddMenu(std::make_shared<gui::MenuItem>()); },
      [] { gui::MsgBox("hi"); },
      [] { gui::Beep(); },
      [] { gui::Quit(0); },
      [] { gui::_GetImplicitWindow("Thrower.Thrower"); },
      [] { std::make_shared<Thrower>()->Constructor(); },
  };
  for (std::size_t i = 0; i < ops.size(); ++i) {
    bool refused = false;
    std::thread t([&] {
      try {
        ops[i]();
      } catch (const gui::ThreadAccessingUIException&) {
        refused = true;
      }
    });
    t.join();
    EXPECT_TRUE(refused) << "operation " << i;
  }
  EXPECT_FALSE(gui::Quitting());
}

TEST_F(RuntimeTest, FrameworkInitialisationNeedsTheApplicationObjectAndCallsLateStartupOnce) {
  static int lateCalls;
  lateCalls = 0;
  auto late = [] { ++lateCalls; };
  // ResetRuntime (in SetUp) leaves no application object registered.
  EXPECT_THROW(gui::_RunFrameworkInitialization(late), gui::UnsupportedOperationException);
  EXPECT_EQ(lateCalls, 0);
  EXPECT_THROW(gui::_RuntimeRegisterAppObject(nullptr), gui::NilObjectException);
  gui::_RuntimeRegisterAppObject(std::make_shared<gui::Application>());
  gui::_RunFrameworkInitialization(late);
  EXPECT_EQ(lateCalls, 1);
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed()) << "closing a help window must not end the program";
}

TEST_F(RuntimeTest, RunReturnsAtOnceAfterAnEarlyQuit) {
  gui::Quit(0);
  gui::_RuntimeRun();  // would block forever if it entered the loop
  EXPECT_EQ(gui::RuntimeExit(), 0);
}

TEST_F(RuntimeTest, VersionDataReadsBack) {
  gui::Application app;
  app._x_SetVersionData(4, 0, 0, 0, 3, "long", "4.0", "Pkg");
  EXPECT_EQ(app.MajorVersion, 4);
  EXPECT_EQ(app.StageCode, 3);
  EXPECT_EQ(app.LongVersion, "long");
  EXPECT_EQ(app.ShortVersion, "4.0");
  EXPECT_EQ(app.PackageInfo, "Pkg");
}

}  // namespace
