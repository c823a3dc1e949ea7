#include "framework/internal/MenuBridge.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "framework/Application.h"
#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/internal/EditCommands.h"

namespace gui::internal {

namespace {

// "Cmd+X" is the platform's command key with X; Qt's "Ctrl" is exactly that (Command on macOS).
QKeySequence ShortcutOf(const MenuItem& item) {
  QString text = QString::fromStdString(item.Shortcut());
  if (text.isEmpty()) return {};
  text.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"), Qt::CaseInsensitive);
  return QKeySequence::fromString(text, QKeySequence::PortableText);
}

void AddItems(QMenu* menu, const MenuItem& parent, bool appWide);

QAction* MakeAction(QMenu* menu, const std::shared_ptr<MenuItem>& item, bool appWide) {
  QAction* action;
  if (item->IsSeparator()) {
    action = menu->addSeparator();
  } else if (!item->Children().empty()) {
    QMenu* sub = menu->addMenu(QString::fromStdString(item->Value()));
    AddItems(sub, *item, appWide);
    action = sub->menuAction();
  } else {
    action = menu->addAction(QString::fromStdString(item->Value()));
    action->setShortcut(ShortcutOf(*item));
    if (appWide) action->setShortcutContext(Qt::ApplicationShortcut);
    std::weak_ptr<MenuItem> weak = item;
    QObject::connect(action, &QAction::triggered, action, [weak] {
      if (auto it = weak.lock()) _DispatchSafely([&] { it->Action(); });
    });
  }
  action->setObjectName(QString::fromStdString(item->Name()));
  action->setVisible(item->Visible());
  action->setData(item->AutoEnabled());
  return action;
}

void UpdateEnabled(QMenu* menu, bool opening) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    const bool autoEnabled = action->data().toBool();
    const EditCommand command = EditCommandOf(action->objectName().toStdString());
    action->setEnabled(!opening || !autoEnabled || command == EditCommand::None || EditCommandAvailable(command));
  }
}

void AddItems(QMenu* menu, const MenuItem& parent, bool appWide) {
  for (const auto& child : parent.Children()) MakeAction(menu, child, appWide);
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateEnabled(menu, true); });
  QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] { UpdateEnabled(menu, false); });
}

}  // namespace

QMenuBar* BuildMenuBar(const std::shared_ptr<gui::MenuBar>& bar, QWidget* window) {
  // Where menus are global (macOS) the application's menu serves every window. Here each window
  // carries its own, so the application's shortcuts are made to work from every window: Ctrl+Q
  // quits from the help window too.
  const bool appWide = App() && App()->MenuBar() == bar;
  auto* qbar = new QMenuBar(window);
  for (const auto& item : bar->Children()) {
    QMenu* menu = qbar->addMenu(QString::fromStdString(item->Value()));
    menu->menuAction()->setObjectName(QString::fromStdString(item->Name()));
    menu->menuAction()->setVisible(item->Visible());
    AddItems(menu, *item, appWide);
  }
  return qbar;
}

}  // namespace gui::internal
