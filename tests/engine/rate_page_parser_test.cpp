#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "tests/support/local_moment.h"
#include "tests/support/page_builder.h"
#include "tests/support/rate_kind_printer.h"

namespace vistrel {
namespace {

using test::Date;
using test::PeriodText;
using test::Row;

void ExpectCleared(const RateTable& table, std::size_t from) {
    for (std::size_t i = from; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i].start, 0);
        EXPECT_EQ(table[i].end, 0);
        EXPECT_EQ(table[i].kind, RateKind::None);
        EXPECT_EQ(table[i].rate, 0.0);
    }
}

class ParseRatePageTest : public ::testing::Test {
protected:
    const std::int32_t now_ = test::LocalMoment(2024, 11, 20, 12);
    PinnedClock clock_{now_};
    RateTable table_{};

    std::int32_t Midnight(Date date) const {
        return LocalMidnight(date.year, date.month, date.day, now_);
    }
    std::int32_t After(Date lastDay) const { return Midnight(lastDay) + SecondsPerDay; }

    void Parse(std::u16string_view page) { ParseRatePage(page, table_); }
};

struct ExpectedRecord {
    RateKind kind;
    double rate;
    std::optional<Date> first;  // nullopt: start never read, start = 0
    std::optional<Date>
        last;  // nullopt: open until the moment of reading, or 0 without a first day
};

TEST_F(ParseRatePageTest, ReadsTheMinistryPageNewestFirst) {
    Parse(test::SampleRatePage());
    const ExpectedRecord expected[] = {
        {RateKind::None, 0.0, std::nullopt, std::nullopt},
        {RateKind::Annual, 12.0, Date{2024, 10, 4}, std::nullopt},
        {RateKind::Annual, 14.5, Date{2023, 10, 5}, Date{2024, 10, 3}},
        {RateKind::Annual, 15.0, Date{2023, 9, 7}, Date{2023, 10, 4}},
        {RateKind::Annual, 16.0, Date{2022, 9, 8}, Date{2023, 9, 6}},
        {RateKind::DailyStar, 0.05, Date{2022, 7, 1}, Date{2022, 9, 7}},
        {RateKind::DailyTwoStars, 0.04, Date{2022, 1, 1}, Date{2022, 6, 30}},
        {RateKind::Annual, 8.0, Date{2020, 5, 29}, Date{2021, 12, 31}},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const ExpectedRecord& e = expected[i];
        EXPECT_EQ(table_[i].kind, e.kind);
        EXPECT_DOUBLE_EQ(table_[i].rate, e.rate);
        EXPECT_EQ(table_[i].start, e.first ? Midnight(*e.first) : 0);
        EXPECT_EQ(table_[i].end, e.last ? After(*e.last) : e.first ? now_ : 0);
    }
    ExpectCleared(table_, std::size(expected));
}

TEST_F(ParseRatePageTest, PageWithoutRowsLeavesTheTableAsCreated) {
    const std::u16string_view pages[] = {
        u"",
        u"<html><body>Strona w przebudowie</body></html>",
        u"<tr class=\"parzysty\"><td><p>1%</p></td><td><p>od 1 maja 2013</p></td></tr>",
        u"<tr ><td><p>1%</p></td><td><p>od 1 maja 2013</p></td></tr>",
        u"<td><p>1%</p></td><td><p>od 1 maja 2013</p></td><t",
    };
    for (std::u16string_view page : pages) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(page)));
        RateTable table{};
        ParseRatePage(page, table);
        ExpectCleared(table, 0);
    }
}

struct GuardedTable {
    RateTable table{};
    RatePeriod guard{12345, 67890, RateKind::DailyStar, -1.0};
};

