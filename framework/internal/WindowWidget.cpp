#include "framework/internal/WindowWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/internal/KeyText.h"
#include "framework/internal/MenuBridge.h"

namespace gui::internal {

ContentWidget::ContentWidget(gui::Window* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

void ContentWidget::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!owner_) return;
  const QPoint at = event->position().toPoint();
  gui::Window* owner = owner_;
  _DispatchSafely([&] { owner->Event_MouseDown(at.x(), at.y()); });
}

// Qt delivers a double click as press, release, press, double click, release: the second press
// has already been reported, so the double click itself is not another press.
void ContentWidget::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void ContentWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!owner_ || !event->oldSize().isValid()) return;
  const QSize was = event->oldSize(), now = event->size();
  for (const auto& control : owner_->Controls())
    if (auto* rect = dynamic_cast<RectControl*>(control.get()))
      rect->_ContentResized(was.width(), was.height(), now.width(), now.height());
}

WindowWidget::WindowWidget(gui::Window* owner) : QWidget(nullptr), owner_(owner) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  content_ = new ContentWidget(owner, this);
  layout->addWidget(content_);
  // The application's shortcuts work from the moment the window exists, menus or none.
  InstallApplicationShortcuts(this);
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  if (!owner_) {
    event->accept();
    return;
  }
  if (!owner_->_MayClose()) {
    event->ignore();
    return;
  }
  event->accept();
  owner_->_Closed();
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
  event->accept();
  // Shift or Ctrl held on its own is no key press yet: the key that comes with it is.
  if (!owner_ || IsModifierKey(event->key())) return;
  const std::string key = KeyTextFor(event->key(), event->modifiers(), event->text());
  gui::Window* owner = owner_;
  _DispatchSafely([&] { owner->Event_KeyDown(key); });
}

}  // namespace gui::internal
