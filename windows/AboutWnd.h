// The splash window: the logo and the program's name, shown at start for four seconds or until
// a key or click, then hidden in favour of the main window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Window.h"

namespace mobrigan {

class AboutWnd : public gui::Window {
 public:
  static constexpr const char* kClassName = "AboutWnd";
  std::string ClassName() const override { return kClassName; }

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();

  // The controls, in creation order.
  std::shared_ptr<gui::Label> StaticText1() const;
  std::shared_ptr<gui::Label> StaticText2() const;
  std::shared_ptr<gui::Canvas> Canvas1() const;
  std::shared_ptr<gui::Timer> Timer1() const;
  std::shared_ptr<gui::Label> Label1() const;

  // The three ways the splash hands over to the main window.
  void Timer1_Action(std::shared_ptr<gui::Timer> timer);
  bool Event_KeyDown(const std::string& key) override;
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override;

  bool CancelClose(bool appQuitting) override;

 private:
  void HandOver();
};

}  // namespace mobrigan
