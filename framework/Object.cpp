#include "framework/Object.h"

#include "framework/Runtime.h"

namespace gui {

const char* ValueKindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Boolean: return "Boolean";
    case ValueKind::Integer: return "Integer";
    case ValueKind::Double: return "Double";
    case ValueKind::String: return "String";
    case ValueKind::Color: return "Color";
  }
  return "?";
}

void PropertyHolder::SetProperty(const std::string& name, const Value& value) {
  ValueKind expected;
  if (!PropertyKind(name, &expected))
    throw PropertyException(ClassName() + " has no property " + name);
  const bool fits = value.Kind() == expected ||
                    (expected == ValueKind::Double && value.Kind() == ValueKind::Integer);
  if (!fits)
    throw PropertyException(ClassName() + "." + name + " takes a " + ValueKindName(expected) + ", not a " +
                            ValueKindName(value.Kind()));
  bool stored = false;
  for (auto& p : values_) {
    if (p.name == name) {
      p.value = value;
      stored = true;
      break;
    }
  }
  if (!stored) values_.push_back({name, value});
  ApplyProperty(name, value);
}

Value PropertyHolder::GetProperty(const std::string& name) const {
  ValueKind kind;
  if (!PropertyKind(name, &kind)) throw PropertyException(ClassName() + " has no property " + name);
  for (const auto& p : values_)
    if (p.name == name) return p.value;
  return DefaultProperty(name);
}

void _SetProperties(PropertyHolder& object, const PropertyTable& table) {
  CheckUIThread();
  for (const auto& row : table) object.SetProperty(row.name, row.value);
}

void _SetProperties(const std::shared_ptr<PropertyHolder>& object, const PropertyTable& table) {
  if (!object) throw NilObjectException("properties set on a nil object");
  _SetProperties(*object, table);
}

}  // namespace gui
