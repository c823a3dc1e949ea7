// The run of a program on the layer: start, initialisation, the event loop, quitting and the
// exit status, the unhandled-exception report, and the few global services (message box, beep).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace gui {

class Application;

// ---- the run, in the order a program calls it ------------------------------------------------
// Starts the run time: the calling thread becomes the UI thread; the exit status is reset.
void RuntimeInit();
// Runs the initialisers registered with RegisterInitializer, in registration order.
void RuntimePerformInitializers();
void RegisterInitializer(std::function<void()> initializer);
void RegisterFinalizer(std::function<void()> finalizer);

// The exception-handling routine: calls fn(arg) and returns the RuntimeException that escaped
// the call (as an exception_ptr), or nullptr when none did; any other exception passes on.
using ExceptionHelper = std::exception_ptr (*)(void (*fn)(void*), void* arg);
std::exception_ptr _CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg);
// The layer calls every event handler through this routine.
void _RuntimeSetExceptionHelper(ExceptionHelper helper);

// The framework version the program was built for; recorded, not otherwise used.
void _RuntimeDeclareFrameworkVersion(double version);
double _RuntimeFrameworkVersion();

// High-resolution display support; must be switched before _RunFrameworkInitialization.
void _SetSupportsHiDPI(bool on);
void _RuntimeInitExternalClasses();
void _InitPluginEntrypoints();

// The application object; the layer holds it from now to the end of the run.
void _RuntimeRegisterAppObject(std::shared_ptr<Application> app);
std::shared_ptr<Application> App();

// Makes the Qt application (when none exists yet) and calls `lateStartup` once, on the UI thread.
// Raises UnsupportedOperationException when no application object is registered.
void _RunFrameworkInitialization(void (*lateStartup)());
// Runs the event loop until the program quits; returns at once when it has already quit.
void _RuntimeRun();

// Reports an error that no handler caught (standard error, and a message box where there is a
// display), and ends the run with a non-zero exit status.
void _UnhandledException(std::exception_ptr error);

// Runs the finalisers registered with RegisterFinalizer, in registration order; windows are
// still open then.
void RuntimePerformFinalizers();
// Ends the run: destroys every open window without raising its events, ends the Qt application
// when the layer made it, and returns the process's exit status: the code given to Quit, 0 when
// the run ended normally, 1 after an unhandled error.
std::int32_t RuntimeExit();

// ---- services -------------------------------------------------------------------------------
// Ends the program with `code`. Final: no window shows again and no timer fires after it; a
// second Quit does no harm (the first code stands).
void Quit(std::int32_t code = 0);
bool Quitting();

// A modal message box with one text and an OK button; returns once it is dismissed.
void MsgBox(const std::string& text);
// The system alert sound.
void Beep();

// Runs an event handler's body through the exception helper. An error that escapes it (a
// RuntimeException or any other exception) goes to _UnhandledException and never further: no
// exception crosses the Qt event loop. False when the body did not complete.
bool _DispatchSafely(const std::function<void()>& body);

// Raises ThreadAccessingUIException when called off the UI thread.
void CheckUIThread();

}  // namespace gui
