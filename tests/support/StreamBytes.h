#pragma once
// The bytes a stored layout must hold, written out by hand from tables of
// records (name, type, value) so that a test compares a PropertyStream with
// every byte of it: the name, one blank, then the value by its type.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace streambytes {

// One encoded value.
struct Value {
  std::string bytes;
};

inline Value Int32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {{char(u >> 24), char(u >> 16), char(u >> 8), char(u)}};
}
inline Value Boolean(bool v) { return {std::string(1, v ? '\x01' : '\x00')}; }
inline Value Color(uint32_t rgb) { return {{char(rgb >> 16), char(rgb >> 8), char(rgb)}}; }
inline Value String(const std::string& text) { return {Int32(int32_t(text.size())).bytes + text}; }

// A record of a table with one value column per stream; nullopt where that
// stream has no such record.
struct Row {
  const char* name;
  std::vector<std::optional<Value>> values;
};

// The stream of column `column` of the table: its records in row order.
inline std::string Bytes(const std::vector<Row>& table, size_t column = 0) {
  std::string bytes;
  for (const Row& row : table) {
    const std::optional<Value>& value = row.values.at(column);
    if (value) bytes += std::string(row.name) + " " + value->bytes;
  }
  return bytes;
}

// Where actual first departs from column `column` of the table: the record
// whose bytes differ, or "" when the two are the same.
inline std::string FirstDifference(const std::vector<Row>& table, size_t column, const std::string& actual) {
  size_t at = 0;
  for (const Row& row : table) {
    const std::optional<Value>& value = row.values.at(column);
    if (!value) continue;
    std::string record = std::string(row.name) + " " + value->bytes;
    if (actual.compare(at, record.size(), record) != 0)
      return "record " + std::string(row.name) + " at byte " + std::to_string(at) + " differs";
    at += record.size();
  }
  return at == actual.size() ? "" : "the stream goes on past its last record";
}

}  // namespace streambytes
