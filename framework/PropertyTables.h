#pragma once
#include <string>
#include <type_traits>
#include <utility>

#include "Property.h"

// Builders of the rows of a class's property table.
namespace fw::props {

template <class T>
constexpr PropertyType TypeOf() {
  if constexpr (std::is_same_v<T, bool>) {
    return PropertyType::Boolean;
  } else if constexpr (std::is_same_v<T, int32_t>) {
    return PropertyType::Int32;
  } else if constexpr (std::is_same_v<T, Color>) {
    return PropertyType::Color;
  } else {
    static_assert(std::is_same_v<T, std::string>, "no stored type for this member");
    return PropertyType::String;
  }
}

// A property held in a plain data member.
template <class C, class T>
PropertyDecl Field(std::string name, T C::*member) {
  return {std::move(name), TypeOf<T>(),
          [member](Object& o, const PropertyValue& v) { static_cast<C&>(o).*member = std::get<T>(v); }};
}

// A property whose setter has an effect on the native side.
template <class C, class T>
PropertyDecl Setter(std::string name, void (C::*setter)(T)) {
  using V = std::remove_cvref_t<T>;
  return {std::move(name), TypeOf<V>(),
          [setter](Object& o, const PropertyValue& v) { (static_cast<C&>(o).*setter)(std::get<V>(v)); }};
}

// A derived class's table: its base's rows, then its own.
inline PropertyTable Extend(const PropertyTable& base, std::initializer_list<PropertyDecl> own) {
  PropertyTable table = base;
  table.insert(table.end(), own.begin(), own.end());
  return table;
}

}  // namespace fw::props
