// The rate page that ships with the calculator, read by the engine as the calculator reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calendar_date.h"
#include "tools/latin2.h"
#include "tools/pinned_clock.h"

namespace vistrel::tools {
namespace {

constexpr std::int32_t Now = 1796727600;  // 2026-12-08 12:00 CET

RateTable ReadBundledPage() {
    std::ifstream file(VISTREL_BUNDLED_RATE_PAGE, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const PinnedClock clock(Now);
    RateTable table{};
    ParseRatePage(DecodeLatin2(bytes), table);
    return table;
}

TEST(BundledRatePage, HasAHeaderRowAndTwentyEightAnnualPeriods) {
    const RateTable table = ReadBundledPage();
    EXPECT_EQ(table[0].kind, RateKind::None);
    for (std::size_t i = 1; i <= 28; ++i) {
        EXPECT_EQ(table[i].kind, RateKind::Annual) << i;
        EXPECT_GE(table[i].rate, 8.0) << i;  // the statutory floor
    }
    EXPECT_EQ(table[29].kind, RateKind::None);
}

// Every day from the first period on has exactly one rate: each period ends where the newer
// one starts, so the page's dates (with "września" and "października") were all read.
TEST(BundledRatePage, PeriodsFollowEachOtherWithoutGapsNewestOpenUntilNow) {
    const RateTable table = ReadBundledPage();
    EXPECT_EQ(DateOfMidnight(table[1].start), (CalendarDate{2025, 7, 3}));
    EXPECT_EQ(table[1].end, Now);
    for (std::size_t i = 2; i <= 28; ++i) {
        EXPECT_EQ(table[i].end, table[i - 1].start) << i;
        EXPECT_LT(table[i].start, table[i].end) << i;
    }
    EXPECT_EQ(DateOfMidnight(table[28].start), (CalendarDate{2009, 6, 25}));
    EXPECT_EQ(table[5].rate, 16.5);  // from 8 września 2022
    EXPECT_EQ(table[3].rate, 14.5);  // from 5 października 2023
}

}  // namespace
}  // namespace vistrel::tools
