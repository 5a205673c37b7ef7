// The calculator's OK apart from the window. Instants are those of Warsaw (the test's zone).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "calculator/calculator_entry.h"
#include "calculator/known_interest.h"
#include "engine/interest.h"

namespace vistrel {
namespace {

constexpr std::int32_t kWinterNoon = 1705316400;  // 2024-01-15 12:00 CET
constexpr std::int32_t kSummerNoon = 1719828000;  // 2024-07-01 12:00 CEST
constexpr std::int32_t kHour = 3600;

SYSTEMTIME Date(WORD year, WORD month, WORD day) {
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    date.wHour = 13;  // the time of day the picker keeps plays no part
    return date;
}

struct DayAfterCase {
    const char* name;
    SYSTEMTIME date;
    std::int32_t now;
    std::optional<std::int32_t> expected;
};

const DayAfterCase kDayAfterCases[] = {
    {"WinterDateInWinter", Date(2024, 3, 1), kWinterNoon, 1709334000},   // 2024-03-02 00:00 CET
    {"SummerDateInSummer", Date(2024, 7, 15), kSummerNoon, 1721080800},  // 2024-07-16 00:00 CEST
    // The flag of the present moment applies to every date: an hour off the wall clock.
    {"WinterDateInSummer", Date(2024, 3, 1), kSummerNoon, 1709334000 - kHour},
    {"SummerDateInWinter", Date(2024, 7, 15), kWinterNoon, 1721080800 + kHour},
    {"EarliestOfferedDate", Date(1970, 1, 2), kWinterNoon, 169200},
    {"LatestOfferedDate", Date(2038, 1, 18), kWinterNoon, 2147468400},
    {"MidnightBeforeTheEpoch", Date(1970, 1, 1), kWinterNoon, std::nullopt},
    {"DayAfterPastTheRange", Date(2038, 1, 19), kWinterNoon, std::nullopt},
    {"MidnightPastTheRange", Date(2038, 1, 20), kWinterNoon, std::nullopt},
    {"NoDateAtAll", SYSTEMTIME{}, kWinterNoon, std::nullopt},
};

TEST(DayAfterInstantTest, IsLocalMidnightPlusADayWithThePresentDaylightSavingFlag) {
    for (const DayAfterCase& c : kDayAfterCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayAfterInstant(c.date, c.now), c.expected);
    }
}

struct AmountCase {
    const wchar_t* text;
    double expected;
    AmountProblem problem;
};

// The field's text goes to the engine's one amount reader (whose table holds every form),
// no-break spaces included, as wchar_t reaches it.
const AmountCase kAmountCases[] = {
    {L"1 234,56", 1234.56, AmountProblem::None},
    {L"1\u00A0234\u202F567.8", 1234567.8, AmountProblem::None},
    {L"abc", 0.0, AmountProblem::NotAnAmount},
    {L"-5", 0.0, AmountProblem::Negative},
};

TEST(ReadAmountTest, IsTheEnginesAmountReader) {
    for (const AmountCase& c : kAmountCases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)));
        std::array<wchar_t, AmountTextCapacity> text{};
        std::wstring(c.text).copy(text.data(), text.size() - 1);
        const EnteredAmount amount = ReadAmount(text.data());
        EXPECT_EQ(amount.value, c.expected);
        EXPECT_EQ(amount.problem, c.problem);
        EXPECT_EQ(std::wstring(text.data()), c.text);  // the field's text stays as typed
    }
}

struct CheckCase {
    const char* name;
    std::optional<std::int32_t> due;
    std::optional<std::int32_t> payment;
    EntryCheck expected;
};

const CheckCase kCheckCases[] = {
    {"DueBeforePayment", 1000, 2000, EntryCheck::InOrder},
    {"EqualDates", 2000, 2000, EntryCheck::InOrder},
    {"DueAfterPayment", 2001, 2000, EntryCheck::DueAfterPayment},
    {"ComparedSigned", 100, -100, EntryCheck::DueAfterPayment},
    {"DueUnusable", std::nullopt, 2000, EntryCheck::DueDateUnusable},
    {"PaymentUnusable", 2000, std::nullopt, EntryCheck::PaymentDateUnusable},
    {"BothUnusableNamesTheDueDateFirst", std::nullopt, std::nullopt, EntryCheck::DueDateUnusable},
};

TEST(CheckEntryTest, RefusesUnusableDatesAndADueDateAfterThePaymentDate) {
    for (const CheckCase& c : kCheckCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckEntry(c.due, c.payment), c.expected);
    }
}

TEST(InterestIfRatesKnownTest, NoTableRowIsNoRateAndACoveringPeriodGivesItsInterest) {
    RateTable table{};
    EXPECT_EQ(InterestIfRatesKnown(table, 0, 86400 * 10, 1000.0).rates,
              KnownInterest::Rates::NoneForDueDate);

    table[0] = {0, 86400 * 100, RateKind::Annual, 36.5};
    const KnownInterest known = InterestIfRatesKnown(table, 86400 * 10, 86400 * 20, 1000.0);
    EXPECT_EQ(known.rates, KnownInterest::Rates::Known);
    EXPECT_DOUBLE_EQ(known.interest, 10.0);
}

}  // namespace
}  // namespace vistrel
