#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "Color.h"

namespace fw {

class Object;

enum class PropertyType { Boolean, Int32, Color, String };

using PropertyValue = std::variant<bool, int32_t, Color, std::string>;

// One stored property of a framework class: its name, its declared type and
// how to set it on an object of that class.
struct PropertyDecl {
  std::string name;
  PropertyType type;
  std::function<void(Object&, const PropertyValue&)> set;
};

// The stored properties of a class, its base classes' included.
using PropertyTable = std::vector<PropertyDecl>;

// Base of every framework object that can take a stored layout.
class Object {
 public:
  virtual ~Object() = default;
  // The table the layout decoder reads a stream against.
  virtual const PropertyTable& StoredProperties() const = 0;
};

}  // namespace fw
