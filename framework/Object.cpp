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

namespace {

std::string Describe(const Value& v) {
  switch (v.Kind()) {
    case ValueKind::Boolean: return v.AsBoolean() ? "true" : "false";
    case ValueKind::Integer: return std::to_string(v.AsInteger());
    case ValueKind::Double: return std::to_string(v.AsDouble());
    case ValueKind::String: return "\"" + v.AsString() + "\"";
    case ValueKind::Color: return "a colour";
  }
  return "?";
}

}  // namespace

void PropertyRows::Add(PropertyRow row) {
  if (Find(row.name)) throw PropertyException("the property " + row.name + " is declared twice");
  rows_.push_back(std::move(row));
}

const PropertyRow* PropertyRows::Find(const std::string& name) const {
  for (const auto& row : rows_)
    if (row.name == name) return &row;
  return nullptr;
}

bool PropertyHolder::PropertyKind(const std::string& name, ValueKind* kind) const {
  const PropertyRow* row = Properties().Find(name);
  if (row && kind) *kind = row->initial.Kind();
  return row != nullptr;
}

const PropertyRow& PropertyHolder::Checked(const std::string& name, const Value& value) const {
  const PropertyRow* row = Properties().Find(name);
  if (!row) throw PropertyException(ClassName() + " has no property " + name);
  const ValueKind expected = row->initial.Kind();
  const bool fits = value.Kind() == expected ||
                    (expected == ValueKind::Double && value.Kind() == ValueKind::Integer);
  if (!fits)
    throw PropertyException(ClassName() + "." + name + " takes a " + ValueKindName(expected) + ", not a " +
                            ValueKindName(value.Kind()));
  // Refused before it is stored: a later effect that reads the stored values never sees it.
  if (row->accepts && !row->accepts(value))
    throw PropertyException(ClassName() + "." + name + " takes " + row->acceptable + ", not " + Describe(value));
  // A value that would reach the widget off the UI thread is refused here too, before it is
  // stored: otherwise it would read back as set while the widget still shows the old one.
  if (Applies(*row)) CheckUIThread();
  return *row;
}

void PropertyHolder::Store(const std::string& name, const Value& value) {
  for (auto& p : values_) {
    if (p.name == name) {
      p.value = value;
      return;
    }
  }
  values_.push_back({name, value});
}

void PropertyHolder::SetProperty(const std::string& name, const Value& value) {
  const PropertyRow& row = Checked(name, value);
  Store(name, value);
  Apply(row, value);
}

void PropertyHolder::KeepNativeValue(const std::string& name, const Value& value) {
  Checked(name, value);
  Store(name, value);
}

Value PropertyHolder::GetProperty(const std::string& name) const {
  const PropertyRow* row = Properties().Find(name);
  if (!row) throw PropertyException(ClassName() + " has no property " + name);
  for (const auto& p : values_)
    if (p.name == name) return p.value;
  return row->initial;
}

void PropertyHolder::ApplyAllProperties() {
  for (const auto& row : Properties().All()) Apply(row, GetProperty(row.name));
}

bool PropertyHolder::Applies(const PropertyRow& row) const { return row.apply && AppliesProperties(); }

void PropertyHolder::Apply(const PropertyRow& row, const Value& value) {
  if (!Applies(row)) return;
  CheckUIThread();
  row.apply(*this, value);
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
