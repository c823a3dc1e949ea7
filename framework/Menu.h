// Menu items as a plain model. A menu bar can be built before any Qt application exists; it is
// turned into Qt menus when a window installs it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"

namespace gui {

class MenuItem : public Object {
 public:
  static constexpr const char* kClassName = "MenuItem";
  std::string ClassName() const override { return kClassName; }

  // The no-argument constructor every item receives; resets the item to its defaults.
  virtual void Constructor();

  void Name(std::string name);
  const std::string& Name() const { return name_; }
  void AutoEnabled(bool on);
  bool AutoEnabled() const { return autoEnabled_; }
  // The caption; "&" marks the mnemonic letter and "-" alone makes a separator.
  void Value(std::string caption);
  const std::string& Value() const { return value_; }
  void Visible(bool on);
  bool Visible() const { return visible_; }
  // "Cmd+X" means the platform's command key with X (Ctrl on Linux and Windows).
  void Shortcut(std::string shortcut);
  const std::string& Shortcut() const { return shortcut_; }
  bool ShortcutAssigned() const { return shortcutAssigned_; }

  bool IsSeparator() const { return value_ == "-"; }

  // Appends `item` as the last child.
  void AddMenu(std::shared_ptr<MenuItem> item);
  // The direct child named `name`, or nullptr.
  std::shared_ptr<MenuItem> Child(const std::string& name) const;
  // The item named `name` anywhere below this one (depth first, in order), or nullptr.
  std::shared_ptr<MenuItem> _Lookup(const std::string& name) const;
  const std::vector<std::shared_ptr<MenuItem>>& Children() const { return children_; }

  // What choosing the item does: the built-in action of its class or name (Quit; the Edit
  // commands on the focused text control), or nothing.
  virtual void Action();

 private:
  std::string name_;
  bool autoEnabled_ = true;
  std::string value_;
  bool visible_ = true;
  std::string shortcut_;
  bool shortcutAssigned_ = false;
  std::vector<std::shared_ptr<MenuItem>> children_;
};

// An item that quits the program when chosen.
class QuitMenuItem : public MenuItem {
 public:
  static constexpr const char* kClassName = "QuitMenuItem";
  std::string ClassName() const override { return kClassName; }
  void Action() override;
};

class MenuBar : public MenuItem {
 public:
  static constexpr const char* kClassName = "MenuBar";
  std::string ClassName() const override { return kClassName; }
};

// The standard editing commands that the items named EditUndo, EditCut, EditCopy, EditPaste,
// EditClear and EditSelectAll carry out on the focused text control.
enum class EditCommand { None, Undo, Cut, Copy, Paste, Clear, SelectAll };
EditCommand EditCommandOf(const std::string& itemName);
// Carries out `command` on the focused text control; false when there is none.
bool PerformEditCommand(EditCommand command);

}  // namespace gui
