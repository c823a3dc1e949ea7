#include "framework/Window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "framework/Menu.h"
#include "framework/Runtime.h"
#include "framework/internal/MenuBridge.h"
#include "framework/internal/RunState.h"
#include "framework/internal/WindowWidget.h"

namespace gui {

using internal::State;

namespace internal {

void DestroyAllWindows() {
  auto windows = std::move(State().openWindows);
  State().openWindows.clear();
  for (auto& w : windows) w->_Destroy();
}

}  // namespace internal

struct Window::Native {
  QPointer<internal::WindowWidget> widget;
  QPointer<QMenuBar> menuBar;
  bool built = false;   // Constructor has finished
  bool placed = false;  // put on the screen once
};

// ---- properties ------------------------------------------------------------------------------
namespace {

// Frame types: 0 document window, 1 movable modal, 2 modal dialog (drawn as a frameless splash),
// 3 floating window. Placements: 0 and 2 centred on the primary screen, 1 centred over the active
// window, 3 staggered below and right of the active window. Both are codes from 0 to 3.
bool IsCode0To3(const Value& v) { return v.AsInteger() >= 0 && v.AsInteger() <= 3; }
constexpr int kStagger = 30;

bool IsPositive(const Value& v) { return v.AsInteger() > 0; }

}  // namespace

const PropertyRows& Window::Rows() {
  using Row = PropertyRows::Row<Window>;
  const auto frame = [](Window& w, const Value&) { w.ApplyFrame(); };
  const auto geometry = [](Window& w, const Value&) { w.ApplyGeometry(); };
  const auto background = [](Window& w, const Value&) { w.ApplyBackground(); };
  static const PropertyRows rows(nullptr, std::vector<Row>{
      {"Width", 600, geometry, IsPositive, "a positive size"},
      {"Height", 400, geometry, IsPositive, "a positive size"},
      {"MinimumWidth", 64, geometry},
      {"MinimumHeight", 64, geometry},
      {"MaximumWidth", 32000, geometry},
      {"MaximumHeight", 32000, geometry},
      {"Type", 0, frame, IsCode0To3, "a frame type from 0 to 3"},
      {"Title", "Untitled",
       [](Window& w, const Value& v) { w.native_->widget->setWindowTitle(QString::fromStdString(v.AsString())); }},
      {"HasCloseButton", true, frame},
      {"HasMinimizeButton", true, frame},
      {"HasMaximizeButton", true, frame},
      {"HasFullScreenButton", false, frame},
      {"Resizeable", true,
       [](Window& w, const Value&) {
         w.ApplyFrame();
         w.ApplyGeometry();
       }},
      {"Composite", false},
      {"MacProcID", 0},
      {"FullScreen", false},  // read when the window is shown
      {"DefaultLocation", 0, nullptr, IsCode0To3, "a placement from 0 to 3"},
      {"Visible", true,
       [](Window& w, const Value& v) {
         if (w.native_->built) v.AsBoolean() ? w.Show() : w.Hide();
       }},
      {"HasBackgroundColor", false, background},
      {"BackgroundColor", RGB(255, 255, 255), background},
      {"MenuBarVisible", true,
       [](Window& w, const Value& v) {
         if (w.native_->menuBar) w.native_->menuBar->setVisible(v.AsBoolean());
       }},
      {"LiveResize", true},
  });
  return rows;
}

const PropertyRows& Window::Properties() const { return Rows(); }

bool Window::AppliesProperties() const { return native_->widget != nullptr; }

void Window::ApplyFrame() {
  QWidget* w = native_->widget;
  const auto type = GetProperty("Type").AsInteger();
  Qt::WindowFlags flags;
  if (type == 2) {
    // A splash: no title bar, so nothing offers to close it; closing is refused separately.
    flags = Qt::SplashScreen | Qt::FramelessWindowHint;
  } else {
    flags = (type == 1 ? Qt::Dialog : type == 3 ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint |
            Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (GetProperty("HasCloseButton").AsBoolean()) flags |= Qt::WindowCloseButtonHint;
    if (GetProperty("HasMinimizeButton").AsBoolean()) flags |= Qt::WindowMinimizeButtonHint;
    if (GetProperty("HasMaximizeButton").AsBoolean() && GetProperty("Resizeable").AsBoolean())
      flags |= Qt::WindowMaximizeButtonHint;
    if (GetProperty("HasFullScreenButton").AsBoolean()) flags |= Qt::WindowFullscreenButtonHint;
  }
  const bool shown = w->isVisible();
  w->setWindowFlags(flags);
  if (shown) w->show();
}

void Window::ApplyGeometry() {
  QWidget* w = native_->widget;
  auto* content = static_cast<internal::WindowWidget*>(w)->content();
  const int width = static_cast<int>(GetProperty("Width").AsInteger());
  const int height = static_cast<int>(GetProperty("Height").AsInteger());
  if (!GetProperty("Resizeable").AsBoolean()) {
    content->setFixedSize(width, height);
    w->layout()->setSizeConstraint(QLayout::SetFixedSize);
  } else {
    w->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    content->setMinimumSize(static_cast<int>(GetProperty("MinimumWidth").AsInteger()),
                            static_cast<int>(GetProperty("MinimumHeight").AsInteger()));
    content->setMaximumSize(static_cast<int>(std::min<std::int64_t>(GetProperty("MaximumWidth").AsInteger(), QWIDGETSIZE_MAX)),
                            static_cast<int>(std::min<std::int64_t>(GetProperty("MaximumHeight").AsInteger(), QWIDGETSIZE_MAX)));
    const int bar = native_->menuBar && native_->menuBar->isVisibleTo(w) ? native_->menuBar->sizeHint().height() : 0;
    content->resize(width, height);
    w->resize(width, height + bar);
  }
}

void Window::ApplyBackground() {
  auto* content = static_cast<internal::WindowWidget*>(native_->widget.data())->content();
  if (GetProperty("HasBackgroundColor").AsBoolean()) {
    const Color c = GetProperty("BackgroundColor").AsColor();
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(c.red, c.green, c.blue));
    content->setPalette(palette);
    content->setAutoFillBackground(true);
  } else {
    content->setPalette(QPalette());
    content->setAutoFillBackground(false);
  }
}

// ---- life ------------------------------------------------------------------------------------
Window::Window() : native_(std::make_unique<Native>()) {}

Window::~Window() {
  if (native_->widget) {
    native_->widget->detach();
    native_->widget->deleteLater();
  }
}

void Window::Constructor() {
  CheckUIThread();
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw UnsupportedOperationException("a window was made before the framework was running");
  if (native_->widget) throw UnsupportedOperationException(ClassName() + " was constructed twice");
  native_->widget = new internal::WindowWidget(this);
  open_ = true;
  // A window whose set-up fails is not left half-built on the screen or in the registry.
  struct Guard {
    Window* w;
    bool done = false;
    ~Guard() {
      if (!done) w->_Destroy();
    }
  } guard{this};
  ApplyFrame();
  ApplyGeometry();
  ApplyBackground();
  native_->widget->setWindowTitle(QString::fromStdString(GetProperty("Title").AsString()));
  Layout();
  CreateControls();
  OrderTabChain();
  native_->built = true;
  State().openWindows.push_back(std::static_pointer_cast<Window>(shared_from_this()));
  guard.done = true;
  if (GetProperty("Visible").AsBoolean()) Show();
}

void Window::OrderTabChain() {
  std::vector<RectControl*> chain;
  for (const auto& c : controls_)
    if (auto* r = dynamic_cast<RectControl*>(c.get()); r && r->_Widget() && r->_TakesTabFocus()) chain.push_back(r);
  std::stable_sort(chain.begin(), chain.end(), [](RectControl* a, RectControl* b) {
    return a->GetProperty("TabIndex").AsInteger() < b->GetProperty("TabIndex").AsInteger();
  });
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1]->_Widget(), chain[i]->_Widget());
}

