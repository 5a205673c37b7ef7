#include "tools/calculation.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/rate_table.h"

namespace vistrel::tools {
namespace {

using namespace std::chrono_literals;

// Instants 4 000 000 000 seconds apart: their difference does not fit 32 bits.
TEST(Calculate, CountsTheDaysBetweenInstantsFarApart) {
    constexpr std::int32_t due = -2'000'000'000;
    constexpr std::int32_t payment = 2'000'000'000;
    RateTable table{};
    table[0] = {-2'100'000'000, 2'100'000'000, RateKind::Annual, 36.5};
    const Calculation calculation = Calculate(table, {}, 1906y / 8 / 16, 2033y / 5 / 18, due, payment, 1000.0);
    EXPECT_EQ(calculation.elapsedDays, 46296);  // 4e9 / 86400, truncated
    EXPECT_EQ(calculation.days, 46296);
    EXPECT_DOUBLE_EQ(calculation.interest, 46296 * 36.5 * 1000.0 * (0.01 / 365));
}

}  // namespace
}  // namespace vistrel::tools