TEST_F(ParseRatePageTest, ReadsAtMostTheFirst200Rows) {
    std::u16string rows;
    for (int i = 1; i <= 250; ++i)
        rows += Row(test::Number(i) + u",00%", PeriodText({2000, 1 + i % 12, 1 + i % 28}));
    GuardedTable guarded;
    ParseRatePage(test::Page(rows), guarded.table);
    for (std::size_t i = 0; i < RateTableCapacity; ++i) {
        ASSERT_EQ(guarded.table[i].rate, static_cast<double>(i + 1)) << i;
        ASSERT_EQ(guarded.table[i].kind, RateKind::Annual) << i;
    }
    EXPECT_EQ(guarded.table[199].start, Midnight({2000, 1 + 200 % 12, 1 + 200 % 28}));
    EXPECT_EQ(guarded.guard.start, 12345);
    EXPECT_EQ(guarded.guard.end, 67890);
    EXPECT_EQ(guarded.guard.kind, RateKind::DailyStar);
    EXPECT_EQ(guarded.guard.rate, -1.0);
}

struct RowCase {
    const char* name;
    std::u16string page;
    ExpectedRecord record;  // record 0; every later record stays cleared unless `second` says
    std::optional<ExpectedRecord> second = std::nullopt;
};

TEST_F(ParseRatePageTest, ReadsEachRowAsThePageWritesIt) {
    const Date may1{2013, 5, 1};
    const std::u16string openMay1 = PeriodText(may1);
    const std::u16string longFiller(996, u'x');
    const RowCase cases[] = {
        {"PointAndBlanksBeforeRate",
         Row(u"  13.25%", openMay1),
         {RateKind::Annual, 13.25, may1, {}}},
        {"TwoPercentSigns",
         Row(u"13,00% (dawniej 0,1%*)", openMay1),
         {RateKind::DailyStar, 13.0, may1, {}}},
        {"NoPercentSignRateReadButUnused",
         Row(u"13,00", openMay1),
         {RateKind::None, 13.0, may1, {}}},
        // A rate that can't be read is no rate of 0 %: no period.
        {"NoNumberBeforePercent", Row(u"%**", openMay1), {RateKind::None, 0.0, may1, {}}},
        {"MarkupAroundNumberSkipped",
         Row(u"<b>13,00%</b>", openMay1),
         {RateKind::Annual, 13.0, may1, {}}},
        {"LeadingZeroDays",
         Row(u"9%", u"od 01 maja 2013 r.<BR>do 05 czerwca 2013 r."),
         {RateKind::Annual, 9.0, may1, Date{2013, 6, 5}}},
        {"UnreadableEndKeepsItOpen",
         Row(u"9%", u"od 1 maja 2013 r.<BR>do 5 czerwac 2013 r."),
         {RateKind::Annual, 9.0, may1, {}}},
        // Without its first day a record is no period, though its end was read.
        {"UnreadableStartIsNoPeriod",
         Row(u"9%", u"od 1 maj 2013 r.<BR>do 5 czerwca 2013 r."),
         {RateKind::None, 9.0, {}, Date{2013, 6, 5}}},
        {"LastReadableEndStands",
         Row(u"9%", u"od 1 maja 2013<BR>do 5 czerwca 2013<bR>do 7 lipca 2013<br>bez daty"),
         {RateKind::Annual, 9.0, may1, Date{2013, 7, 7}}},
        {"PercentInPeriodCellIgnored",
         Row(u"9%", u"od 1 maja 2013 (100%**)<BR>do 5 czerwca 2013"),
         {RateKind::Annual, 9.0, may1, Date{2013, 6, 5}}},
        {"LongRateCell",
         Row(u"7,5%" + longFiller, PeriodText(may1, Date{2013, 6, 5})),
         {RateKind::Annual, 7.5, may1, Date{2013, 6, 5}}},
        {"PercentAfterTheCut",
         Row(u"7" + longFiller + u"%**", openMay1),
         {RateKind::DailyTwoStars, 7.0, may1, {}}},
        {"LineBreakAfterTheCut",
         Row(u"7%", openMay1 + longFiller + u"<BR>do 5 czerwca 2013"),
         {RateKind::Annual, 7.0, may1, {}}},
        {"UnclosedRateCell", u"<tr><td><p>13,00%*", {RateKind::None, 0.0, {}, {}}},
        {"UnclosedPeriodCell",
         u"<tr><td><p>13,00%</p></td><td><p>od 1 maja 2013 r.",
         {RateKind::None, 13.0, {}, {}}},
        // The second period read has no last day: it ends where the first begins.
        {"RowMarkerRightAfterClosingNotSeen",
         u"<tr><td><p>1%</p></td><td><p>od 1 maja 2013</p></td><tr><td><p>2%</p></td><td><p>od 2 "
         u"maja "
         u"2013</p></td>\n<tr><td><p>3%</p></td><td><p>od 3 maja 2013</p></td>",
         {RateKind::Annual, 1.0, may1, {}},
         ExpectedRecord{RateKind::Annual, 3.0, Date{2013, 5, 3}, Date{2013, 4, 30}}},
        {"OneCellRowTakesTheNextCellAndSkipsItsRow",
         u"<tr><td><p>5%</p></td></tr>\n" + Row(u"6%", openMay1) +
             Row(u"7%", PeriodText({2013, 5, 2})),
         {RateKind::None, 5.0, {}, {}},
         ExpectedRecord{RateKind::Annual, 7.0, Date{2013, 5, 2}, {}}},
        {"ShortPeriodCellReadsNoLeftovers",
         Row(u"od 9 maja 2013%", u"ab"),
         {RateKind::None, 0.0, {}, {}}},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        RateTable table{};
        ParseRatePage(c.page, table);
        std::size_t used = 0;
        for (const std::optional<ExpectedRecord>& e : {std::optional(c.record), c.second}) {
            if (!e) continue;
            const RatePeriod& record = table[used++];
            EXPECT_EQ(record.kind, e->kind);
            EXPECT_DOUBLE_EQ(record.rate, e->rate);
            EXPECT_EQ(record.start, e->first ? Midnight(*e->first) : 0);
            EXPECT_EQ(record.end, e->last ? After(*e->last) : e->first ? now_ : 0);
        }
        ExpectCleared(table, used);
    }
}

