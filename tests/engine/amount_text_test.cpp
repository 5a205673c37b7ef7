#include "engine/amount_text.h"

#include <gtest/gtest.h>

#include <string>

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
    // Zeros ahead of the amount are no digits of it; zero with a sign is still zero.
    {u"00000000000000000001", 1.0, AmountProblem::None},
    {u"0000000000000000000,01", 0.01, AmountProblem::None},
    {u"-0", 0.0, AmountProblem::None},
    {u"-0,00", 0.0, AmountProblem::None},
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
