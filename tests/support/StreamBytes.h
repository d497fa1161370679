#pragma once
// The bytes a stored layout must hold, written out by hand from tables of
// records (name, type, value) so that a test compares a PropertyStream with
// every byte of it: the name, one blank, then the value by its type. Also
// the table of the two windows' own streams, which share their records.
#include <gtest/gtest.h>

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

// Passes when actual is exactly column `column` of the table; otherwise
// names the first record whose bytes differ.
inline testing::AssertionResult HoldsExactly(const std::string& actual, const std::vector<Row>& table,
                                             size_t column) {
  size_t at = 0;
  for (const Row& row : table) {
    const std::optional<Value>& value = row.values.at(column);
    if (!value) continue;
    std::string record = std::string(row.name) + " " + value->bytes;
    if (actual.compare(at, record.size(), record) != 0)
      return testing::AssertionFailure() << "record " << row.name << " at byte " << at << " differs";
    at += record.size();
  }
  if (at != actual.size()) return testing::AssertionFailure() << "the stream goes on past its last record";
  return testing::AssertionSuccess();
}

// A stream and the column of a table it must hold.
struct StreamCase {
  const char* what;
  const std::string& (*stream)();
  const std::vector<Row>& table;
  size_t column;
};

inline void ExpectEachHoldsExactly(const std::vector<StreamCase>& cases) {
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(HoldsExactly(c.stream(), c.table, c.column));
  }
}

// The two windows' own streams: the same 22 records in the same order.
// Columns: the picker window, the About window.
inline const std::vector<Row>& WindowTable() {
  static const std::vector<Row> table = {
      {"Placement", {Int32(0), Int32(2)}},
      {"Width", {Int32(201), Int32(280)}},
      {"Height", {Int32(250), Int32(222)}},
      {"MinWidth", {Int32(64), Int32(64)}},
      {"MinHeight", {Int32(64), Int32(64)}},
      {"MaxWidth", {Int32(32000), Int32(32000)}},
      {"MaxHeight", {Int32(32000), Int32(32000)}},
      {"Frame", {Int32(0), Int32(0)}},
      {"Composite", {Boolean(false), Boolean(false)}},
      {"HasBackColor", {Boolean(false), Boolean(false)}},
      {"BackColor", {Color(0xFFFFFF), Color(0xFFFFFF)}},
      {"Title", {String("Tintbeacon"), String("")}},
      {"Visible", {Boolean(true), Boolean(true)}},
      {"FullScreen", {Boolean(false), Boolean(false)}},
      {"MenuBarVisible", {Boolean(true), Boolean(true)}},
      {"CloseButton", {Boolean(true), Boolean(true)}},
      {"Resizeable", {Boolean(false), Boolean(false)}},
      {"LiveResize", {Boolean(true), Boolean(false)}},
      {"MaximizeButton", {Boolean(false), Boolean(false)}},
      {"MinimizeButton", {Boolean(true), Boolean(false)}},
      {"FullScreenButton", {Boolean(false), Boolean(false)}},
      {"MacProcID", {Int32(0), Int32(0)}},
  };
  return table;
}
inline constexpr size_t kPickerWindow = 0, kAboutWindow = 1;

}  // namespace streambytes
