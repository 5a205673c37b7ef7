#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "engine/number_text.h"

namespace vistrel {
namespace {

struct IntegerCase {
    std::u16string_view text;
    std::int32_t value;
};

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ReadLeadingIntegerTest, ReadsLikeTheRuntimesWtoi) {
    const IntegerCase cases[] = {
        {u"42", 42},
        {u" \t\n\r\v\f7", 7},
        {u"-17", -17},
        {u"+5", 5},
        {u"2013 r.", 2013},
        {u"12.5", 12},
        {u"0009", 9},
        {u"", 0},
        {u"maja", 0},
        {u"-", 0},
        {u"- 5", 0},
        {u"+-5", 0},
        {u"0x1A", 0},
        {u"\u0661\u0662", 0},  // Arabic-Indic digits are not decimal digits here
        {u"2147483647", kMax},
        {u"-2147483648", kMin},
        {u"2147483648", kMax},
        {u"-2147483649", kMin},
        {u"99999999999999999999999", kMax},
        {u"-99999999999999999999999", kMin},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.text)));
        EXPECT_EQ(ReadLeadingInteger(c.text.data()), c.value);
    }
}

struct DecimalCase {
    std::u16string_view text;
    double value;
};

TEST(ReadLeadingDecimalTest, ReadsLikeTheRuntimesWtofWithAPoint) {
    const DecimalCase cases[] = {
        {u"13", 13.0},
        {u"13.00", 13.0},
        {u"0.05", 0.05},
        {u" \t 8.5", 8.5},
        {u"-1.25", -1.25},
        {u"+3.5", 3.5},
        {u".5", 0.5},
        {u"5.", 5.0},
        {u"1.5e2", 150.0},
        {u"25E-1", 2.5},
        {u"2e+3", 2000.0},
        {u"7e", 7.0},
        {u"7e+x", 7.0},
        {u"13,00", 13.0},
        {u"1.5.3", 1.5},
        {u"0.04 %", 0.04},
        {u"12345678901234567890", 12345678901234567890.0},
        {u"", 0.0},
        {u".", 0.0},
        {u"-", 0.0},
        {u"<b>13", 0.0},
        {u"0x10", 0.0},
        {u"inf", 0.0},
        {u"nan", 0.0},
    };
    for (const DecimalCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.text)));
        EXPECT_DOUBLE_EQ(ReadLeadingDecimal(c.text.data()), c.value);
    }
}

TEST(ReadLeadingDecimalTest, OverflowGivesInfinityOfItsSign) {
    EXPECT_EQ(ReadLeadingDecimal(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLeadingDecimal(u"-1e400"), -std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace vistrel
