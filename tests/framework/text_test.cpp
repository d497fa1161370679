#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "Text.h"

namespace {

struct ValCase {
  const char* text;
  double value;
};

const ValCase kValCases[] = {
    {"10.9.5", 10.9}, {"", 0},      {"abc", 0},       {".", 0},       {"-", 0},
    {"57", 57},       {"-25", -25}, {"+3", 3},        {"  \t12x", 12}, {"0.5", 0.5},
    {".25", 0.25},    {"7.", 7},    {"1e5", 1},       {"12 34", 12},  {"--1", 0},
    {"2,3", 2},       {"x12", 0},   {"00100", 100},
};

TEST(Val, ReadsTheNumberAtTheStart) {
  for (const ValCase& c : kValCases) EXPECT_EQ(fw::Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Val, BeyondTheDoubleRange) {
  EXPECT_EQ(fw::Val(std::string(400, '9')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(fw::Val("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(fw::Val("0." + std::string(400, '0') + "1"), 0);
}

TEST(Round, ExactHalvesGoAwayFromZero) {
  EXPECT_EQ(fw::Round(0.5), 1);
  EXPECT_EQ(fw::Round(1.5), 2);
  EXPECT_EQ(fw::Round(2.5), 3);
  EXPECT_EQ(fw::Round(12.5), 13);
  EXPECT_EQ(fw::Round(-2.5), -3);
  EXPECT_EQ(fw::Round(57.49999999999999), 57);
  EXPECT_EQ(fw::Round(27.500000000000004), 28);
  EXPECT_EQ(fw::Round(-0.4), 0);
}

TEST(ToInt32, TruncatesTowardsZeroAndSaturates) {
  EXPECT_EQ(fw::ToInt32(49.8), 49);
  EXPECT_EQ(fw::ToInt32(99.99999), 99);
  EXPECT_EQ(fw::ToInt32(-0.5), 0);
  EXPECT_EQ(fw::ToInt32(-49.8), -49);
  EXPECT_EQ(fw::ToInt32(100), 100);
  EXPECT_EQ(fw::ToInt32(3e10), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::ToInt32(-3e10), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(fw::ToInt32(std::nan("")), 0);
}

TEST(Str, IntegersAndDoubles) {
  EXPECT_EQ(fw::Str(int32_t(0)), "0");
  EXPECT_EQ(fw::Str(int32_t(-25)), "-25");
  EXPECT_EQ(fw::Str(std::numeric_limits<int32_t>::min()), "-2147483648");
  EXPECT_EQ(fw::Str(57.0), "57");
  EXPECT_EQ(fw::Str(360.0), "360");
  EXPECT_EQ(fw::Str(-3.0), "-3");
  EXPECT_EQ(fw::Str(-0.0), "0");
  EXPECT_EQ(fw::Str(fw::Round(-0.4)), "0");
  EXPECT_EQ(fw::Str(10.9), "10.9");
  EXPECT_EQ(fw::Str(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(fw::Str(1e20), "100000000000000000000");
  EXPECT_EQ(fw::Str(1e-7), "0.0000001");
}

// Str and Val are each other's inverse for finite Doubles.
TEST(Str, ReadsBackThroughVal) {
  for (double v : {10.9, -0.1, 1.0 / 3, 123456.789, 5e-324, 1.7976931348623157e308})
    EXPECT_EQ(fw::Val(fw::Str(v)), v) << fw::Str(v);
}

struct FieldCase {
  const char* text;
  const char* separator;
  int32_t n;
  const char* field;
};

const FieldCase kFieldCases[] = {
    {"0,50,100", ",", 1, "0"},   {"0,50,100", ",", 2, "50"}, {"0,50,100", ",", 3, "100"},
    {"0,50,100", ",", 4, ""},    {"0,50,100", ",", 0, ""},   {"0,50,100", ",", -1, ""},
    {"a,,b", ",", 2, ""},        {"a,,b", ",", 3, "b"},      {"", ",", 1, ""},
    {"abc", ",", 1, "abc"},      {"abc", ",", 2, ""},        {"a::b::c", "::", 2, "b"},
    {"abc", "", 1, "abc"},       {"abc", "", 2, ""},         {"a,", ",", 2, ""},
};

TEST(NthField, CountsFromOneAndIsEmptyPastTheLast) {
  for (const FieldCase& c : kFieldCases)
    EXPECT_EQ(fw::NthField(c.text, c.separator, c.n), c.field) << c.text << " field " << c.n;
}

TEST(CountFields, EveryOccurrenceSeparates) {
  EXPECT_EQ(fw::CountFields("", ","), 0);
  EXPECT_EQ(fw::CountFields("a", ","), 1);
  EXPECT_EQ(fw::CountFields("0,50,100", ","), 3);
  EXPECT_EQ(fw::CountFields("a  b", " "), 3);
  EXPECT_EQ(fw::CountFields(",", ","), 2);
  EXPECT_EQ(fw::CountFields("a::b::c", "::"), 3);
  EXPECT_EQ(fw::CountFields("abc", ""), 1);
}

TEST(Asc, FirstCodePointOfUtf8) {
  EXPECT_EQ(fw::Asc(""), 0);
  EXPECT_EQ(fw::Asc("A"), 65);
  EXPECT_EQ(fw::Asc("é"), 0xE9);
  EXPECT_EQ(fw::Asc("赤"), 0x8D64);
  EXPECT_EQ(fw::Asc("あざやかな赤"), 0x3042);
  EXPECT_EQ(fw::Asc("😀"), 0x1F600);
  // Malformed: a stray continuation byte, a cut sequence, an overlong form.
  EXPECT_EQ(fw::Asc("\x80"), 0x80);
  EXPECT_EQ(fw::Asc("\xE8\xB5"), 0xE8);
  EXPECT_EQ(fw::Asc("\xC0\xAF"), 0xC0);
}

TEST(MaxMin, LargerAndSmaller) {
  EXPECT_EQ(fw::Max(1, 2), 2);
  EXPECT_EQ(fw::Max(-1, -2), -1);
  EXPECT_EQ(fw::Min(1, 2), 1);
  EXPECT_EQ(fw::Min(-1, -2), -2);
}

TEST(StrEq, WholeTextAndCaseSensitive) {
  EXPECT_TRUE(fw::StrEq("RGB", "RGB"));
  EXPECT_FALSE(fw::StrEq("RGB", "rgb"));
  EXPECT_FALSE(fw::StrEq("RGB", "RGB "));
  EXPECT_TRUE(fw::StrEq("", ""));
}

}  // namespace