void Window::Place() {
  QWidget* w = native_->widget;
  w->layout()->activate();  // gives a fixed-size window its size; a resizable one has it already
  QWidget* active = QApplication::activeWindow();
  if (active == w) active = nullptr;
  QScreen* screen = active && active->screen() ? active->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  QRect frame(QPoint(0, 0), w->size());
  switch (GetProperty("DefaultLocation").AsInteger()) {
    case 1:
      frame.moveCenter(active ? active->frameGeometry().center() : area.center());
      break;
    case 3:
      if (active) frame.moveTopLeft(active->frameGeometry().topLeft() + QPoint(kStagger, kStagger));
      else frame.moveCenter(area.center());
      break;
    default:
      frame.moveCenter(area.center());
  }
  // Keep the whole window on the screen where it fits.
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
  w->move(frame.topLeft());
}

void Window::Show() {
  CheckUIThread();
  if (Quitting() || !open_ || !native_->widget) return;
  QWidget* w = native_->widget;
  if (!native_->placed) {
    Place();
    native_->placed = true;
  }
  if (GetProperty("FullScreen").AsBoolean()) {
    w->showFullScreen();
  } else {
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
  }
  w->raise();
  w->activateWindow();
}

void Window::Hide() {
  CheckUIThread();
  if (native_->widget) native_->widget->hide();
}

