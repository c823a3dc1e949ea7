// Windows: building from Layout and CreateControls, the implicit instance registry, closing,
// the property table's refusals, the content area beside a menu bar, and event binding.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QWidget>
#include <functional>
#include <thread>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Delegate.h"
#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "support/GuiTestSupport.h"

namespace {

struct Probe : gui::Window {
  static constexpr const char* kClassName = "Probe";
  std::string ClassName() const override { return kClassName; }
  std::vector<std::string> trace;
  gui::PropertyTable table{{"Width", 320}, {"Height", 200}, {"Title", "probe"}, {"Resizeable", false}};
  bool refuseClose = false;
  int closes = 0;
  std::vector<std::string> keys;

  void Layout() override {
    trace.push_back("Layout");
    gui::_SetProperties(*this, table);
  }
  void CreateControls() override {
    trace.push_back("CreateControls");
    auto timer = __New<gui::Timer>();
    timer->Constructor();
    _AddControl("Timer1", timer);
  }
  void Event_Close() override { ++closes; }
  bool CancelClose(bool) override { return refuseClose; }
  bool Event_KeyDown(const std::string& key) override {
    keys.push_back(key);
    return false;
  }
  void Tick(std::shared_ptr<gui::Timer>) {}
  bool WrongShape(std::shared_ptr<gui::Timer>) { return false; }
};

struct Other : Probe {
  static constexpr const char* kClassName = "Other";
  std::string ClassName() const override { return kClassName; }
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { gui::testing::ResetRuntime(); }
  void TearDown() override { gui::testing::ResetRuntime(); }
};

TEST_F(WindowTest, BuildsFromLayoutThenControlsAndShowsWhenVisible) {
  auto w = gui::ImplicitInstance<Probe>();
  EXPECT_EQ(w->trace, (std::vector<std::string>{"Layout", "CreateControls"}));
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(gui::testing::WidgetOf(*w)->windowTitle(), "probe");
  EXPECT_EQ(gui::testing::ContentOf(*w)->size(), QSize(320, 200));

  auto hidden = std::make_shared<Other>();
  hidden->table.push_back({"Visible", false});
  hidden->Constructor();
  EXPECT_FALSE(hidden->Visible());
}

TEST_F(WindowTest, ImplicitInstanceIsFoundShownOrHiddenAndForgottenOnceClosed) {
  auto first = gui::ImplicitInstance<Probe>();
  EXPECT_EQ(gui::ImplicitInstance<Probe>(), first);
  first->Hide();
  EXPECT_EQ(gui::_GetImplicitWindow("Probe.Probe"), first) << "a hidden window is still open";
  EXPECT_FALSE(first->Visible()) << "finding a window does not show it";
  EXPECT_EQ(gui::_GetImplicitWindow("Other.Other"), nullptr);
  auto other = gui::ImplicitInstance<Other>();
  EXPECT_NE(std::static_pointer_cast<gui::Window>(other), std::static_pointer_cast<gui::Window>(first));

  first->Close();
  EXPECT_EQ(first->closes, 1);
  EXPECT_EQ(gui::_GetImplicitWindow("Probe.Probe"), nullptr);
  auto fresh = gui::ImplicitInstance<Probe>();
  EXPECT_NE(fresh, first);
  EXPECT_EQ(gui::OpenWindows().size(), 2u);
  testsupport::Pump();  // lets Qt delete the closed window's widgets
}

TEST_F(WindowTest, UserCloseCanBeRefusedButQuitAndCloseCannot) {
  auto w = gui::ImplicitInstance<Probe>();
  w->refuseClose = true;
  gui::testing::WidgetOf(*w)->close();  // what the title bar's close button does
  EXPECT_TRUE(w->IsOpen());
  EXPECT_EQ(w->closes, 0);

  w->Close();  // the program's own close asks nobody
  EXPECT_FALSE(w->IsOpen());
  EXPECT_EQ(w->closes, 1);

  auto v = gui::ImplicitInstance<Probe>();
  v->refuseClose = true;
  gui::Quit(0);
  gui::testing::WidgetOf(*v)->close();
  EXPECT_FALSE(v->IsOpen()) << "quitting overrides a refusal";
}

TEST_F(WindowTest, PropertyTableRefusesUnknownNamesAndWrongKinds) {
  const gui::Property bad[] = {
      {"Widht", 10},              // unknown name
      {"Width", "550"},           // text for a number
      {"Width", 550.0},           // a double where an integer is taken
      {"Title", 3},               // number for a text
      {"Resizeable", 1},          // integer for a Boolean
      {"BackgroundColor", true},  // Boolean for a colour
      {"Type", 9},                // no such frame
      {"Width", 0},               // no such size
  };
  for (const auto& p : bad) {
    SCOPED_TRACE(p.name);
    auto w = std::make_shared<Probe>();
    w->table = {{"Width", 100}, p};
    EXPECT_THROW(w->Constructor(), gui::PropertyException);
    EXPECT_EQ(gui::_GetImplicitWindow("Probe.Probe"), nullptr) << "a window that failed to build is not kept";
  }
  auto w = std::make_shared<Probe>();
  w->Constructor();
  EXPECT_EQ(w->GetProperty("Width").AsInteger(), 320);
  EXPECT_EQ(w->GetProperty("MinimumWidth").AsInteger(), 64) << "unset properties read back their defaults";
}

// The frame and geometry passes read the stored values, so a refused value must never be stored.
TEST_F(WindowTest, ARefusedPropertyLeavesTheStoredValueAndTheWindowAsTheyWere) {
  auto w = gui::ImplicitInstance<Probe>();  // 320 x 200, fixed size
  QWidget* widget = gui::testing::WidgetOf(*w);
  QWidget* content = gui::testing::ContentOf(*w);
  const Qt::WindowFlags flags = widget->windowFlags();
  const gui::Property refused[] = {
      {"Width", 0}, {"Height", -5}, {"Type", 9}, {"Type", -1}, {"DefaultLocation", 4}, {"DefaultLocation", -1},
  };
  for (const auto& p : refused) {
    SCOPED_TRACE(p.name);
    const gui::Value before = w->GetProperty(p.name);
    EXPECT_THROW(w->SetProperty(p.name, p.value), gui::PropertyException);
    EXPECT_EQ(w->GetProperty(p.name), before);
  }
  w->SetProperty("HasMinimizeButton", true);  // a frame pass
  w->SetProperty("MinimumWidth", 64);         // a geometry pass
  EXPECT_EQ(content->size(), QSize(320, 200));
  EXPECT_EQ(widget->windowFlags(), flags);
}

struct WithField : Probe {
  static constexpr const char* kClassName = "WithField";
  std::string ClassName() const override { return kClassName; }
  void CreateControls() override {
    Probe::CreateControls();
    gui::_SetProperties(NewControl<gui::TextField>("Field"), {{"Width", 80}, {"Height", 22}, {"Value", "1"}});
  }
};

// A value that reaches a widget is a user-interface operation. Off the UI thread it is refused
// like any other refused value: before it is stored, so that it never reads back as set while
// the screen still shows the old one.
TEST_F(WindowTest, APropertySetOffTheUIThreadIsRefusedAndNotStored) {
  auto w = gui::ImplicitInstance<WithField>();
  auto field = w->ControlNamed<gui::TextField>("Field");
  auto* edit = qobject_cast<QLineEdit*>(gui::testing::WidgetOf(*field));
  ASSERT_NE(edit, nullptr);
  struct Case {
    const char* what;
    gui::PropertyHolder& object;
    const char* name;
    const char* value;
    std::function<QString()> shown;
  };
  const Case cases[] = {
      {"a window's Title", *w, "Title", "elsewhere", [&] { return gui::testing::WidgetOf(*w)->windowTitle(); }},
      {"a control's Value", *field, "Value", "2", [&] { return edit->text(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = c.object.GetProperty(c.name).AsString();
    const QString shownBefore = c.shown();
    bool refused = false;
    std::thread worker([&] {
      try {
        c.object.SetProperty(c.name, c.value);
      } catch (const gui::ThreadAccessingUIException&) {
        refused = true;
      }
    });
    worker.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(c.object.GetProperty(c.name).AsString(), before);
    EXPECT_EQ(c.shown(), shownBefore);
  }
  EXPECT_EQ(field->Text(), "1");
}

std::shared_ptr<gui::MenuBar> FileMenuWithQuit(
    std::shared_ptr<gui::MenuItem> quit = std::make_shared<gui::QuitMenuItem>()) {
  auto bar = std::make_shared<gui::MenuBar>();
  auto file = std::make_shared<gui::MenuItem>();
  file->Name("FileMenu");
  file->Value("&File");
  quit->Name("FileQuit");
  quit->Value("Quit");
  quit->Shortcut("Cmd+Q");
  file->AddMenu(quit);
  bar->AddMenu(file);
  return bar;
}

struct WithMenu : Probe {
  std::shared_ptr<gui::MenuBar> bar;
  void Layout() override {
    MenuBar(bar);
    Probe::Layout();
  }
};

TEST_F(WindowTest, MenuBarDoesNotTakeFromTheContentArea) {
  auto bar = FileMenuWithQuit();
  auto w = std::make_shared<WithMenu>();
  w->bar = bar;
  w->table = {{"Width", 550}, {"Height", 500}, {"Resizeable", false}};
  w->Constructor();
  QWidget* top = gui::testing::WidgetOf(*w);
  auto* qbar = top->findChild<QMenuBar*>();
  ASSERT_NE(qbar, nullptr);
  EXPECT_EQ(gui::testing::ContentOf(*w)->size(), QSize(550, 500));
  EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizable";
  EXPECT_GT(top->height(), 500);
  EXPECT_EQ(w->MenuBar(), bar);

  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(gui::Quitting()) << "Ctrl+Q reached the Quit item";
  EXPECT_EQ(gui::RuntimeExit(), 0);
}

// The help window has no menu bar of its own; the program's Ctrl+Q must still quit from it.
TEST_F(WindowTest, TheApplicationsShortcutsWorkFromEveryWindow) {
  auto app = std::make_shared<gui::Application>();
  auto bar = FileMenuWithQuit();
  app->MenuBar(bar);
  gui::_RuntimeRegisterAppObject(app);
  auto main = std::make_shared<WithMenu>();
  main->bar = bar;
  main->Constructor();
  auto other = gui::ImplicitInstance<Other>();
  QWidget* top = gui::testing::WidgetOf(*other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(top));
  QTest::keyClick(top, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(gui::Quitting());
}

// Counts its choices instead of quitting, so that every press can be told apart: Qt fires
// neither of two actions that claim one key press.
struct CountingItem : gui::MenuItem {
  int chosen = 0;
  void Action() override { ++chosen; }
};

// Makes `window` the active one, as the user's click on it would.
void Activate(gui::Window& window) {
  window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(window)));
}

void PressCtrlQ(gui::Window& window) {
  Activate(window);
  QTest::keyClick(gui::testing::WidgetOf(window), Qt::Key_Q, Qt::ControlModifier);
}

// A window made before any window has installed the menu bar (the splash) has the shortcut
// from the start; once the main window carries the same item in its menus, each window fires
// it once per press.
TEST_F(WindowTest, TheApplicationsShortcutsWorkBeforeAndBesideTheWindowThatShowsItsMenus) {
  auto item = std::make_shared<CountingItem>();
  auto app = std::make_shared<gui::Application>();
  app->MenuBar(FileMenuWithQuit(item));
  gui::_RuntimeRegisterAppObject(app);

  auto first = gui::ImplicitInstance<Other>();
  PressCtrlQ(*first);
  EXPECT_EQ(item->chosen, 1) << "in the first window, which has no menus";

  auto main = std::make_shared<WithMenu>();
  main->bar = app->MenuBar();
  main->Constructor();
  PressCtrlQ(*main);
  EXPECT_EQ(item->chosen, 2) << "in the window whose menus hold the item";
  PressCtrlQ(*first);
  EXPECT_EQ(item->chosen, 3) << "in the first window again, beside the main one";
  EXPECT_TRUE(first->keys.empty() && main->keys.empty()) << "the shortcut is no key press";
}

// The application's bar may come after windows are open, change, or go; a window's own bar
// takes precedence over the application's for a shortcut both have.
TEST_F(WindowTest, WindowsFollowTheApplicationsMenuBarAndPreferTheirOwn) {
  auto appItem = std::make_shared<CountingItem>();
  auto app = std::make_shared<gui::Application>();
  gui::_RuntimeRegisterAppObject(app);
  auto w = gui::ImplicitInstance<Other>();
  PressCtrlQ(*w);
  EXPECT_EQ(w->keys, (std::vector<std::string>{"\x11"})) << "no application menu bar yet: a key press";

  app->MenuBar(FileMenuWithQuit(appItem));
  PressCtrlQ(*w);
  EXPECT_EQ(appItem->chosen, 1) << "an open window takes the bar set later";

  auto ownItem = std::make_shared<CountingItem>();
  w->MenuBar(FileMenuWithQuit(ownItem));
  PressCtrlQ(*w);
  EXPECT_EQ(ownItem->chosen, 1) << "the window's own menu answers";
  EXPECT_EQ(appItem->chosen, 1);

  w->MenuBar(nullptr);
  PressCtrlQ(*w);
  EXPECT_EQ(appItem->chosen, 2) << "without its own menus, the application's shortcut again";

  app->MenuBar(nullptr);
  PressCtrlQ(*w);
  EXPECT_EQ(appItem->chosen, 2) << "the application's bar is gone";
  EXPECT_EQ(w->keys.size(), 2u);
}

TEST_F(WindowTest, WindowKeyDownGetsTheLayersKeyText) {
  auto w = gui::ImplicitInstance<Probe>();
  QWidget* top = gui::testing::WidgetOf(*w);
  QTest::keyClick(top, Qt::Key_A);
  QTest::keyClick(top, Qt::Key_Escape);
  QTest::keyClick(top, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(w->keys, (std::vector<std::string>{"a", "\x1b", "\x03"}));
}

TEST_F(WindowTest, EventBindingChecksTheSignatureTwice) {
  auto w = gui::ImplicitInstance<Probe>();
  auto timer = gui::RuntimeCheckCast<gui::Timer>(w->_ControlByName("Timer1"));
  // The text must be the method's own...
  EXPECT_THROW(gui::RuntimeCreateDelegate(w.get(), &Probe::Tick, "( Timer ) as Boolean", 1),
               gui::EventBindingException);
  // ...and the event's.
  auto wrong = gui::RuntimeCreateDelegate(w.get(), &Probe::WrongShape, "( Timer ) as Boolean", 1);
  EXPECT_THROW(gui::RuntimeAddEventHandler(timer, gui::Timer::kAction, wrong), gui::EventBindingException);
  auto right = gui::RuntimeCreateDelegate(w.get(), &Probe::Tick, "( Timer )", 1);
  EXPECT_THROW(gui::RuntimeAddEventHandler(timer, 99, right), gui::EventBindingException);
  EXPECT_THROW(gui::RuntimeAddEventHandler(nullptr, gui::Timer::kAction, right), gui::NilObjectException);
  gui::RuntimeAddEventHandler(timer, gui::Timer::kAction, right);
  EXPECT_TRUE(timer->HasHandler(gui::Timer::kAction));
}

TEST_F(WindowTest, CastTestsTheClass) {
  auto w = gui::ImplicitInstance<Probe>();
  std::shared_ptr<gui::Control> timer = w->_ControlByName("Timer1");
  EXPECT_NO_THROW(gui::RuntimeCheckCast<gui::Timer>(timer));
  EXPECT_THROW(gui::RuntimeCheckCast<gui::TextField>(timer), gui::IllegalCastException);
  EXPECT_THROW(gui::RuntimeCheckCast<gui::Timer>(w->_ControlByName("Nope")), gui::NilObjectException);
  auto twin = w->__New<gui::Timer>();
  EXPECT_THROW(w->_AddControl("Timer1", twin), gui::PropertyException) << "names are unique in a window";
}

}  // namespace
