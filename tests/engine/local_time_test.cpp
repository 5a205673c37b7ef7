#include "engine/local_time.h"

#include <gtest/gtest.h>

#include <optional>

namespace vistrel {
namespace {

using namespace std::chrono_literals;

constexpr std::int32_t kWinterNow = 1796727600;  // 2026-12-08 12:00 CET
constexpr std::int32_t kSummerNow = 1782900000;  // 2026-07-01 12:00 CEST

struct DayAfterCase {
    const char* name;
    std::chrono::year_month_day date;
    std::int32_t now;
    std::optional<std::int32_t> instant;
};

const DayAfterCase kDayAfterCases[] = {
    {"WinterDateInWinter", 2023y / 1 / 10, kWinterNow, 1673391600},  // 2023-01-11 00:00 CET
    // Under summer time a winter date's midnight is taken an hour early.
    {"WinterDateInSummer", 2023y / 1 / 10, kSummerNow, 1673391600 - 3600},
    {"SummerDateInSummer", 2023y / 7 / 10, kSummerNow, 1689026400},  // 2023-07-11 00:00 CEST
    {"LastDayWithAnInstant", 2038y / 1 / 18, kWinterNow, 2147468400},
    {"PastThirtyTwoBits", 2038y / 1 / 19, kWinterNow, std::nullopt},
    {"NoCalendarDate", 2023y / 2 / 29, kWinterNow, std::nullopt},
    {"NoMonth", 2023y / 13 / 1, kWinterNow, std::nullopt},
};

TEST(DayAfterInstantTest, IsTheMidnightAfterTheDayWithThePresentDaylightSavingFlag) {
    for (const DayAfterCase& c : kDayAfterCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayAfterInstant(c.date, c.now), c.instant);
    }
}

}  // namespace
}  // namespace vistrel
