// The menu bar: File (Quit) and Edit (Undo, Cut, Copy, Paste, Clear, Select All). The program
// adds no handler of its own to any item: Quit ends the program through its class, and the Edit
// items do what the layer does for them on the focused text control. The main window finds the
// items by their names, so the names are part of its interface.
#include "windows/MenuBar1.h"

#include <memory>
#include <span>

namespace mobrigan {

namespace {

// One item of the tree. `shortcut` is nullptr where the item never gets one (the separators);
// "" assigns the empty shortcut. `menu` is the menu the item goes into, nullptr for the bar.
struct ItemRow {
  enum Class { Plain, Quit } itemClass;
  const char* name;
  const char* caption;
  const char* shortcut;
  const char* menu;
};

constexpr const char* kNever = nullptr;
constexpr const char* kBar = nullptr;

constexpr ItemRow kFileMenu[] = {
    {ItemRow::Plain, "FileMenu", "&File", "", kBar},
    {ItemRow::Quit, "FileQuit", "Quit", "Cmd+Q", "FileMenu"},
};

constexpr ItemRow kEditMenu[] = {
    {ItemRow::Plain, "EditMenu", "&Edit", "", kBar},
    {ItemRow::Plain, "EditUndo", "&Undo", "Cmd+Z", "EditMenu"},
    {ItemRow::Plain, "UntitledMenu1", "-", kNever, "EditMenu"},
    {ItemRow::Plain, "EditCut", "Cu&t", "Cmd+X", "EditMenu"},
    {ItemRow::Plain, "EditCopy", "&Copy", "Cmd+C", "EditMenu"},
    {ItemRow::Plain, "EditPaste", "&Paste", "Cmd+V", "EditMenu"},
    {ItemRow::Plain, "EditClear", "Clear", "", "EditMenu"},
    {ItemRow::Plain, "UntitledMenu0", "-", kNever, "EditMenu"},
    {ItemRow::Plain, "EditSelectAll", "Select &All", "Cmd+A", "EditMenu"},
};

// Makes one item with every property set, ready to be attached.
std::shared_ptr<gui::MenuItem> MakeItem(const ItemRow& row) {
  std::shared_ptr<gui::MenuItem> item;
  if (row.itemClass == ItemRow::Quit) item = std::make_shared<gui::QuitMenuItem>();
  else item = std::make_shared<gui::MenuItem>();
  item->Constructor();
  item->Name(row.name);
  item->AutoEnabled(true);
  item->Value(row.caption);
  item->Visible(true);
  if (row.shortcut) item->Shortcut(row.shortcut);
  return item;
}

// Makes the rows and attaches them in order: a menu to the bar, any other item to its menu,
// which is looked up on the bar by name each time (a missing menu raises NilObjectException).
void Build(gui::MenuBar& bar, std::span<const ItemRow> rows) {
  for (const ItemRow& row : rows) {
    auto item = MakeItem(row);
    if (!row.menu) bar.AddMenu(item);
    else gui::RuntimeCheckCast<gui::MenuItem>(bar.Child(row.menu))->AddMenu(item);
  }
}

}  // namespace

void MenuBar1::Constructor() {
  Untitled0();
  Untitled1();
}

void MenuBar1::Untitled0() { Build(*this, kFileMenu); }

void MenuBar1::Untitled1() { Build(*this, kEditMenu); }

}  // namespace mobrigan
