#pragma once
#include <cstdint>
#include <string>

namespace fw {

// The framework's text and number functions. Texts are UTF-8.

// Decimal text of an Int32: "-25", "0", "201".
std::string Str(int32_t value);
// Decimal text of a Double, never in exponent form: whole numbers without a
// point ("57", "-3", "0" also for -0), otherwise the shortest text that reads
// back to the same Double ("10.9"); NaN and infinities give "nan", "inf", "-inf".
std::string Str(double value);
// The number at the start of a text after leading blanks and tabs: an optional
// sign, digits, at most one point and digits after it ("10.9.5" -> 10.9,
// "-25" -> -25, "", "abc" and "." -> 0). Stops at the first other character;
// no exponent form. A number beyond the Double range gives +-inf, one below it 0.
double Val(const std::string& text);
// Nearest whole number; an exact half goes away from zero (0.5 -> 1, -2.5 -> -3).
double Round(double value);
// The n-th field (from 1) of text split at every occurrence of separator;
// "" for n below 1 or past the last field; an empty separator gives the whole
// text as field 1.
std::string NthField(const std::string& text, const std::string& separator, int32_t n);
// The number of fields of text split at every occurrence of separator:
// "" has 0 fields, "a" 1, "a b" 2, "a  b" 3 (runs of separators make empty fields);
// an empty separator gives 1 for any other text.
int32_t CountFields(const std::string& text, const std::string& separator);
// The Unicode code point of the first character of a UTF-8 text; 0 for "";
// a malformed sequence gives the value of its first byte.
int32_t Asc(const std::string& text);
// The larger and the smaller of two Doubles.
double Max(double a, double b);
double Min(double a, double b);
// Double to Int32: truncates towards zero (49.8 -> 49, -0.5 -> 0); values out
// of range and NaN saturate (NaN -> 0).
int32_t ToInt32(double value);
// String equality: whole-text, byte for byte (case-sensitive).
bool StrEq(const std::string& a, const std::string& b);

}  // namespace fw
