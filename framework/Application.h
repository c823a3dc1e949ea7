// The application object: version data and the application's menu bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Object.h"

namespace gui {

class MenuBar;

class Application : public Object {
 public:
  static constexpr const char* kClassName = "Application";
  std::string ClassName() const override { return kClassName; }

  // Run after the object is made; does nothing unless a subclass gives it something to do.
  virtual void Constructor() {}

  void _x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion, std::int64_t bugVersion,
                         std::int64_t nonReleaseVersion, std::int64_t stageCode, std::string longVersion,
                         std::string shortVersion, std::string packageInfo);

  // The application's menu bar; its shortcuts work in every window of the program, also in
  // those without menus. Requires the UI thread.
  void MenuBar(std::shared_ptr<gui::MenuBar> bar);
  std::shared_ptr<gui::MenuBar> MenuBar() const { return menuBar_; }

  std::int64_t MajorVersion = 0;
  std::int64_t MinorVersion = 0;
  std::int64_t BugVersion = 0;
  std::int64_t NonReleaseVersion = 0;
  std::int64_t StageCode = 0;
  std::string LongVersion;
  std::string ShortVersion;
  std::string PackageInfo;

 private:
  std::shared_ptr<gui::MenuBar> menuBar_;
};

}  // namespace gui
