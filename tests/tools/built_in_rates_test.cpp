// The rate table compiled in from data/rate-history.tsv against the bundled page written from the
// same history, as the parser reads it: the same records, bit for bit, in winter and in summer.
#include "engine/built_in_rates.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "tools/latin2.h"

namespace vistrel::tools {
namespace {

RateTable ParsedBundledPage(std::int32_t now) {
    std::ifstream file(VISTREL_BUNDLED_RATE_PAGE, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const PinnedClock clock(now);
    RateTable table{};
    ParseRatePage(DecodeLatin2(bytes), table);
    return table;
}

class BuiltInRateTable : public testing::TestWithParam<std::int32_t> {};

TEST_P(BuiltInRateTable, IsThePagesTableRecordForRecord) {
    const std::int32_t now = GetParam();
    const RateTable page = ParsedBundledPage(now);
    RateTable builtIn{};
    builtIn[150].kind = RateKind::Annual;  // a record past the history is cleared
    const std::size_t periods = FillBuiltInRateTable(builtIn, now);
    EXPECT_EQ(periods, BuiltInRateHistory().size());
    ASSERT_GT(periods, 80u);
    ASSERT_EQ(page[0].kind, RateKind::None);  // the page's header row
    for (std::size_t i = 0; i + 1 < RateTableCapacity; ++i) {
        SCOPED_TRACE(i);
        const RatePeriod& fromPage = page[i + 1];
        const RatePeriod& fromHistory = builtIn[i];
        EXPECT_EQ(fromHistory.kind, fromPage.kind);
        if (fromPage.kind == RateKind::None) continue;
        EXPECT_EQ(fromHistory.start, fromPage.start);
        EXPECT_EQ(fromHistory.end, fromPage.end);
        EXPECT_EQ(std::memcmp(&fromHistory.rate, &fromPage.rate, sizeof(double)), 0)
            << fromHistory.rate << " against " << fromPage.rate;
    }
    EXPECT_EQ(builtIn[0].end, now);  // the newest period is open until now
}

// 2026-12-08 12:00 CET and 2026-07-01 12:00 CEST.
INSTANTIATE_TEST_SUITE_P(Seasons, BuiltInRateTable, testing::Values(1796727600, 1782900000));

}  // namespace
}  // namespace vistrel::tools
