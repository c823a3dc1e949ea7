// The controls a window is built from. Each is a property holder: a window's control table is
// applied with _SetProperties, and every property name a class knows is listed in Controls.cpp.
// Text is held in the property "Value".
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Delegate.h"
#include "framework/Object.h"
#include "framework/Runtime.h"

class QWidget;
class QObject;

namespace gui {

class Window;
class Picture;

struct EventSpec {
  int number;
  const char* name;
  const char* signature;
};

class Control : public PropertyHolder {
 public:
  static constexpr const char* kClassName = "Control";
  std::string ClassName() const override { return kClassName; }
  ~Control() override;

  // The default constructor of every control: its properties at their defaults.
  virtual void Constructor() {}

  std::string Name() const { return GetProperty("Name").AsString(); }
  // The window the control belongs to; nullptr once that window is gone.
  std::shared_ptr<Window> Owner() const;

  // Events: the numbered events of the class, and the handlers bound to them.
  virtual const EventSpec* FindEvent(int number) const;
  void AddHandler(int number, std::shared_ptr<Delegate> handler);
  bool HasHandler(int number) const { return handlers_.count(number) != 0; }

  // Layer-internal: Window::__New makes the control's Qt object with _CreateNative (a widget
  // on `content` for the visible controls) and then calls _Attach.
  virtual QObject* _CreateNative(QWidget* content) = 0;
  void _Attach(const std::shared_ptr<Window>& owner, QObject* native);
  QObject* _Native() const { return native_; }

 protected:
  const PropertyRows& Properties() const override;
  // Effects reach the Qt object only while there is one.
  bool AppliesProperties() const override { return native_ != nullptr; }
  // Runs the handler of `number` with `args` through the exception helper, or returns `otherwise`
  // when no handler is bound. An error escaping the handler goes to the unhandled-exception
  // report and `otherwise` is returned.
  template <class R, class... A>
  R Raise(int number, R otherwise, A... args) {
    auto handler = HandlerFor(number);
    if (!handler) return otherwise;
    R result = otherwise;
    _DispatchSafely([&] { result = handler->template Invoke<R, A...>(args...); });
    return result;
  }
  template <class... A>
  void RaiseVoid(int number, A... args) {
    auto handler = HandlerFor(number);
    if (handler) _DispatchSafely([&] { handler->template Invoke<void, A...>(args...); });
  }
  std::shared_ptr<Delegate> HandlerFor(int number) const;
  // Makes `native` the control's Qt object and follows its life: once Qt destroys it, native_
  // is nullptr again and the control's operations leave Qt alone.
  void AdoptNative(QObject* native);

  std::weak_ptr<Window> owner_;
  QObject* native_ = nullptr;  // reset when Qt destroys the object

 private:
  struct NativeLink;
  std::shared_ptr<NativeLink> link_;  // shared_ptr: NativeLink stays incomplete here
  std::map<int, std::shared_ptr<Delegate>> handlers_;
};

// A control with a frame on the window.
class RectControl : public Control {
 public:
  static constexpr const char* kClassName = "RectControl";
  std::string ClassName() const override { return kClassName; }

  void Visible(bool on);
  bool Visible() const;
  void Enabled(bool on);
  bool Enabled() const;
  void SetFocus();
  bool HasFocus() const;

  QWidget* _Widget() const;
  // Layer-internal, for the window. Whether Tab can reach the control (it still skips it while
  // hidden or disabled); the chain itself is ordered by TabIndex.
  bool _TakesTabFocus() const;
  // The window's content was resized (by the user): the control moves or stretches by its locks.
  // Locked left and right it stretches, right only it moves; likewise top and bottom.
  void _ContentResized(int oldW, int oldH, int newW, int newH);

 protected:
  const PropertyRows& Properties() const override;
  // Adopts a new widget and applies the current value of every property to it.
  void DressNative(QObject* native);

 private:
  // A Boolean property, read or set on the UI thread only.
  void SetFlag(const char* name, bool on);
  bool Flag(const char* name) const;
};

// A control whose text is its Value property: the two text entries and the static text.
class TextControl : public RectControl {
 public:
  static constexpr const char* kClassName = "TextControl";
  std::string ClassName() const override { return kClassName; }
  void Text(const std::string& text);
  std::string Text() const;

 protected:
  const PropertyRows& Properties() const override;
  // The text as the control holds it now; by default the stored Value.
  virtual std::string CurrentText() const;
};

// A one-line text entry. Its KeyDown event (9) runs before the field acts on a key: True from
// the handler consumes the key. MaximumCharactersAllowed bounds what the user types or pastes,
// never the text the program sets.
class TextField : public TextControl {
 public:
  static constexpr const char* kClassName = "TextField";
  static constexpr int kKeyDown = 9;
  std::string ClassName() const override { return kClassName; }
  QObject* _CreateNative(QWidget* content) override;

  const EventSpec* FindEvent(int number) const override;

  // Layer-internal: the key filter. True when the key was consumed.
  bool _KeyDown(const std::string& keyText);

 protected:
  const PropertyRows& Properties() const override;
  std::string CurrentText() const override;
};

// A static text.
class Label : public TextControl {
 public:
  static constexpr const char* kClassName = "Label";
  std::string ClassName() const override { return kClassName; }
  QObject* _CreateNative(QWidget* content) override;

 protected:
  const PropertyRows& Properties() const override;
};

// A multi-line text. Lines in Value are separated by CR ("\r"), LF or CR LF; Text() gives them
// back separated by CR.
class TextArea : public TextControl {
 public:
  static constexpr const char* kClassName = "TextArea";
  std::string ClassName() const override { return kClassName; }
  QObject* _CreateNative(QWidget* content) override;

 protected:
  const PropertyRows& Properties() const override;
  std::string CurrentText() const override;
};

// A drawing surface whose whole face is its backdrop picture. It never takes the focus. Its
// MouseDown event (21) runs on the press, with the position inside the canvas.
class Canvas : public RectControl {
 public:
  static constexpr const char* kClassName = "Canvas";
  static constexpr int kMouseDown = 21;
  std::string ClassName() const override { return kClassName; }
  QObject* _CreateNative(QWidget* content) override;

  void Backdrop(std::shared_ptr<Picture> picture);
  std::shared_ptr<Picture> Backdrop() const { return backdrop_; }

  const EventSpec* FindEvent(int number) const override;

  // Layer-internal: a press; true when a handler took it.
  bool _MouseDown(std::int64_t x, std::int64_t y);

 protected:
  const PropertyRows& Properties() const override;

 private:
  std::shared_ptr<Picture> backdrop_;
};

// Fires its Action event (0) `Period` milliseconds after it is set up: once with RunMode 1,
// repeatedly with RunMode 2, never with RunMode 0. Setting Period or RunMode starts it anew.
// No timer fires once the program is quitting.
class Timer : public Control {
 public:
  static constexpr const char* kClassName = "Timer";
  static constexpr int kAction = 0;
  std::string ClassName() const override { return kClassName; }
  QObject* _CreateNative(QWidget* content) override;

  std::int64_t Period() const { return GetProperty("Period").AsInteger(); }
  std::int64_t RunMode() const { return GetProperty("RunMode").AsInteger(); }
  bool Pending() const;

  const EventSpec* FindEvent(int number) const override;

  // Layer-internal: the timer fired.
  void _Fire();

 protected:
  const PropertyRows& Properties() const override;
};

}  // namespace gui
