// Base of every object of the GUI layer: reference counting through std::shared_ptr, a class
// name that the cast and the delegate signatures use, the layer's errors, and property tables.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace gui {

// ---- errors -------------------------------------------------------------------------------
// Every error the layer raises derives from RuntimeException; it is what an unhandled-exception
// report names.
class RuntimeException : public std::runtime_error {
 public:
  explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
  virtual const char* TypeName() const noexcept { return "RuntimeException"; }
};

#define GUI_DECLARE_EXCEPTION(Name)                                                  \
  class Name : public RuntimeException {                                             \
   public:                                                                           \
    explicit Name(const std::string& message) : RuntimeException(message) {}         \
    const char* TypeName() const noexcept override { return #Name; }                 \
  }

GUI_DECLARE_EXCEPTION(NilObjectException);          // a nil object was used
GUI_DECLARE_EXCEPTION(IllegalCastException);        // RuntimeCheckCast found another class
GUI_DECLARE_EXCEPTION(ThreadAccessingUIException);  // a UI operation off the UI thread
GUI_DECLARE_EXCEPTION(PropertyException);           // unknown property or wrong value type
GUI_DECLARE_EXCEPTION(EventBindingException);       // unknown event or signature mismatch
GUI_DECLARE_EXCEPTION(UnsupportedOperationException);

#undef GUI_DECLARE_EXCEPTION

// ---- objects ------------------------------------------------------------------------------
class Object : public std::enable_shared_from_this<Object> {
 public:
  static constexpr const char* kClassName = "Object";
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;
  // The name under which the class is registered with the layer.
  virtual std::string ClassName() const { return kClassName; }
};

// Casts `object` to T, testing the class. Nil raises NilObjectException; an object of another
// class raises IllegalCastException.
template <class T, class U>
std::shared_ptr<T> RuntimeCheckCast(const std::shared_ptr<U>& object) {
  if (!object) throw NilObjectException(std::string("nil object where ") + T::kClassName + " was expected");
  auto cast = std::dynamic_pointer_cast<T>(object);
  if (!cast) throw IllegalCastException(object->ClassName() + " cannot be cast to " + T::kClassName);
  return cast;
}

// ---- property values ----------------------------------------------------------------------
struct Color {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};
constexpr Color RGB(int r, int g, int b) {
  return Color{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

enum class ValueKind { Boolean, Integer, Double, String, Color };

// One value of a property table. The constructors are explicit about the C++ type so that a
// string literal never turns into a Boolean and an int never into a double by accident.
class Value {
 public:
  Value(bool v) : v_(v) {}
  Value(int v) : v_(static_cast<std::int64_t>(v)) {}
  Value(std::int64_t v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(const char* v) : v_(std::string(v)) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(Color v) : v_(v) {}

  ValueKind Kind() const { return static_cast<ValueKind>(v_.index()); }
  bool AsBoolean() const { return std::get<bool>(v_); }
  std::int64_t AsInteger() const { return std::get<std::int64_t>(v_); }
  // An integer is accepted where a double is expected (30 for 30.0); the reverse is refused.
  double AsDouble() const {
    return Kind() == ValueKind::Integer ? static_cast<double>(AsInteger()) : std::get<double>(v_);
  }
  const std::string& AsString() const { return std::get<std::string>(v_); }
  Color AsColor() const { return std::get<Color>(v_); }
  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<bool, std::int64_t, double, std::string, Color> v_;
};

const char* ValueKindName(ValueKind kind);

struct Property {
  std::string name;
  Value value;
};
using PropertyTable = std::vector<Property>;

class PropertyHolder;

// One property a class knows: its name, its default (whose kind is the property's kind), what
// setting it does, and which values of that kind it takes.
struct PropertyRow {
  using Apply = std::function<void(PropertyHolder&, const Value&)>;
  std::string name;
  Value initial;
  Apply apply;                                  // empty: the value is only stored
  bool (*accepts)(const Value&) = nullptr;      // nullptr: every value of the kind
  const char* acceptable = "";                  // what `accepts` takes, for the refusal's message
};

// The properties of a class: its own rows on top of its base class's. A row of the class
// replaces the base's row of the same name. In order, the class's own rows come first, then the
// base's; that is the order in which a new native object is given every value.
class PropertyRows {
 public:
  // One row as a class writes it: its effect takes the class itself.
  template <class T>
  struct Row {
    const char* name;
    Value initial;
    void (*apply)(T&, const Value&) = nullptr;
    bool (*accepts)(const Value&) = nullptr;
    const char* acceptable = "";
  };

  template <class T>
  PropertyRows(const PropertyRows* base, const std::vector<Row<T>>& own) {
    for (const auto& row : own) {
      PropertyRow::Apply apply;
      if (auto fn = row.apply) apply = [fn](PropertyHolder& holder, const Value& v) { fn(static_cast<T&>(holder), v); };
      Add({row.name, row.initial, std::move(apply), row.accepts, row.acceptable});
    }
    if (base)
      for (const auto& row : base->rows_)
        if (!Find(row.name)) rows_.push_back(row);
  }

  const PropertyRow* Find(const std::string& name) const;
  const std::vector<PropertyRow>& All() const { return rows_; }

 private:
  void Add(PropertyRow row);
  std::vector<PropertyRow> rows_;
};

// An object whose properties can be set from a table. Every class declares its rows. Setting an
// unknown name, a value of the wrong kind or a value the property does not take raises
// PropertyException, and a value that would reach the native object off the UI thread raises
// ThreadAccessingUIException; either way the stored value stays as it was.
class PropertyHolder : public Object {
 public:
  // Checks the name, the kind, the value and (where it has an effect) the thread, stores it and
  // applies its effect.
  void SetProperty(const std::string& name, const Value& value);
  // The last value set for a property (or its default); PropertyException when the class does
  // not know the name.
  Value GetProperty(const std::string& name) const;
  // The kind a property of this class takes, or false when the class does not know the name.
  bool PropertyKind(const std::string& name, ValueKind* kind) const;

 protected:
  virtual const PropertyRows& Properties() const = 0;
  // Whether effects are applied now; while false (no native object yet, or no more) a value is
  // only stored.
  virtual bool AppliesProperties() const { return true; }
  // Applies the current value of every property, in row order: a new native object's dressing.
  void ApplyAllProperties();
  // Records a value that the native object shows already, because the user changed it there:
  // checked like SetProperty, stored, and not applied back. What a property's effect does for
  // the program's own values (where a text field puts its cursor, say) must not happen to the
  // user's typing.
  void KeepNativeValue(const std::string& name, const Value& value);

 private:
  // The row for a value that may be stored; raises what SetProperty raises.
  const PropertyRow& Checked(const std::string& name, const Value& value) const;
  void Store(const std::string& name, const Value& value);
  // Whether setting the row now has an effect on the native object (a UI operation).
  bool Applies(const PropertyRow& row) const;
  void Apply(const PropertyRow& row, const Value& value);
  std::vector<Property> values_;
};

// Applies every row of the table in order; stops at the first row that is refused.
void _SetProperties(PropertyHolder& object, const PropertyTable& table);
void _SetProperties(const std::shared_ptr<PropertyHolder>& object, const PropertyTable& table);

}  // namespace gui
