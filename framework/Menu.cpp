#include "framework/Menu.h"

#include "framework/Runtime.h"

namespace gui {

void MenuItem::Constructor() {
  CheckUIThread();
  name_.clear();
  autoEnabled_ = true;
  value_.clear();
  visible_ = true;
  shortcut_.clear();
  shortcutAssigned_ = false;
  children_.clear();
}

void MenuItem::Name(std::string name) {
  CheckUIThread();
  name_ = std::move(name);
}
void MenuItem::AutoEnabled(bool on) {
  CheckUIThread();
  autoEnabled_ = on;
}
void MenuItem::Value(std::string caption) {
  CheckUIThread();
  value_ = std::move(caption);
}
void MenuItem::Visible(bool on) {
  CheckUIThread();
  visible_ = on;
}
void MenuItem::Shortcut(std::string shortcut) {
  CheckUIThread();
  shortcut_ = std::move(shortcut);
  shortcutAssigned_ = true;
}

void MenuItem::AddMenu(std::shared_ptr<MenuItem> item) {
  CheckUIThread();
  if (!item) throw NilObjectException("a nil menu item was added to " + name_);
  if (item.get() == this) throw UnsupportedOperationException("a menu item cannot hold itself");
  children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const {
  CheckUIThread();
  for (const auto& c : children_)
    if (c->name_ == name) return c;
  return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::_Lookup(const std::string& name) const {
  CheckUIThread();
  for (const auto& c : children_) {
    if (c->name_ == name) return c;
    if (auto below = c->_Lookup(name)) return below;
  }
  return nullptr;
}

void MenuItem::Action() {
  const EditCommand command = EditCommandOf(name_);
  if (command != EditCommand::None) PerformEditCommand(command);
}

void QuitMenuItem::Action() { Quit(0); }

}  // namespace gui
