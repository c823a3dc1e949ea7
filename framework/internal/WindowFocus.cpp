#include "framework/internal/WindowFocus.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace gui::internal {

namespace {

// A window's note, kept on the window itself so that it goes with it.
constexpr const char* kNote = "gui_lastFocus";

bool IsMenu(const QWidget* w) { return qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w); }

void Note(QWidget* w) { w->window()->setProperty(kNote, QVariant::fromValue(QPointer<QWidget>(w))); }

QWidget* NoteOf(const QWidget* window) {
  QWidget* w = window->property(kNote).value<QPointer<QWidget>>();
  return w && w->window() == window ? w : nullptr;
}

// `bar` has just lost the focus. If its window has lost the activation with the bar still its
// focus widget, the noted widget becomes the window's focus widget instead; the window being
// inactive, it gets the focus (and its focus-in) only once the window is activated again.
void HandBackFrom(QMenuBar* bar) {
  QWidget* window = bar->window();
  if (window->isActiveWindow() || window->focusWidget() != bar) return;
  QWidget* last = NoteOf(window);
  if (last && last->isVisible() && last->isEnabled()) last->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace

void FollowWindowFocus() {
  static QPointer<QCoreApplication> following;
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app || following == app) return;
  following = app;
  if (QWidget* w = QApplication::focusWidget(); w && !IsMenu(w)) Note(w);
  // Qt also moves the focus without telling (with NoFocusReason) while one open menu hands over to
  // the next; that move goes to the menu bar, which a note passes over anyway.
  QObject::connect(app, &QApplication::focusChanged, app, [](QWidget* old, QWidget* now) {
    if (now && !IsMenu(now)) Note(now);
    if (auto* bar = qobject_cast<QMenuBar*>(old)) HandBackFrom(bar);
  });
}

QWidget* WorkingFocus() {
  QWidget* w = QApplication::focusWidget();
  if (!w || !IsMenu(w)) return w;
  // An open menu is a window of its own, but the window it belongs to stays the active one.
  QWidget* active = QApplication::activeWindow();
  return active ? NoteOf(active) : nullptr;
}

}  // namespace gui::internal
