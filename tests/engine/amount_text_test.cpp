#include "engine/amount_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vistrel {
namespace {

struct AmountCase {
    std::u16string_view text;
    double value;  // the leading number, as the dialog reads it
    bool whole;    // the whole text is that number, as the command line wants it
};

const AmountCase kAmountCases[] = {
    {u"1234,56", 1234.56, true},
    {u"1234.56", 1234.56, true},
    {u"10000", 10000.0, true},
    {u"-5", -5.0, true},
    {u"+7,5", 7.5, true},
    {u",5", 0.5, true},
    {u"12.", 12.0, true},
    {u"1e3", 1000.0, true},
    {u"2,5E-1", 0.25, true},
    {u"2,5e2", 250.0, true},
    {u"0.0", 0.0, true},
    // What leads the text counts for the dialog; the command line refuses the rest.
    {u"1 234,56", 1.0, false},
    {u"12zł", 12.0, false},
    {u"1,234.56", 1.234, false},
    {u"1,2,3", 1.2, false},
    {u" 12", 12.0, false},
    {u"  7,5 zł", 7.5, false},
    {u"12 ", 12.0, false},
    {u"1e", 1.0, false},
    {u"1\u00A0234", 1.0, false},
    {u"abc", 0.0, false},
    {u"", 0.0, false},
    {u"-", 0.0, false},
    {u".", 0.0, false},
    {u"inf", 0.0, false},
    {u"nan", 0.0, false},
    {u"-infinity", 0.0, false},
    {u"0x10", 0.0, false},
    // Too large for a double: infinity for the dialog, no number for the command line.
    {u"1e999", std::numeric_limits<double>::infinity(), false},
    {u"1e-999", 0.0, false},
};

TEST(ReadAmountTest, ReadsTheLeadingNumberAndTellsWhetherItIsTheWholeText) {
    for (const AmountCase& c : kAmountCases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.text)));
        const AmountReading amount = ReadAmount(c.text);
        EXPECT_DOUBLE_EQ(amount.value, c.value);
        EXPECT_EQ(amount.whole, c.whole);
    }
}

// The text's own length counts, not a terminator: the dialog's buffer ends where it ends.
TEST(ReadAmountTest, ReadsOnlyTheGivenText) {
    const std::u16string text = u"12,5" + std::u16string(1, u'\0') + u"9";
    EXPECT_FALSE(ReadAmount(text).whole);
    EXPECT_EQ(ReadAmount(std::u16string_view(text).substr(0, 4)).value, 12.5);
    EXPECT_TRUE(ReadAmount(std::u16string_view(text).substr(0, 4)).whole);
}

}  // namespace
}  // namespace vistrel

namespace vistrel {
namespace {

struct EnteredAmountCase {
    std::u16string_view text;
    double value;  // 0.0 when refused
    AmountProblem problem;
};

// The one amount reader of the calculator dialog and the command line.
const EnteredAmountCase kEnteredAmountCases[] = {
    {u"0.0", 0.0, AmountProblem::None},
    {u"2500", 2500.0, AmountProblem::None},
    {u"2500,5", 2500.5, AmountProblem::None},
    {u"2 500,50", 2500.5, AmountProblem::None},
    {u"2500.50", 2500.5, AmountProblem::None},
    {u"1 234,56", 1234.56, AmountProblem::None},
    {u"1\u00A0234\u00A0567,8", 1234567.8, AmountProblem::None},
    {u"12\u202F345", 12345.0, AmountProblem::None},
    {u"  99,99 ", 99.99, AmountProblem::None},
    {u"0,01", 0.01, AmountProblem::None},
    {u"10000000000000", 1e13, AmountProblem::None},
    {u"10 000 000 000 000,00", 1e13, AmountProblem::None},
    {u"10000000000000,01", 0.0, AmountProblem::TooLarge},
    {u"99999999999999999999", 0.0, AmountProblem::TooLarge},
    {u"-5", 0.0, AmountProblem::Negative},
    {u"-2 500,50", 0.0, AmountProblem::Negative},
    {u"10.000", 0.0, AmountProblem::NotAnAmount},
    {u"1,234.56", 0.0, AmountProblem::NotAnAmount},
    {u"1 23", 0.0, AmountProblem::NotAnAmount},
    {u"1234 567", 0.0, AmountProblem::NotAnAmount},
    {u"1 2345", 0.0, AmountProblem::NotAnAmount},
    {u"1  234", 0.0, AmountProblem::NotAnAmount},
    {u"12,", 0.0, AmountProblem::NotAnAmount},
    {u",5", 0.0, AmountProblem::NotAnAmount},
    {u"1e3", 0.0, AmountProblem::NotAnAmount},
    {u"+7,5", 0.0, AmountProblem::NotAnAmount},
    {u"12 zł", 0.0, AmountProblem::NotAnAmount},
    {u"abc", 0.0, AmountProblem::NotAnAmount},
    {u"", 0.0, AmountProblem::NotAnAmount},
    {u"-", 0.0, AmountProblem::NotAnAmount},
    {u"1\t234", 0.0, AmountProblem::NotAnAmount},
};

TEST(ReadEnteredAmountTest, TakesAmountsAsPeopleWriteThemAndNothingElse) {
    for (const EnteredAmountCase& c : kEnteredAmountCases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.text)));
        const EnteredAmount amount = ReadEnteredAmount(c.text);
        EXPECT_EQ(amount.problem, c.problem);
        EXPECT_EQ(amount.value, c.value);
    }
}

}  // namespace
}  // namespace vistrel
