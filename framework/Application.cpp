#include "framework/Application.h"

#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/internal/MenuBridge.h"

namespace gui {

void Application::_x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion, std::int64_t bugVersion,
                                    std::int64_t nonReleaseVersion, std::int64_t stageCode, std::string longVersion,
                                    std::string shortVersion, std::string packageInfo) {
  MajorVersion = majorVersion;
  MinorVersion = minorVersion;
  BugVersion = bugVersion;
  NonReleaseVersion = nonReleaseVersion;
  StageCode = stageCode;
  LongVersion = std::move(longVersion);
  ShortVersion = std::move(shortVersion);
  PackageInfo = std::move(packageInfo);
}

// On Linux and Windows menus live in windows: a window that wants menus installs a bar of its
// own (usually this same one). The application's bar gives its shortcuts to every window.
void Application::MenuBar(std::shared_ptr<gui::MenuBar> bar) {
  CheckUIThread();
  menuBar_ = std::move(bar);
  if (App().get() == this) internal::ReinstallApplicationShortcuts();
}

}  // namespace gui
