#include "Text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fw {

std::string Str(int32_t value) { return std::to_string(value); }

std::string Str(double value) {
  if (value == 0) return "0";  // also -0, which would otherwise show as "-0"
  // Fixed notation, so that Val reads every text back; the longest finite
  // Double needs 309 digits before the point or 324 after it.
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

double Val(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t start = i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  const size_t integerDigits = digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;

  double magnitude = 0;
  auto result = std::from_chars(text.data() + start, text.data() + i, magnitude,
                                std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large when a non-zero digit stands before the point, else too small.
    bool large = false;
    for (size_t k = start; k < start + integerDigits; ++k) large = large || text[k] != '0';
    magnitude = large ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -magnitude : magnitude;
}

double Round(double value) { return std::round(value); }

std::string NthField(const std::string& text, const std::string& separator, int32_t n) {
  if (n < 1) return "";
  if (separator.empty()) return n == 1 ? text : "";
  size_t begin = 0;
  for (int32_t field = 1; field < n; ++field) {
    const size_t found = text.find(separator, begin);
    if (found == std::string::npos) return "";
    begin = found + separator.size();
  }
  const size_t end = text.find(separator, begin);
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

int32_t CountFields(const std::string& text, const std::string& separator) {
  if (text.empty()) return 0;
  if (separator.empty()) return 1;
  int32_t count = 1;
  for (size_t found = text.find(separator); found != std::string::npos;
       found = text.find(separator, found + separator.size())) {
    ++count;
  }
  return count;
}

int32_t Asc(const std::string& text) {
  if (text.empty()) return 0;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  int length = 0;
  int32_t code = 0;
  int32_t least = 0;  // below this the sequence would be an overlong form
  if (lead < 0x80) return lead;
  if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1F, least = 0x80;
  else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0F, least = 0x800;
  else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07, least = 0x10000;
  else return lead;
  if (text.size() < static_cast<size_t>(length)) return lead;
  for (int k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return lead;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return lead;
  return code;
}

double Max(double a, double b) { return a > b ? a : b; }

double Min(double a, double b) { return a < b ? a : b; }

int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

bool StrEq(const std::string& a, const std::string& b) { return a == b; }

}  // namespace fw
