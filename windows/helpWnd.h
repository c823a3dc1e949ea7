// The help window: a fixed text on difference scores and the formula, in one editable text
// area. Opened from the main window's Help picture.
#pragma once

#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Window.h"

namespace mobrigan {

class helpWnd : public gui::Window {
 public:
  static constexpr const char* kClassName = "helpWnd";
  std::string ClassName() const override { return kClassName; }

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();

  std::shared_ptr<gui::TextArea> EditField1() const;
};

}  // namespace mobrigan
