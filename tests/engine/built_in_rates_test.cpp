// The built-in rate table, written from data/rate-history.tsv, against the bundled rate page
// written from the same history.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/built_in_rates.h"
#include "engine/clock.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "tests/support/local_moment.h"
#include "tests/support/rate_kind_printer.h"
#include "tools/latin2.h"

namespace vistrel {
namespace {

std::vector<RatePeriod> PeriodsOf(const RateTable& table) {
    std::vector<RatePeriod> periods;
    for (const RatePeriod& record : table) {
        if (record.kind != RateKind::None) periods.push_back(record);
    }
    return periods;
}

// In both seasons: every instant carries the daylight-saving flag of the moment of reading.
TEST(BuiltInRatesTest, AgreeRecordForRecordWithTheBundledPage) {
    std::ifstream file(VISTREL_BUNDLED_RATE_PAGE, std::ios::binary);
    ASSERT_TRUE(file) << VISTREL_BUNDLED_RATE_PAGE;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const std::u16string page = tools::DecodeLatin2(bytes);
    for (const int month : {1, 7}) {
        SCOPED_TRACE(month);
        const std::int32_t now = test::LocalMoment(2026, month, 15, 12);
        const PinnedClock clock(now);
        RateTable parsed{};
        ParseRatePage(page, parsed);
        RateTable builtIn;
        builtIn.fill(RatePeriod{1, 2, RateKind::Annual, 3.0});
        ASSERT_TRUE(FillBuiltInRateTable(builtIn, now));

        const std::vector<RatePeriod> expected = PeriodsOf(parsed);
        ASSERT_GT(expected.size(), 90u);
        for (std::size_t i = 0; i < RateTableCapacity; ++i) {
            SCOPED_TRACE(i);
            if (i >= expected.size()) {
                EXPECT_EQ(builtIn[i].kind, RateKind::None);
                continue;
            }
            EXPECT_EQ(builtIn[i].start, expected[i].start);
            EXPECT_EQ(builtIn[i].end, expected[i].end);
            EXPECT_EQ(builtIn[i].kind, expected[i].kind);
            EXPECT_EQ(builtIn[i].rate, expected[i].rate);
        }
        // The newest period's first day is the last change the table knows of.
        const auto last = BuiltInRatesLastChange();
        EXPECT_EQ(builtIn[0].start,
                  LocalMidnight(static_cast<int>(last.year()),
                                static_cast<int>(static_cast<unsigned>(last.month())),
                                static_cast<int>(static_cast<unsigned>(last.day())), now));
    }
}

}  // namespace
}  // namespace vistrel