void Window::Close() {
  CheckUIThread();
  if (!open_ || !native_->widget) return;
  closing_ = true;
  native_->widget->close();
}

bool Window::Visible() const { return native_->widget && native_->widget->isVisible(); }

bool Window::_MayClose() {
  if (closing_ || Quitting()) return true;
  bool cancel = false;
  _DispatchSafely([&] { cancel = CancelClose(false); });
  return !cancel || Quitting();
}

void Window::_Closed() {
  if (!open_) return;
  open_ = false;
  auto self = std::static_pointer_cast<Window>(shared_from_this());  // alive to the end of this call
  _DispatchSafely([&] { Event_Close(); });
  auto& open = State().openWindows;
  open.erase(std::remove(open.begin(), open.end(), self), open.end());
  if (native_->widget) {
    native_->widget->detach();
    native_->widget->deleteLater();  // we are inside its close event
  }
}

void Window::_Destroy() {
  open_ = false;
  if (native_->widget) {
    native_->widget->detach();
    delete native_->widget.data();
  }
}

void Window::MenuBar(std::shared_ptr<gui::MenuBar> bar) {
  CheckUIThread();
  menuBar_ = std::move(bar);
  QWidget* w = native_->widget;
  if (!w) return;
  delete native_->menuBar.data();
  if (menuBar_) {
    native_->menuBar = internal::BuildMenuBar(menuBar_, w);
    static_cast<QVBoxLayout*>(w->layout())->setMenuBar(native_->menuBar);
    native_->menuBar->setVisible(GetProperty("MenuBarVisible").AsBoolean());
  }
  internal::InstallApplicationShortcuts(w);  // less those its own menus now carry
  ApplyGeometry();
}

// ---- controls --------------------------------------------------------------------------------
void Window::AttachControl(const std::shared_ptr<Control>& control) {
  CheckUIThread();
  if (!native_->widget) throw UnsupportedOperationException("a control was made for a window that is not built");
  QObject* native = control->_CreateNative(native_->widget->content());
  control->_Attach(std::static_pointer_cast<Window>(shared_from_this()), native);
}

void Window::_AddControl(const std::string& name, std::shared_ptr<Control> control) {
  CheckUIThread();
  if (!control) throw NilObjectException("a nil control was added to " + ClassName());
  if (_ControlByName(name)) throw PropertyException(ClassName() + " has a control named " + name + " already");
  control->SetProperty("Name", name);
  controls_.push_back(std::move(control));
}

std::shared_ptr<Control> Window::_ControlByName(const std::string& name) const {
  CheckUIThread();
  for (const auto& c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}

QWidget* Window::_Widget() const { return native_->widget; }
QWidget* Window::_Content() const { return native_->widget ? native_->widget->content() : nullptr; }

std::shared_ptr<Window> _GetImplicitWindow(const std::string& key) {
  CheckUIThread();
  for (const auto& w : State().openWindows)
    if (w->ImplicitKey() == key) return w;
  return nullptr;
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  CheckUIThread();
  return State().openWindows;
}

}  // namespace gui
