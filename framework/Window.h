// A top-level window: a fixed table of window properties (applied by its Layout), its controls
// (made by its CreateControls), an optional menu bar, and its own Close, KeyDown and MouseDown
// events. While a window is open, shown or hidden, the layer holds it and finds it by its class's
// key "Class.Class"; once closed it is forgotten.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Object.h"

class QWidget;

namespace gui {

class MenuBar;

class Window : public PropertyHolder {
 public:
  static constexpr const char* kClassName = "Window";
  std::string ClassName() const override { return kClassName; }

  Window();
  ~Window() override;

  // Builds the window: makes its Qt window, raises Layout and then CreateControls, orders the tab
  // chain by TabIndex, registers the window under ImplicitKey() and shows it when Visible is
  // true. The window must be owned by a std::shared_ptr. Requires the UI thread and a running
  // framework (_RunFrameworkInitialization).
  void Constructor();
  std::string ImplicitKey() const { return ClassName() + "." + ClassName(); }

  // ---- events a window class may handle --------------------------------------------------
  virtual void Layout() {}
  virtual void CreateControls() {}
  // Raised once, when the window closes.
  virtual void Event_Close() {}
  // A key press that no control of the window consumed.
  virtual bool Event_KeyDown(const std::string& key) { (void)key; return false; }
  // A mouse press on the window or on a control that handles no press of its own.
  virtual bool Event_MouseDown(std::int64_t x, std::int64_t y) { (void)x; (void)y; return false; }
  // Asked before the user's close takes effect; true keeps the window open. Not asked when the
  // program quits.
  virtual bool CancelClose(bool appQuitting) { (void)appQuitting; return false; }

  // ---- operations -----------------------------------------------------------------------
  // Shown, in front and active; returns at once, also when already shown. Does nothing once the
  // program is quitting.
  void Show();
  // Not shown; still open.
  void Hide();
  // Closes the window as the user's close would, without asking CancelClose.
  void Close();
  bool Visible() const;
  bool IsOpen() const { return open_; }

  void MenuBar(std::shared_ptr<gui::MenuBar> bar);
  std::shared_ptr<gui::MenuBar> MenuBar() const { return menuBar_; }

  // ---- controls -------------------------------------------------------------------------
  // Allocates a control of class T for this window; its widget lies above every control made
  // before it. The caller runs its Constructor and registers it with _AddControl.
  template <class T>
  std::shared_ptr<T> __New() {
    auto control = std::make_shared<T>();
    AttachControl(control);
    return control;
  }
  // Registers `control` under `name` (also its Name property). A second control of one name
  // raises PropertyException.
  void _AddControl(const std::string& name, std::shared_ptr<Control> control);
  // The control registered under `name`, or nullptr.
  std::shared_ptr<Control> _ControlByName(const std::string& name) const;
  // The usual first steps for a control, in one call: allocated, constructed and registered
  // under `name`.
  template <class T>
  std::shared_ptr<T> NewControl(const std::string& name) {
    auto control = __New<T>();
    control->Constructor();
    _AddControl(name, control);
    return control;
  }
  // The control registered under `name`, cast to T with the class test: NilObjectException when
  // there is none, IllegalCastException when it is of another class.
  template <class T>
  std::shared_ptr<T> ControlNamed(const std::string& name) const {
    return RuntimeCheckCast<T>(_ControlByName(name));
  }
  const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }

  // Layer-internal.
  QWidget* _Widget() const;
  QWidget* _Content() const;
  bool _MayClose();   // the user asked to close: false keeps the window open
  void _Closed();     // the window closed: raises Close and forgets the window
  void _Destroy();    // ends the window without raising any event

 protected:
  const PropertyRows& Properties() const override;
  // Effects reach the Qt window only while there is one.
  bool AppliesProperties() const override;

 private:
  static const PropertyRows& Rows();
  void AttachControl(const std::shared_ptr<Control>& control);
  void ApplyFrame();
  void ApplyGeometry();
  void ApplyBackground();
  void OrderTabChain();
  void Place();
  struct Native;
  std::unique_ptr<Native> native_;
  std::vector<std::shared_ptr<Control>> controls_;
  std::shared_ptr<gui::MenuBar> menuBar_;
  bool open_ = false;
  bool closing_ = false;
};

// The open window registered under `key` ("ControlWnd.ControlWnd"), shown or hidden, or nullptr.
std::shared_ptr<Window> _GetImplicitWindow(const std::string& key);
// Every open window, in the order they were made.
std::vector<std::shared_ptr<Window>> OpenWindows();

// The shared instance of window class W: the open one, or a new one built now.
template <class W>
std::shared_ptr<W> ImplicitInstance() {
  auto found = _GetImplicitWindow(std::string(W::kClassName) + "." + W::kClassName);
  if (!found) {
    auto made = std::make_shared<W>();
    made->Constructor();
    found = made;
  }
  return RuntimeCheckCast<W>(found);
}

}  // namespace gui