// What the parser tells of each row: where it stands, what was read, open or closed.
TEST_F(ParseRatePageTest, ReportsWhatItReadOfEachRow) {
    const std::u16string header = Row(u"Stopa", u"Okres");
    const std::u16string open = Row(u"12,00%", PeriodText({2024, 10, 4}));
    const std::u16string closed = Row(u"14,50%", PeriodText({2023, 10, 5}, Date{2024, 10, 3}));
    const std::u16string noNumber = Row(u"abc%", PeriodText({2023, 9, 7}, Date{2023, 10, 4}));
    const std::u16string badEnd = Row(u"9%", u"od 1 maja 2023<BR>do 6 wrzes 2023");
    const std::u16string badStart = Row(u"9%", u"od 1 mai 2022<BR>do 30 kwietnia 2023");
    const std::u16string noRate = Row(u"9", PeriodText({2021, 5, 1}, Date{2022, 4, 30}));
    const std::u16string page = header + open + closed + noNumber + badEnd + badStart + noRate;
    const std::vector<RowReading> readings = ParseRatePage(page, table_);
    ASSERT_EQ(readings.size(), 7u);
    struct Expected {
        bool rateMarked, rateRead, startRead, endRead, endUnread, incomplete, open;
    };
    const Expected expected[] = {
        {false, false, false, false, false, false, false},  // the header
        {true, true, true, false, false, false, true},
        {true, true, true, true, false, false, false},
        {true, false, true, true, false, true, false},
        {true, true, true, false, true, true, false},  // ends where the row above begins
        {true, true, false, true, false, true, false},
        {false, true, true, true, false, true, false},
    };
    std::size_t begin = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        SCOPED_TRACE(i);
        const RowReading& r = readings[i];
        const Expected& e = expected[i];
        EXPECT_EQ(r.rateMarked, e.rateMarked);
        EXPECT_EQ(r.rateRead, e.rateRead);
        EXPECT_EQ(r.startRead, e.startRead);
        EXPECT_EQ(r.endRead, e.endRead);
        EXPECT_EQ(r.endUnread, e.endUnread);
        EXPECT_EQ(r.IsIncomplete(), e.incomplete);
        EXPECT_EQ(r.IsOpen(), e.open);
        // From the row marker to just past the period cell's closing.
        begin = page.find(u"<tr>", begin);
        EXPECT_EQ(r.begin, begin);
        EXPECT_EQ(page.substr(r.end - 9, 9), u"</p></td>");
        begin = r.end;
    }
    EXPECT_EQ(table_[5].kind, RateKind::None);  // no first day: no period
    EXPECT_EQ(table_[3].kind, RateKind::None);  // no rate: no period
    EXPECT_TRUE(readings[4].endFromNewerRow);
    EXPECT_EQ(table_[4].end, Midnight({2023, 9, 7}));
}

