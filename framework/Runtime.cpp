#include "framework/Runtime.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <typeinfo>

#include "framework/Application.h"
#include "framework/Object.h"
#include "framework/Window.h"
#include "framework/internal/MenuBridge.h"
#include "framework/internal/RunState.h"
#include "framework/internal/WindowFocus.h"

namespace gui {

namespace internal {
RunState& State() {
  static RunState state;
  return state;
}
}  // namespace internal

using internal::State;

namespace {

// QApplication keeps references to argc and argv for its whole life.
int g_argc = 1;
char g_arg0[] = "mobrigan";
char* g_argv[] = {g_arg0, nullptr};

std::string Describe(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const RuntimeException& e) {
    return std::string(e.TypeName()) + ": " + e.what();
  } catch (const std::exception& e) {
    return std::string("C++ exception (") + typeid(e).name() + "): " + e.what();
  } catch (...) {
    return "an exception of unknown type";
  }
}

// A box the user can read needs a real display; offscreen runs (tests, CI) write only to stderr.
bool CanShowReportBox() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

void CheckUIThread() {
  auto& s = State();
  if (!s.uiThreadKnown) {
    s.uiThread = std::this_thread::get_id();
    s.uiThreadKnown = true;
  }
  if (std::this_thread::get_id() != s.uiThread)
    throw ThreadAccessingUIException("a user-interface operation was called off the UI thread");
}

void RuntimeInit() {
  auto& s = State();
  s.uiThread = std::this_thread::get_id();
  s.uiThreadKnown = true;
  s.quitting = false;
  s.unhandled = false;
  s.exitStatus = 0;
}

void RegisterInitializer(std::function<void()> initializer) { State().initializers.push_back(std::move(initializer)); }
void RegisterFinalizer(std::function<void()> finalizer) { State().finalizers.push_back(std::move(finalizer)); }

void RuntimePerformInitializers() {
  CheckUIThread();
  for (auto& init : State().initializers) init();
}

std::exception_ptr _CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg) {
  try {
    fn(arg);
    return nullptr;
  } catch (const RuntimeException&) {
    return std::current_exception();
  }
}

void _RuntimeSetExceptionHelper(ExceptionHelper helper) { State().exceptionHelper = helper; }

void _RuntimeDeclareFrameworkVersion(double version) { State().frameworkVersion = version; }
double _RuntimeFrameworkVersion() { return State().frameworkVersion; }

void _SetSupportsHiDPI(bool on) {
  CheckUIThread();
  State().hiDPI = on;
  // Qt 6 always scales; what can still be chosen before the application exists is whether
  // fractional scale factors (1.25, 1.5) are kept or rounded to whole numbers.
  if (!QCoreApplication::instance())
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(on ? Qt::HighDpiScaleFactorRoundingPolicy::PassThrough
                                                            : Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void _RuntimeInitExternalClasses() { CheckUIThread(); }
void _InitPluginEntrypoints() { CheckUIThread(); }

void _RuntimeRegisterAppObject(std::shared_ptr<Application> app) {
  CheckUIThread();
  if (!app) throw NilObjectException("a nil application object was registered");
  State().app = std::move(app);
  if (QCoreApplication::instance() && !State().app->PackageInfo.empty())
    QCoreApplication::setApplicationName(QString::fromStdString(State().app->PackageInfo));
  internal::ReinstallApplicationShortcuts();  // windows already open take the new one's
}

std::shared_ptr<Application> App() { return State().app; }

void _RunFrameworkInitialization(void (*lateStartup)()) {
  CheckUIThread();
  auto& s = State();
  if (!s.app) throw UnsupportedOperationException("the framework was started before an application object was registered");
  if (!QCoreApplication::instance()) {
    s.ownedApp = std::make_unique<QApplication>(g_argc, g_argv);
    if (!s.app->PackageInfo.empty())
      QCoreApplication::setApplicationName(QString::fromStdString(s.app->PackageInfo));
  }
  // The program decides when it ends (its main window's close, or Quit); Qt's own rule would
  // quit when a help window closes while the main window is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  internal::FollowWindowFocus();
  if (lateStartup) lateStartup();
}

void _RuntimeRun() {
  CheckUIThread();
  auto& s = State();
  if (s.quitting) return;
  if (!QCoreApplication::instance()) throw UnsupportedOperationException("the event loop was started before the framework");
  const int rc = QCoreApplication::exec();
  if (!s.quitting) {  // the loop ended by other means than Quit (Qt's own quit)
    s.quitting = true;
    s.exitStatus = rc;
  }
}

void _UnhandledException(std::exception_ptr error) {
  auto& s = State();
  const std::string report = "Mobrigan: unhandled error: " + Describe(error);
  std::fprintf(stderr, "%s\n", report.c_str());
  std::fflush(stderr);
  const bool nested = s.reporting;
  // Nothing else may show or fire while the run ends.
  s.quitting = true;
  s.unhandled = true;
  s.exitStatus = 1;
  if (!nested) {
    s.reporting = true;
    struct Done {
      ~Done() { State().reporting = false; }
    } done;
    if (s.reportHook) {
      s.reportHook(report);
    } else if (CanShowReportBox()) {
      QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                      QString::fromStdString("The program met an error it cannot recover from and will end.\n\n" +
                                             Describe(error)),
                      QMessageBox::Ok);
      box.exec();
    }
  }
  if (QCoreApplication::instance()) QCoreApplication::exit(1);
}

bool _DispatchSafely(const std::function<void()>& body) {
  auto& s = State();
  ExceptionHelper helper = s.exceptionHelper ? s.exceptionHelper : &_CallFunctionWithExceptionHandling;
  try {
    auto trampoline = [](void* p) { (*static_cast<const std::function<void()>*>(p))(); };
    std::exception_ptr error = helper(trampoline, const_cast<void*>(static_cast<const void*>(&body)));
    if (!error) return true;
    _UnhandledException(error);
  } catch (...) {
    // Not a RuntimeException, or the report itself failed: still never into Qt's event loop.
    try {
      _UnhandledException(std::current_exception());
    } catch (...) {
      s.quitting = true;
      s.unhandled = true;
      s.exitStatus = 1;
      if (QCoreApplication::instance()) QCoreApplication::exit(1);
    }
  }
  return false;
}

void RuntimePerformFinalizers() {
  auto& s = State();
  for (auto& fin : s.finalizers) fin();
}

std::int32_t RuntimeExit() {
  auto& s = State();
  internal::DestroyAllWindows();
  if (s.ownedApp) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.ownedApp.reset();
  }
  return s.exitStatus;
}

void Quit(std::int32_t code) {
  CheckUIThread();
  auto& s = State();
  if (!s.quitting) {
    s.quitting = true;
    s.exitStatus = code;
  }
  // exit(), not quit(): quit() asks the windows first and could be refused.
  if (QCoreApplication::instance()) QCoreApplication::exit(s.exitStatus);
}

bool Quitting() { return State().quitting; }

void MsgBox(const std::string& text) {
  CheckUIThread();
  if (State().quitting) return;
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw UnsupportedOperationException("a message box needs the framework to be running");
  QPointer<QWidget> parent = QApplication::activeWindow();
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), QString::fromStdString(text),
                  QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  // Without a window manager nobody hands the activation back, and the focus that the caller
  // sets next would land in an inactive window.
  if (parent && parent->isVisible() && !State().quitting) parent->activateWindow();
}

void Beep() {
  CheckUIThread();
  auto& s = State();
  if (s.beepHook) {
    s.beepHook();
    return;
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

}  // namespace gui
