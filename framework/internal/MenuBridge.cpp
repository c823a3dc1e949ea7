#include "framework/internal/MenuBridge.h"

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include "framework/Application.h"
#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/internal/EditCommands.h"
#include "framework/internal/RunState.h"
#include "framework/internal/WindowFocus.h"

namespace gui::internal {

namespace {

// The object that owns a window's application shortcuts, so that they can be replaced at once.
constexpr const char* kShortcutHolder = "gui_applicationShortcuts";

// "Cmd+X" is the platform's command key with X; Qt's "Ctrl" is exactly that (Command on macOS).
QKeySequence ShortcutOf(const MenuItem& item) {
  QString text = QString::fromStdString(item.Shortcut());
  if (text.isEmpty()) return {};
  text.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"), Qt::CaseInsensitive);
  return QKeySequence::fromString(text, QKeySequence::PortableText);
}

void Describe(QAction* action, const MenuItem& item) {
  action->setObjectName(QString::fromStdString(item.Name()));
  action->setVisible(item.Visible());
  action->setData(item.AutoEnabled());
}

// A command action: the item's shortcut, and its Action when triggered.
void Wire(QAction* action, const std::shared_ptr<MenuItem>& item) {
  Describe(action, *item);
  action->setShortcut(ShortcutOf(*item));
  std::weak_ptr<MenuItem> weak = item;
  QObject::connect(action, &QAction::triggered, action, [weak] {
    if (auto it = weak.lock()) _DispatchSafely([&] { it->Action(); });
  });
}

void AddItems(QMenu* menu, const MenuItem& parent);

void MakeAction(QMenu* menu, const std::shared_ptr<MenuItem>& item) {
  if (item->IsSeparator()) {
    Describe(menu->addSeparator(), *item);
  } else if (!item->Children().empty()) {
    QMenu* sub = menu->addMenu(QString::fromStdString(item->Value()));
    AddItems(sub, *item);
    Describe(sub->menuAction(), *item);
  } else {
    Wire(menu->addAction(QString::fromStdString(item->Value())), item);
  }
}

void UpdateEnabled(QMenu* menu, bool opening) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    const bool autoEnabled = action->data().toBool();
    const EditCommand command = EditCommandOf(action->objectName().toStdString());
    action->setEnabled(!opening || !autoEnabled || command == EditCommand::None || EditCommandAvailable(command));
  }
}

void AddItems(QMenu* menu, const MenuItem& parent) {
  for (const auto& child : parent.Children()) MakeAction(menu, child);
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateEnabled(menu, true); });
  QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] { UpdateEnabled(menu, false); });
}

// The leaf items below `parent` that have a shortcut, depth first.
void CollectShortcutItems(const std::shared_ptr<MenuItem>& parent, std::vector<std::shared_ptr<MenuItem>>& found) {
  for (const auto& child : parent->Children()) {
    if (!child->Children().empty()) CollectShortcutItems(child, found);
    else if (!child->IsSeparator() && !ShortcutOf(*child).isEmpty()) found.push_back(child);
  }
}

}  // namespace

QMenuBar* BuildMenuBar(const std::shared_ptr<gui::MenuBar>& bar, QWidget* window) {
  FollowWindowFocus();  // the Edit commands follow the working focus through the menus
  auto* qbar = new QMenuBar(window);
  for (const auto& item : bar->Children()) {
    QMenu* menu = qbar->addMenu(QString::fromStdString(item->Value()));
    menu->menuAction()->setObjectName(QString::fromStdString(item->Name()));
    menu->menuAction()->setVisible(item->Visible());
    AddItems(menu, *item);
  }
  return qbar;
}

// Where menus are global (macOS) the application's menu serves every window. Here menus live in
// windows, so each window carries the application's shortcuts itself. They are window shortcuts,
// live only while their window is active: an application-wide one would clash with the same
// shortcut in the main window's menus, and Qt fires neither of two that match one key press.
void InstallApplicationShortcuts(QWidget* window) {
  delete window->findChild<QObject*>(QLatin1String(kShortcutHolder), Qt::FindDirectChildrenOnly);
  const auto app = App();
  if (!app || !app->MenuBar()) return;

  QList<QKeySequence> taken;  // by the window's own menus
  for (const QMenuBar* own : window->findChildren<QMenuBar*>())
    for (const QAction* action : own->findChildren<QAction*>())
      if (!action->shortcut().isEmpty()) taken.append(action->shortcut());

  std::vector<std::shared_ptr<MenuItem>> items;
  CollectShortcutItems(app->MenuBar(), items);
  QObject* holder = nullptr;
  for (const auto& item : items) {
    const QKeySequence shortcut = ShortcutOf(*item);
    if (taken.contains(shortcut)) continue;
    taken.append(shortcut);
    if (!holder) {
      holder = new QObject(window);
      holder->setObjectName(QLatin1String(kShortcutHolder));
    }
    auto* action = new QAction(QString::fromStdString(item->Value()), holder);
    Wire(action, item);
    window->addAction(action);
  }
}

void ReinstallApplicationShortcuts() {
  for (const auto& window : State().openWindows)
    if (QWidget* widget = window->_Widget()) InstallApplicationShortcuts(widget);
}

}  // namespace gui::internal
