// The start-up chain run as the program runs it, through mobrigan::main(): its order, what
// stands when it is over (the splash alone, the menu bar made once and shared), and what an
// error on the way leads to.
//
// The menu bar's shared instance lives for the whole process by design, so a case never assumes
// it is made during its own run, only that there is one and it is the one everybody holds.
#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Mobrigan.h"
#include "app/SharedInstances.h"
#include "app/StartUp.h"
#include "framework/Application.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "windows/AboutWnd.h"
#include "windows/ControlWnd.h"
#include "windows/MenuBar1.h"

namespace {

// Process-wide hooks of the run time cannot be taken back, so they are registered once and
// switched by these flags.
bool g_initializerFails = false;
int g_finalizerRuns = 0;

void RegisterProbesOnce() {
  static const bool registered = [] {
    gui::RegisterInitializer([] {
      if (g_initializerFails) throw gui::RuntimeException("initialiser failed");
    });
    gui::RegisterFinalizer([] { ++g_finalizerRuns; });
    return true;
  }();
  (void)registered;
}

struct Outcome {
  std::vector<std::string> routines;  // the chain's routines, as they began
  std::vector<std::string> reports;   // what reached the unhandled-exception report
  int finalizerRuns = 0;
  int status = -1;
};

// Runs mobrigan::main(). `atRoutine` sees each routine of the chain as it begins (and may throw);
// `onceRunning` runs from inside the event loop and must end the run. Without it the run is
// ended by a quit as soon as the loop turns.
Outcome RunProgram(const std::function<void(const std::string&)>& atRoutine = {},
               const std::function<void()>& onceRunning = {}) {
  RegisterProbesOnce();
  gui::testing::ResetRuntime();
  Outcome run;
  gui::testing::SetReportHook([&](const std::string& report) { run.reports.push_back(report); });
  mobrigan::startup_testing::SetStepHook([&](const std::string& routine) {
    run.routines.push_back(routine);
    if (atRoutine) atRoutine(routine);
  });
  // Ends a run whose loop would otherwise wait for a user. Started now, it fires only once the
  // event loop turns, so it stays unfired in a run that fails before its loop.
  auto* ender = new QTimer;
  ender->setSingleShot(true);
  ender->setInterval(0);
  QObject::connect(ender, &QTimer::timeout, [&] {
    if (onceRunning) onceRunning();
    gui::Quit(0);
  });
  ender->start();

  const int finalizersBefore = g_finalizerRuns;
  run.status = mobrigan::main();
  run.finalizerRuns = g_finalizerRuns - finalizersBefore;

  delete ender;
  mobrigan::startup_testing::SetStepHook({});
  gui::testing::SetReportHook({});
  gui::testing::ResetRuntime();
  return run;
}

const std::vector<std::string> kWholeChain = {
    "_Main",          "_EarlyStartup", "_InitFileTypes",   "_NewAppInstance", "_ApplicationAddMenuHandlers",
    "_LateStartup", "_MakeDefaultView",
};

TEST(StartUp, RunsTheChainInOrderAndEndsWithTheSplashAlone) {
  bool checkedEarly = false, checkedLate = false, checkedRunning = false;
  const Outcome run = RunProgram(
      [&](const std::string& routine) {
        if (routine == "_EarlyStartup") {
          // _Main has declared the version before it starts the early start-up.
          EXPECT_DOUBLE_EQ(gui::_RuntimeFrameworkVersion(), 2019.031);
          checkedEarly = true;
        }
        if (routine == "_LateStartup") {
          // The application object is complete and registered, with the shared menu bar, before
          // the layer calls back and before any window exists.
          auto app = std::dynamic_pointer_cast<mobrigan::Mobrigan>(gui::App());
          ASSERT_NE(app, nullptr);
          EXPECT_EQ(app->MenuBar(), mobrigan::implicit::MenuBar1());
          EXPECT_EQ(app->MenuBar()->Children().size(), 2u);
          EXPECT_TRUE(gui::OpenWindows().empty());
          checkedLate = true;
        }
      },
      [&] {
        const auto windows = gui::OpenWindows();
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows[0]->ClassName(), "AboutWnd");
        EXPECT_TRUE(windows[0]->Visible());
        EXPECT_EQ(gui::_GetImplicitWindow("ControlWnd.ControlWnd"), nullptr);

        auto app = gui::App();
        EXPECT_EQ(app->MajorVersion, 4);
        EXPECT_EQ(app->MinorVersion, 0);
        EXPECT_EQ(app->BugVersion, 0);
        EXPECT_EQ(app->NonReleaseVersion, 0);
        EXPECT_EQ(app->StageCode, 3);
        EXPECT_EQ(app->ShortVersion, "4.0");
        EXPECT_EQ(app->PackageInfo, "Mobrigan");
        EXPECT_NE(app->LongVersion.find("Mobrigan"), std::string::npos);
        EXPECT_EQ(app->LongVersion.find_first_of("\r\n"), std::string::npos);

        // The first request makes the main window, which takes the same menu bar.
        auto main = mobrigan::implicit::ControlWnd();
        EXPECT_EQ(gui::OpenWindows().size(), 2u);
        EXPECT_EQ(main->MenuBar(), app->MenuBar());
        EXPECT_EQ(main->MenuBar(), mobrigan::implicit::MenuBar1());
        checkedRunning = true;
      });

