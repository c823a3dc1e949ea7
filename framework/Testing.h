// Hooks for the test suites: the Qt widgets behind the layer's objects, what a real desktop gives
// but a headless test cannot observe (the beep, the unhandled-exception box), and a reset between
// cases. They live in the framework_testing library, which only the tests link: the program
// carries none of them.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace gui {
class Window;
class Control;
}  // namespace gui

namespace gui::testing {

// The Qt widget behind a window (its top-level widget) or a control.
QWidget* WidgetOf(const Window& window);
QWidget* ContentOf(const Window& window);
QWidget* WidgetOf(const Control& control);

// Replaces the system beep; an empty function restores it.
void SetBeepHook(std::function<void()> hook);

// Replaces what _UnhandledException shows after writing to standard error (by default a message
// box where there is a display); an empty function restores it.
void SetReportHook(std::function<void(const std::string& report)> hook);

// Closes every window without raising their events, forgets the application object, and resets
// quitting and the exit status (the beep and report hooks stay as they are). For test cases that
// share one process.
void ResetRuntime();

}  // namespace gui::testing
