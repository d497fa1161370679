#include "VersionProbe.h"

#include <vector>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The dot-separated whole numbers at the start of text; empty when it does
// not begin with a digit. A field too long for a long saturates.
std::vector<long> Fields(const std::string& text) {
  std::vector<long> fields;
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return fields;
  constexpr long kCap = 1'000'000'000;
  while (i < text.size() && IsDigit(text[i])) {
    long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) value = value >= kCap ? kCap : value * 10 + (text[i] - '0');
    fields.push_back(value);
    if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]))
      ++i;
    else
      break;
  }
  return fields;
}

}  // namespace

bool VersionAtLeast(const std::string& text, std::initializer_list<long> minimum) {
  std::vector<long> version = Fields(text);
  if (version.empty()) return false;
  size_t i = 0;
  for (long wanted : minimum) {
    long have = i < version.size() ? version[i] : 0;
    if (have != wanted) return have > wanted;
    ++i;
  }
  return true;
}