  EXPECT_EQ(run.routines, kWholeChain);
  EXPECT_TRUE(checkedEarly);
  EXPECT_TRUE(checkedLate);
  EXPECT_TRUE(checkedRunning);
  EXPECT_TRUE(run.reports.empty());
  EXPECT_EQ(run.finalizerRuns, 1);
  EXPECT_EQ(run.status, 0);
}

TEST(StartUp, AnErrorStopsTheChainGoesToTheReportAndOpensNoWindow) {
  struct Case {
    const char* failingRoutine;
    std::size_t routinesRun;  // how much of the chain began, the failing routine included
  };
  const Case cases[] = {
      {"_EarlyStartup", 2},
      {"_NewAppInstance", 4},  // while the application object is being made
      {"_ApplicationAddMenuHandlers", 5},
      {"_LateStartup", 6},
      {"_MakeDefaultView", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingRoutine);
    bool loopRan = false;
    std::size_t windowsAtEnd = 99;
    const Outcome run = RunProgram(
        [&](const std::string& routine) {
          if (routine == c.failingRoutine) throw gui::NilObjectException("made to fail in " + routine);
        },
        [&] { loopRan = true; });
    windowsAtEnd = gui::OpenWindows().size();

    const std::vector<std::string> expected(kWholeChain.begin(), kWholeChain.begin() + c.routinesRun);
    EXPECT_EQ(run.routines, expected);
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_NE(run.reports[0].find("NilObjectException"), std::string::npos) << run.reports[0];
    EXPECT_NE(run.reports[0].find(c.failingRoutine), std::string::npos) << run.reports[0];
    EXPECT_FALSE(loopRan);
    EXPECT_EQ(windowsAtEnd, 0u);
    EXPECT_EQ(gui::_GetImplicitWindow("AboutWnd.AboutWnd"), nullptr);
    EXPECT_EQ(run.finalizerRuns, 1);
    EXPECT_NE(run.status, 0);
  }
}

TEST(StartUp, AnErrorLeftByTheInitialisersIsReportedBeforeAnyStepOfMain) {
  g_initializerFails = true;
  const Outcome run = RunProgram();
  g_initializerFails = false;

  EXPECT_TRUE(run.routines.empty());
  ASSERT_EQ(run.reports.size(), 1u);
  EXPECT_NE(run.reports[0].find("initialiser failed"), std::string::npos) << run.reports[0];
  EXPECT_EQ(run.finalizerRuns, 1);
  EXPECT_NE(run.status, 0);
}

TEST(StartUp, AReportThatFailsStillEndsTheRunWithFinalisersAndAFailingStatus) {
  RegisterProbesOnce();
  gui::testing::ResetRuntime();
  int reportCalls = 0;
  std::vector<std::string> routines;
  gui::testing::SetReportHook([&](const std::string&) {
    ++reportCalls;
    throw std::runtime_error("the report broke");
  });
  mobrigan::startup_testing::SetStepHook([&](const std::string& routine) {
    routines.push_back(routine);
    if (routine == "_NewAppInstance") throw gui::NilObjectException("made to fail");
  });
  const int finalizersBefore = g_finalizerRuns;
  int status = 0;
  EXPECT_NO_THROW(status = mobrigan::main());
  mobrigan::startup_testing::SetStepHook({});
  gui::testing::SetReportHook({});

  EXPECT_EQ(reportCalls, 1);
  ASSERT_FALSE(routines.empty());
  EXPECT_EQ(routines.back(), "_NewAppInstance");
  EXPECT_EQ(g_finalizerRuns - finalizersBefore, 1);
  EXPECT_NE(status, 0);
  EXPECT_TRUE(gui::OpenWindows().empty());
  gui::testing::ResetRuntime();
}

}  // namespace
