#include "rules/calendar_date.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>

namespace vistrel::rules {
namespace {

using namespace std::chrono_literals;
using std::chrono::year_month_day;

struct DateCase {
    const char* text;
    std::optional<year_month_day> date;
};

class ParseCalendarDateCases : public testing::TestWithParam<DateCase> {};

TEST_P(ParseCalendarDateCases, AcceptsOnlyRealDatesInFullForm) {
    EXPECT_EQ(ParseCalendarDate(GetParam().text), GetParam().date) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCalendarDateCases,
    testing::Values(DateCase{"2023-01-10", 2023y / 1 / 10}, DateCase{"2024-02-29", 2024y / 2 / 29},
                    DateCase{"2000-02-29", 2000y / 2 / 29}, DateCase{"1970-01-01", 1970y / 1 / 1},
                    DateCase{"2023-02-29", std::nullopt}, DateCase{"1900-02-29", std::nullopt},
                    DateCase{"2023-04-31", std::nullopt}, DateCase{"2023-13-01", std::nullopt},
                    DateCase{"2023-00-10", std::nullopt}, DateCase{"2023-01-00", std::nullopt},
                    DateCase{"2023-1-10", std::nullopt}, DateCase{"2023-01-10x", std::nullopt},
                    DateCase{"10.01.2023", std::nullopt}, DateCase{"2023/01/10", std::nullopt},
                    DateCase{"+023-01-10", std::nullopt}, DateCase{"", std::nullopt}));

TEST(IsAcceptedDate, CoversTheDaysWhoseInstantFitsThirtyTwoBits) {
    EXPECT_FALSE(IsAcceptedDate(1970y / 1 / 1));
    EXPECT_TRUE(IsAcceptedDate(1970y / 1 / 2));
    EXPECT_TRUE(IsAcceptedDate(2038y / 1 / 18));
    EXPECT_FALSE(IsAcceptedDate(2038y / 1 / 19));
    EXPECT_FALSE(IsAcceptedDate(2039y / 1 / 1));
}

struct MomentCase {
    const char* text;
    std::optional<std::int32_t> instant;
};

class ParseMomentCases : public testing::TestWithParam<MomentCase> {};

TEST_P(ParseMomentCases, ReadsLocalTimeOrSeconds) {
    EXPECT_EQ(ParseMoment(GetParam().text), GetParam().instant) << GetParam().text;
}

// Warsaw: CET (UTC+1) in December, CEST (UTC+2) in July.
INSTANTIATE_TEST_SUITE_P(
    Texts, ParseMomentCases,
    testing::Values(MomentCase{"2026-12-08T12:00:00", 1796727600},
                    MomentCase{"2026-07-01T12:00:00", 1782900000},
                    MomentCase{"1796727600", 1796727600}, MomentCase{"0", 0},
                    MomentCase{"2147483647", 2147483647}, MomentCase{"2147483648", std::nullopt},
                    // Before 1970 there is no instant, in local time as in seconds.
                    MomentCase{"1970-01-01T01:00:00", 0},
                    MomentCase{"1970-01-01T00:59:59", std::nullopt},
                    MomentCase{"1969-12-31T12:00:00", std::nullopt}, MomentCase{"-1", std::nullopt},
                    MomentCase{"12s", std::nullopt},
                    MomentCase{"2026-12-08T24:00:00", std::nullopt},
                    MomentCase{"2026-12-08T12:60:00", std::nullopt},
                    MomentCase{"2026-12-08 12:00:00", std::nullopt},
                    MomentCase{"2026-12-08T12:00", std::nullopt},
                    MomentCase{"2026-02-30T12:00:00", std::nullopt}, MomentCase{"", std::nullopt}));

TEST(DateOfMidnight, GivesTheDayWhateverFlagBuiltTheMidnight) {
    const year_month_day day = 2023y / 1 / 11;
    EXPECT_EQ(DateOfMidnight(1673391600), day);                      // true midnight
    EXPECT_EQ(DateOfMidnight(1673391600 - 3600), day);               // built under summer time
    EXPECT_EQ(DateOfMidnight(1689026400 + 3600), (2023y / 7 / 11));  // under winter time
}

}  // namespace
}  // namespace vistrel::rules
