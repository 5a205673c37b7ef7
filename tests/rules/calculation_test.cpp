#include "rules/calculation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "engine/interest.h"

#include "engine/rate_table.h"

namespace vistrel::rules {
namespace {

using namespace std::chrono_literals;

// Instants 4 000 000 000 seconds apart: their difference does not fit 32 bits.
TEST(Calculate, CountsTheDaysBetweenInstantsFarApart) {
    constexpr std::int32_t due = -2'000'000'000;
    constexpr std::int32_t payment = 2'000'000'000;
    RateTable table{};
    table[0] = {-2'100'000'000, 2'100'000'000, RateKind::Annual, 36.5};
    const Calculation calculation =
        Calculate(table, 1906y / 8 / 16, 2033y / 5 / 18, due, payment, 1000.0);
    EXPECT_EQ(calculation.elapsedDays, 46296);  // 4e9 / 86400, truncated
    EXPECT_EQ(calculation.days, 46296);
    EXPECT_DOUBLE_EQ(calculation.interest, 46296 * 36.5 * 1000.0 * (0.01 / 365));
}

// The report's interest is the sum of its shares, added as ComputeInterest adds them: the same
// double to the last bit, also where the terms do not add up exactly, and 0 without a due row.
TEST(Calculate, InterestIsComputeInterestToTheBit) {
    constexpr std::int32_t day = 86400;
    RateTable table{};
    table[0] = {100 * day, 130 * day, RateKind::Annual, 13.1};
    table[1] = {70 * day, 100 * day, RateKind::DailyStar, 0.07};
    table[2] = {40 * day, 70 * day, RateKind::Annual, 7.3};
    table[3] = {10 * day, 40 * day, RateKind::DailyTwoStars, 0.013};
    struct Case {
        std::int32_t due;
        std::int32_t payment;
    };
    const Case cases[] = {
        {15 * day, 125 * day}, {45 * day, 101 * day}, {101 * day, 102 * day}, {5 * day, 125 * day}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.due);
        const double expected = ComputeInterest(table, c.due, c.payment, 1234.56);
        const Calculation calculation =
            Calculate(table, 2001y / 1 / 1, 2001y / 2 / 1, c.due, c.payment, 1234.56);
        EXPECT_EQ(std::memcmp(&expected, &calculation.interest, sizeof expected), 0)
            << expected << " against " << calculation.interest;
    }
    EXPECT_EQ(Calculate(table, 2001y / 1 / 1, 2001y / 2 / 1, 5 * day, 125 * day, 1234.56).interest,
              0.0);
    EXPECT_NE(Calculate(table, 2001y / 1 / 1, 2001y / 2 / 1, 15 * day, 125 * day, 1234.56).interest,
              0.0);
}

}  // namespace
}  // namespace vistrel::rules
