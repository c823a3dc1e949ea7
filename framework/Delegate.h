// Binding a window's method to a control's event. A delegate carries the signature text of the
// method it calls; the text is checked against the method's own C++ types when the delegate is
// made, and against the event's signature when it is registered, so a handler of the wrong shape
// is refused at binding time rather than misbehaving at run time.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "framework/Object.h"

namespace gui {

class Control;

// The name a C++ parameter or result type has in a signature text.
template <class T>
struct SignatureType;
template <>
struct SignatureType<std::string> {
  static std::string Name() { return "String"; }
};
template <>
struct SignatureType<std::int64_t> {
  static std::string Name() { return "Integer"; }
};
template <>
struct SignatureType<bool> {
  static std::string Name() { return "Boolean"; }
};
template <>
struct SignatureType<double> {
  static std::string Name() { return "Double"; }
};
template <class T>
struct SignatureType<std::shared_ptr<T>> {
  static std::string Name() { return T::kClassName; }
};

// "( TextField, String ) as Boolean", "( Timer )".
template <class R, class... A>
std::string SignatureText() {
  std::string text = "(";
  bool first = true;
  ((text += (first ? " " : ", ") + SignatureType<A>::Name(), first = false), ...);
  text += " )";
  if constexpr (!std::is_void_v<R>) text += " as " + SignatureType<R>::Name();
  return text;
}

class Delegate : public Object {
 public:
  static constexpr const char* kClassName = "Delegate";
  std::string ClassName() const override { return kClassName; }

  Delegate(std::string signature, int flags, std::any function)
      : signature_(std::move(signature)), flags_(flags), function_(std::move(function)) {}
  const std::string& Signature() const { return signature_; }
  int Flags() const { return flags_; }

  // Calls the bound method; the argument types must be the event's own.
  template <class R, class... A>
  R Invoke(A... args) const {
    auto* fn = std::any_cast<std::function<R(A...)>>(&function_);
    if (!fn) throw EventBindingException("delegate " + signature_ + " called as " + SignatureText<R, A...>());
    return (*fn)(std::move(args)...);
  }

 private:
  std::string signature_;
  int flags_;
  std::any function_;
};

// A delegate on `method` of `target`, bound to that instance. The delegate holds the instance
// weakly, so a window and the handlers of its controls form no reference cycle; calling it after
// the instance is gone raises NilObjectException. `signature` must be the method's own signature
// text; otherwise EventBindingException.
template <class W, class R, class... A>
std::shared_ptr<Delegate> RuntimeCreateDelegate(W* target, R (W::*method)(A...), const std::string& signature,
                                                int flags) {
  if (!target) throw NilObjectException("delegate on a nil object");
  const std::string own = SignatureText<R, std::decay_t<A>...>();
  if (own != signature)
    throw EventBindingException("delegate signature \"" + signature + "\" does not match the method's \"" + own + "\"");
  std::weak_ptr<W> weak = std::static_pointer_cast<W>(target->shared_from_this());
  std::function<R(std::decay_t<A>...)> fn = [weak, method](std::decay_t<A>... args) -> R {
    auto self = weak.lock();
    if (!self) throw NilObjectException("the object of a delegate is gone");
    return ((*self).*method)(args...);
  };
  return std::make_shared<Delegate>(signature, flags, std::any(std::move(fn)));
}

// Registers `handler` for event number `event` of `control`. An event the control's class does
// not have, or a delegate whose signature differs from the event's, raises EventBindingException.
void RuntimeAddEventHandler(const std::shared_ptr<Control>& control, int event, const std::shared_ptr<Delegate>& handler);

}  // namespace gui
