#include "app/StartUp.h"

#include <exception>
#include <memory>
#include <utility>

#include "app/Mobrigan.h"
#include "app/SharedInstances.h"
#include "framework/Runtime.h"
#include "windows/MenuBar1.h"

namespace mobrigan {

namespace {

// The one line that names the program and its makers wherever the platform shows version data.
constexpr const char* kLongVersion = "Mobrigan 4.0, \u00a9 2026 the Mobrigan developers";

std::function<void(const std::string&)>& StepHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

void Step(const char* routine) {
  if (StepHook()) StepHook()(routine);
}

}  // namespace

namespace startup_testing {
void SetStepHook(std::function<void(const std::string& routine)> hook) { StepHook() = std::move(hook); }
}  // namespace startup_testing

std::int32_t main() {
  gui::RuntimeInit();
  try {
    bool initialised = false;
    try {
      gui::RuntimePerformInitializers();
      initialised = true;
    } catch (...) {
      gui::_UnhandledException(std::current_exception());
    }
    if (initialised) _Main();
  } catch (...) {
    // The report itself failed, after it had written the error to standard error and set the
    // failing exit status; the run is finished all the same.
  }
  gui::RuntimePerformFinalizers();
  return gui::RuntimeExit();
}

void _Main() {
  try {
    Step("_Main");
    gui::_RuntimeSetExceptionHelper(&gui::_CallFunctionWithExceptionHandling);
    gui::_RuntimeDeclareFrameworkVersion(2019.031);
    _EarlyStartup();
    gui::_RunFrameworkInitialization(&_LateStartup);
    gui::_RuntimeRun();
  } catch (...) {
    // The first error ends the chain; whatever it skipped (the layer's start, the loop) stays
    // undone. An error raised by the report itself passes on to main.
    gui::_UnhandledException(std::current_exception());
  }
}

void _EarlyStartup() {
  Step("_EarlyStartup");
  gui::_SetSupportsHiDPI(true);
  gui::_RuntimeInitExternalClasses();
  gui::_InitPluginEntrypoints();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
}

// The program opens no documents, so it declares no file types.
void _InitFileTypes() { Step("_InitFileTypes"); }

void _NewAppInstance() {
  Step("_NewAppInstance");
  auto app = std::make_shared<Mobrigan>();
  app->Constructor();
  app->_x_SetVersionData(4, 0, 0, 0, 3, kLongVersion, "4.0", "Mobrigan");
  app->MenuBar(implicit::MenuBar1());
  gui::_RuntimeRegisterAppObject(std::move(app));  // the layer holds it from here on
}

// The application object handles no menu item of its own.
void _ApplicationAddMenuHandlers() { Step("_ApplicationAddMenuHandlers"); }

void _LateStartup() {
  Step("_LateStartup");
  _MakeDefaultView();
}

void _MakeDefaultView() {
  Step("_MakeDefaultView");
  implicit::AboutWnd();  // the splash shows itself on creation; the layer holds it
}

}  // namespace mobrigan