// A year mktime can't convert gives no day of the page: no period.
TEST_F(ParseRatePageTest, ADateWithoutAnInstantIsNotRead) {
    const std::vector<RowReading> readings =
        ParseRatePage(Row(u"9%", u"od 1 maja 202<BR>do 30 kwietnia 2023"), table_);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_FALSE(readings[0].startRead);
    EXPECT_EQ(table_[0].kind, RateKind::None);
}

TEST_F(ParseRatePageTest, ReadsOnlyTheGivenLength) {
    const std::u16string page =
        Row(u"1%", PeriodText({2013, 5, 1})) + Row(u"2%", PeriodText({2013, 5, 2}));
    const std::size_t cut =
        page.rfind(u"</p></td>") + 7;  // the last closing loses its last two characters
    Parse(std::u16string_view(page).substr(0, cut));
    EXPECT_EQ(table_[0].rate, 1.0);
    EXPECT_EQ(table_[1].rate, 2.0);
    EXPECT_EQ(table_[1].kind, RateKind::None);  // its period cell never closes
    EXPECT_EQ(table_[1].start, 0);
    ExpectCleared(table_, 2);
}

// The daylight-saving flag handed to mktime is that of the moment of reading, so a page read in
// summer gives every instant one hour earlier than the same page read in winter.
TEST(ParseRatePageDaylightSavingTest, EveryInstantShiftsByTheSameHour) {
    const std::int32_t winter = test::LocalMoment(2014, 1, 15, 12);
    const std::int32_t summer = test::LocalMoment(2014, 7, 15, 12);
    ASSERT_EQ(LocalCalendarTime(winter)->tm_isdst, 0) << "the tests expect TZ=Europe/Warsaw";
    ASSERT_EQ(LocalCalendarTime(summer)->tm_isdst, 1) << "the tests expect TZ=Europe/Warsaw";
    const std::u16string page =
        test::Page(Row(u"13,00%", PeriodText({2013, 7, 1})) +
                   Row(u"0,05%*", PeriodText({2013, 1, 1}, Date{2013, 6, 30})) +
                   Row(u"11,00%", PeriodText({2012, 3, 25}, Date{2012, 12, 31})) +
                   Row(u"10,00%", PeriodText({2011, 10, 30}, Date{2012, 3, 24})));
    RateTable readInWinter{};
    RateTable readInSummer{};
    {
        PinnedClock clock(winter);
        ParseRatePage(page, readInWinter);
    }
    {
        PinnedClock clock(summer);
        ParseRatePage(page, readInSummer);
    }
    EXPECT_EQ(readInWinter[0].start, 1372633200);  // 2013-07-01 00:00 taken as CET
    EXPECT_EQ(readInSummer[0].start, 1372629600);  // 2013-07-01 00:00 taken as CEST
    EXPECT_EQ(readInWinter[1].start, 1356994800);
    EXPECT_EQ(readInSummer[1].start, 1356991200);
    EXPECT_EQ(readInWinter[0].end, winter);
    EXPECT_EQ(readInSummer[0].end, summer);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(readInWinter[i].start - readInSummer[i].start, 3600);
        if (i > 0) {
            EXPECT_EQ(readInWinter[i].end - readInSummer[i].end, 3600);
        }
    }
    EXPECT_EQ(readInWinter[1].end, readInWinter[0].start);
    EXPECT_EQ(readInSummer[2].end, readInSummer[1].start);
}

}  // namespace
}  // namespace vistrel
