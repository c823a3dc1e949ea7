// Hooks for the test suites: what a real desktop gives but a headless test cannot observe (the
// beep, the unhandled-exception box), a way to make a resource missing, and a reset between
// cases. The program itself never calls these.
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

// Where Picture::_OpenFromApp looks: a Qt resource prefix (":/app/", the default) or a folder
// on disk ending in "/". An empty text restores the default.
void SetResourceRoot(const std::string& root);
// How many files Picture::_OpenFromApp has read since the start (or the last reset).
int PictureReads();

// Closes every window without raising their events, forgets the application object, and resets
// quitting, the exit status, the picture read count and the resource root (the beep and report hooks stay as they are). For
// test cases that share one process.
void ResetRuntime();

}  // namespace gui::testing
