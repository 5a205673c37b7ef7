// The rate page that ships with the calculator, read by the engine as the calculator reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "rules/calendar_date.h"
#include "tools/latin2.h"

namespace vistrel::tools {

using namespace rules;
namespace {

using namespace std::chrono_literals;
using std::chrono::year_month_day;

constexpr std::int32_t Now = 1796727600;  // 2026-12-08 12:00 CET

std::u16string BundledPageText() {
    std::ifstream file(VISTREL_BUNDLED_RATE_PAGE, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return DecodeLatin2(bytes);
}

RateTable ReadPage(const std::u16string& page) {
    const PinnedClock clock(Now);
    RateTable table{};
    ParseRatePage(page, table);
    return table;
}

RateTable ReadBundledPage() { return ReadPage(BundledPageText()); }

// The bundled page with one piece of text replaced, which must stand on it exactly once.
std::u16string EditedBundledPage(std::u16string_view from, std::u16string_view to) {
    std::u16string page = BundledPageText();
    const std::size_t at = page.find(from);
    EXPECT_NE(at, std::u16string::npos);
    EXPECT_EQ(page.find(from, at + 1), std::u16string::npos);
    if (at != std::u16string::npos) page.replace(at, from.size(), to);
    return page;
}

std::int32_t InstantOf(const year_month_day& date) { return *DayAfterInstant(date, Now); }

std::vector<InterestTerm> Terms(const RateTable& table, const year_month_day& due,
                                const year_month_day& payment) {
    return InterestOverDelay(table, InstantOf(due), InstantOf(payment), 10000.0).terms;
}

void ExpectSameTerms(const std::vector<InterestTerm>& actual,
                     const std::vector<InterestTerm>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].record, expected[i].record);
        EXPECT_EQ(actual[i].days, expected[i].days);
        EXPECT_EQ(actual[i].interest, expected[i].interest);
    }
}

// One line of data/rate-history.tsv: the published history the page is written from.
struct HistoryPeriod {
    year_month_day start;
    double rate = 0.0;
    std::string unit;  // "year" or "day"
};

std::vector<HistoryPeriod> ReadHistory() {
    std::ifstream file(VISTREL_RATE_HISTORY);
    EXPECT_TRUE(file) << VISTREL_RATE_HISTORY;
    std::vector<HistoryPeriod> history;
    std::string line;
    std::getline(file, line);  // the column names
    EXPECT_EQ(line, "start\trate\tunit\tbasis");
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        std::string start, rate, unit;
        std::getline(fields, start, '\t');
        std::getline(fields, rate, '\t');
        std::getline(fields, unit, '\t');
        const auto date = ParseCalendarDate(start);
        EXPECT_TRUE(date) << line;
        history.push_back({date.value_or(year_month_day{}), std::stod(rate), unit});
    }
    return history;
}

// Every period of the history, newest first after the header row, with its first day, its last
// day (the day before the next newer one starts), its rate and its kind; the newest one open.
TEST(BundledRatePage, HoldsThePublishedHistoryRecordForRecord) {
    const std::vector<HistoryPeriod> history = ReadHistory();
    ASSERT_EQ(history.size(), 91u);
    const RateTable table = ReadBundledPage();
    EXPECT_EQ(table[0].kind, RateKind::None);  // the header row
    for (std::size_t i = 0; i < history.size(); ++i) {
        const HistoryPeriod& period = history[history.size() - 1 - i];
        const RatePeriod& record = table[i + 1];
        SCOPED_TRACE(FormatCalendarDate(period.start));
        EXPECT_EQ(DateOfMidnight(record.start), period.start);
        if (i == 0) {
            EXPECT_EQ(record.end, Now);
        } else {
            // The newer period starts the day after this one's last day, at its end instant.
            EXPECT_EQ(record.end, table[i].start);
            EXPECT_EQ(DateOfMidnight(record.end), history[history.size() - i].start);
        }
        EXPECT_EQ(record.rate, period.rate);
        EXPECT_EQ(record.kind, period.unit == "day" ? RateKind::DailyStar : RateKind::Annual);
        EXPECT_TRUE(period.unit == "day" || period.unit == "year") << period.unit;
    }
    for (std::size_t i = history.size() + 1; i < RateTableCapacity; ++i) {
        EXPECT_EQ(table[i].kind, RateKind::None) << i;
    }
}

// A day written "09" is the ninth: the edited page gives what the page itself gives.
TEST(BundledRatePage, ADayWithALeadingZeroIsReadAsThatDay) {
    const RateTable page = ReadBundledPage();
    const RateTable edited = ReadPage(EditedBundledPage(u"od 9 maja 2013", u"od 09 maja 2013"));
    ExpectSameTerms(Terms(edited, 2010y / 1 / 1, 2014y / 1 / 1),
                    Terms(page, 2010y / 1 / 1, 2014y / 1 / 1));
    EXPECT_FALSE(Terms(page, 2010y / 1 / 1, 2014y / 1 / 1).empty());
    // Before the oldest period there is still no rate, hence no interest at all.
    EXPECT_TRUE(Terms(edited, 1990y / 1 / 1, 2014y / 1 / 1).empty());
}

// A row whose first day can't be read counts nothing, not the time from 1970 to its end.
TEST(BundledRatePage, ARowWithoutItsFirstDayIsNoPeriod) {
    const RateTable page = ReadBundledPage();
    const RateTable edited = ReadPage(EditedBundledPage(u"od 9 maja 2013", u"od 9 maj 2013"));
    std::vector<InterestTerm> expected = Terms(page, 2010y / 1 / 1, 2014y / 1 / 1);
    std::size_t unread = RateTableCapacity;
    for (std::size_t i = 0; i < RateTableCapacity; ++i) {
        if (page[i].start == InstantOf(2013y / 5 / 8)) unread = i;
    }
    ASSERT_LT(unread, RateTableCapacity);
    EXPECT_EQ(edited[unread].kind, RateKind::None);
    std::erase_if(expected, [&](const InterestTerm& term) { return term.record == unread; });
    ExpectSameTerms(Terms(edited, 2010y / 1 / 1, 2014y / 1 / 1), expected);
    // A due date in that row's days, or before the oldest period, finds no rate.
    EXPECT_TRUE(Terms(edited, 2013y / 5 / 20, 2014y / 1 / 1).empty());
    EXPECT_TRUE(Terms(edited, 1990y / 1 / 1, 2014y / 1 / 1).empty());
}

}  // namespace
}  // namespace vistrel::tools
