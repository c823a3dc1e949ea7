// The menu bar's tree: which items exist, in which menu and place, with which caption, class
// and shortcut; and that the shared instance is built once.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "app/SharedInstances.h"
#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "windows/MenuBar1.h"

namespace {

struct Row {
  const char* name;
  const char* caption;
  const char* className;
  bool shortcutAssigned;
  const char* shortcut;
  const char* parent;  // nullptr: the bar
  std::size_t position;
};

// The whole tree, in the order on screen.
constexpr Row kTree[] = {
    {"FileMenu", "&File", "MenuItem", true, "", nullptr, 0},
    {"FileQuit", "Quit", "QuitMenuItem", true, "Cmd+Q", "FileMenu", 0},
    {"EditMenu", "&Edit", "MenuItem", true, "", nullptr, 1},
    {"EditUndo", "&Undo", "MenuItem", true, "Cmd+Z", "EditMenu", 0},
    {"UntitledMenu1", "-", "MenuItem", false, "", "EditMenu", 1},
    {"EditCut", "Cu&t", "MenuItem", true, "Cmd+X", "EditMenu", 2},
    {"EditCopy", "&Copy", "MenuItem", true, "Cmd+C", "EditMenu", 3},
    {"EditPaste", "&Paste", "MenuItem", true, "Cmd+V", "EditMenu", 4},
    {"EditClear", "Clear", "MenuItem", true, "", "EditMenu", 5},
    {"UntitledMenu0", "-", "MenuItem", false, "", "EditMenu", 6},
    {"EditSelectAll", "Select &All", "MenuItem", true, "Cmd+A", "EditMenu", 7},
};

std::shared_ptr<mobrigan::MenuBar1> NewBar() {
  auto bar = std::make_shared<mobrigan::MenuBar1>();
  bar->Constructor();
  return bar;
}

void CollectNames(const gui::MenuItem& item, std::multiset<std::string>& names) {
  for (const auto& child : item.Children()) {
    names.insert(child->Name());
    CollectNames(*child, names);
  }
}

TEST(MenuBar1, HoldsExactlyTheElevenItemsOfTheTreeEachInItsPlace) {
  auto bar = NewBar();
  ASSERT_EQ(bar->Children().size(), 2u);
  ASSERT_EQ(bar->Child("FileMenu")->Children().size(), 1u);
  ASSERT_EQ(bar->Child("EditMenu")->Children().size(), 8u);

  for (const Row& row : kTree) {
    SCOPED_TRACE(row.name);
    const gui::MenuItem& parent = row.parent ? *bar->Child(row.parent) : *bar;
    ASSERT_LT(row.position, parent.Children().size());
    const auto item = parent.Children()[row.position];
    EXPECT_EQ(item->Name(), row.name);
    EXPECT_EQ(item->Value(), row.caption);
    EXPECT_EQ(item->ClassName(), row.className);
    EXPECT_EQ(item->ShortcutAssigned(), row.shortcutAssigned);
    EXPECT_EQ(item->Shortcut(), row.shortcut);
    EXPECT_TRUE(item->AutoEnabled());
    EXPECT_TRUE(item->Visible());
    EXPECT_EQ(item->IsSeparator(), std::string(row.caption) == "-");
    // Only the menus hold items.
    EXPECT_EQ(item->Children().empty(), row.parent != nullptr);
  }

  std::multiset<std::string> names;
  CollectNames(*bar, names);
  EXPECT_EQ(names.size(), std::size(kTree));
  for (const Row& row : kTree) EXPECT_EQ(names.count(row.name), 1u) << row.name;
}

TEST(MenuBar1, EveryItemIsFoundByNameFromTheBar) {
  // The main window's item accessors search from the bar, also for items inside the menus.
  auto bar = NewBar();
  for (const Row& row : kTree) {
    auto item = bar->_Lookup(row.name);
    ASSERT_NE(item, nullptr) << row.name;
    EXPECT_EQ(item->Name(), row.name);
  }
  EXPECT_NE(std::dynamic_pointer_cast<gui::QuitMenuItem>(bar->_Lookup("FileQuit")), nullptr);
}

TEST(MenuBar1, QuitEndsTheProgramWithoutAHandlerOfOurOwn) {
  gui::testing::ResetRuntime();
  auto bar = NewBar();
  ASSERT_FALSE(gui::Quitting());
  bar->_Lookup("FileQuit")->Action();
  EXPECT_TRUE(gui::Quitting());
  gui::testing::ResetRuntime();
}

TEST(MenuBar1, TheSharedInstanceIsBuiltOnceAndKept) {
  auto first = mobrigan::implicit::MenuBar1();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(mobrigan::implicit::MenuBar1(), first);
  // A second build into the same object would have added menus.
  EXPECT_EQ(first->Children().size(), 2u);
}

}  // namespace
