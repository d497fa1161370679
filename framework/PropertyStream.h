#pragma once
#include <string>
#include <vector>

#include "Property.h"

namespace fw {

// A stored layout: records back to back, each a property name, one blank and
// the value encoded by the property's type (Boolean 1 byte, Int32 4 bytes
// big-endian, Color 3 bytes R G B, String a 4-byte big-endian byte count and
// the UTF-8 bytes). No header, count or terminator.
struct PropertyRecord {
  std::string name;
  PropertyValue value;
};

// Encodes records in the order given; each value's type is its variant's.
std::string EncodePropertyStream(const std::vector<PropertyRecord>& records);

// Decodes a stream against a class's table; names match regardless of letter
// case. Throws RuntimeException on an unknown name or a stream that ends
// inside a record.
std::vector<PropertyRecord> DecodePropertyStream(const std::string& stream, const PropertyTable& table);

// Applies a stream to an object: on return every property the stream names
// holds the stream's value.
void SetProperties(Object& object, const std::string& stream);

}  // namespace fw
