// The program's one menu bar: a File menu with Quit and an Edit menu with the standard editing
// commands. One shared instance serves as the application's and the main window's bar.
#pragma once

#include <string>

#include "framework/Menu.h"

namespace mobrigan {

class MenuBar1 : public gui::MenuBar {
 public:
  static constexpr const char* kClassName = "MenuBar1";
  std::string ClassName() const override { return kClassName; }

  // Builds the File menu, then the Edit menu. Replaces the item constructor: the bar itself
  // keeps the defaults it was made with.
  void Constructor() override;

  virtual void Untitled0();  // the File menu
  virtual void Untitled1();  // the Edit menu
};

}  // namespace mobrigan
