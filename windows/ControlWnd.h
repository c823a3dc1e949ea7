// The main window: the form in which the user enters the two reliabilities and the correlation
// and reads the reliability of the difference score.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Menu.h"
#include "framework/Object.h"
#include "framework/Picture.h"
#include "framework/Window.h"

namespace mobrigan {

class ControlWnd : public gui::Window {
 public:
  static constexpr const char* kClassName = "ControlWnd";
  std::string ClassName() const override { return kClassName; }

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();

  // The controls, in creation order.
  std::shared_ptr<gui::TextField> RdFld() const;
  std::shared_ptr<gui::Label> RdText() const;
  std::shared_ptr<gui::Label> Text1() const;
  std::shared_ptr<gui::TextField> RxxFld() const;
  std::shared_ptr<gui::Label> Text2() const;
  std::shared_ptr<gui::TextField> RyyFld() const;
  std::shared_ptr<gui::Label> Text3() const;
  std::shared_ptr<gui::TextField> RxyFld() const;
  std::shared_ptr<gui::TextArea> Text6() const;
  std::shared_ptr<gui::Canvas> Help() const;
  std::shared_ptr<gui::Canvas> ComputeCanvas() const;
  std::shared_ptr<gui::Canvas> ClearCanvas() const;
  std::shared_ptr<gui::TextArea> Text5() const;
  std::shared_ptr<gui::Canvas> Canvas1() const;

  // Key filters of the three input fields: true swallows the key (after a beep).
  bool RxxFld_KeyDown(std::shared_ptr<gui::TextField> field, std::string key);
  bool RyyFld_KeyDown(std::shared_ptr<gui::TextField> field, std::string key);
  bool RxyFld_KeyDown(std::shared_ptr<gui::TextField> field, std::string key);
  // The picture buttons, run on the mouse press.
  bool Help_MouseDown(std::shared_ptr<gui::Canvas> canvas, std::int64_t x, std::int64_t y);
  bool ComputeCanvas_MouseDown(std::shared_ptr<gui::Canvas> canvas, std::int64_t x, std::int64_t y);
  bool ClearCanvas_MouseDown(std::shared_ptr<gui::Canvas> canvas, std::int64_t x, std::int64_t y);

  // Typed handles on the items of the window's menu bar.
  std::shared_ptr<gui::MenuItem> EditMenu() const;
  std::shared_ptr<gui::MenuItem> EditSelectAll() const;
  std::shared_ptr<gui::MenuItem> UntitledMenu0() const;
  std::shared_ptr<gui::MenuItem> EditClear() const;
  std::shared_ptr<gui::MenuItem> EditPaste() const;
  std::shared_ptr<gui::MenuItem> EditCopy() const;
  std::shared_ptr<gui::MenuItem> EditCut() const;
  std::shared_ptr<gui::MenuItem> UntitledMenu1() const;
  std::shared_ptr<gui::MenuItem> EditUndo() const;
  std::shared_ptr<gui::MenuItem> FileMenu() const;
  std::shared_ptr<gui::QuitMenuItem> FileQuit() const;

  // Closing the main window ends the program.
  void Event_Close() override;

 private:
  using PictureSource = std::shared_ptr<gui::Picture> (*)();

  // Creates one control: allocation, construction, registration, the backdrop (canvases), then
  // its whole property table.
  template <class T>
  void Make(const std::string& name, const gui::PropertyTable& table, PictureSource backdrop = nullptr);
  void OnKeyDown(const std::string& name, bool (ControlWnd::*handler)(std::shared_ptr<gui::TextField>, std::string));
  void OnMouseDown(const std::string& name,
                   bool (ControlWnd::*handler)(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t));

  template <class T = gui::MenuItem>
  std::shared_ptr<T> MenuItemNamed(const std::string& name) const;
};

}  // namespace mobrigan
