// Rate pages as web servers send them: markup inside the cells, rows that can't be read in full,
// periods with days between them. What the parser makes of them, and the days of a delay that
// the periods leave uncovered.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "tests/support/local_moment.h"
#include "tests/support/page_builder.h"
#include "tests/support/rate_kind_printer.h"

namespace vistrel {
namespace {

using test::Date;
using test::DateText;

constexpr double kAnnual = 0.01 / 365;
constexpr double kAmount = 10000.0;

double Term(int days, double rate) { return ((days * rate) * kAmount) * kAnnual; }

struct PeriodRow {
    std::u16string rate;  // as the page writes it, "12,00"
    Date first;
    std::optional<Date> last;
};

// Newest first, as the ministry lists them, the newest open.
const PeriodRow kPeriods[] = {
    {u"12,00", {2024, 10, 4}, std::nullopt},
    {u"14,50", {2023, 10, 5}, Date{2024, 10, 3}},
    {u"15,00", {2023, 9, 7}, Date{2023, 10, 4}},
    {u"0,05", {2022, 7, 1}, Date{2023, 9, 6}},
};

// How a server may write one row's two cells: the rate cell's and the period cell's text.
struct MarkupForm {
    const char* name;
    std::function<std::u16string(const PeriodRow&)> rateCell;
    std::function<std::u16string(const PeriodRow&)> periodCell;
};

std::u16string Marker(const PeriodRow& row) { return row.rate == u"0,05" ? u"%*" : u"%"; }

std::u16string PlainRate(const PeriodRow& row) { return row.rate + Marker(row); }

std::u16string PlainPeriod(const PeriodRow& row) { return test::PeriodText(row.first, row.last); }

std::u16string WithNoBreakSpaces(std::u16string text, std::u16string_view blank) {
    for (std::size_t at = text.find(u' '); at != std::u16string::npos;
         at = text.find(u' ', at + blank.size())) {
        text.replace(at, 1, blank);
    }
    return text;
}

std::u16string PageIn(const MarkupForm& form) {
    std::u16string rows = test::Row(u"<b>Wysokość stawki</b>", u"<b>Okres obowiązywania</b>");
    for (const PeriodRow& row : kPeriods)
        rows += test::Row(form.rateCell(row), form.periodCell(row));
    return test::Page(rows);
}

class ServedPageTest : public ::testing::Test {
protected:
    const std::int32_t now_ = test::LocalMoment(2024, 11, 20, 12);
    PinnedClock clock_{now_};

    std::int32_t Midnight(Date date) const {
        return LocalMidnight(date.year, date.month, date.day, now_);
    }
    std::int32_t After(Date date) const { return Midnight(date) + SecondsPerDay; }

    RateTable Parse(std::u16string_view page) const {
        RateTable table{};
        ParseRatePage(page, table);
        return table;
    }
};

TEST_F(ServedPageTest, EachMarkupFormReadsAsThePlainPage) {
    const MarkupForm plain{"Plain", PlainRate, PlainPeriod};
    const MarkupForm forms[] = {
        {"BoldNumber", [](const PeriodRow& r) { return u"<b>" + r.rate + u"</b>" + Marker(r); },
         PlainPeriod},
        {"ParagraphWithFont", PlainRate,
         [](const PeriodRow& r) { return u"<font face=\"Arial\">" + PlainPeriod(r) + u"</font>"; }},
        {"SpansWithStyles",
         [](const PeriodRow& r) {
             return u"<span style=\"color:#000\">" + PlainRate(r) + u"</span>";
         },
         [](const PeriodRow& r) { return u"<span class=\"d\">" + PlainPeriod(r) + u"</span>"; }},
        {"NoBreakSpaceReferences", [](const PeriodRow& r) { return u"&nbsp;" + PlainRate(r); },
         [](const PeriodRow& r) { return WithNoBreakSpaces(PlainPeriod(r), u"&nbsp;"); }},
        {"NoBreakSpaceCharacters", PlainRate,
         [](const PeriodRow& r) { return WithNoBreakSpaces(PlainPeriod(r), u"\u00A0"); }},
        {"SelfClosingLineBreak", PlainRate,
         [](const PeriodRow& r) {
             return u"od " + DateText(r.first) + (r.last ? u"<br />do " + DateText(*r.last) : u"");
         }},
        {"StarInASuperscript",
         [](const PeriodRow& r) {
             return r.rate + (Marker(r) == u"%*" ? std::u16string(u"%<sup>*</sup>") : Marker(r));
         },
         PlainPeriod},
    };
    const RateTable expected = Parse(PageIn(plain));
    ASSERT_EQ(expected[1].kind, RateKind::Annual);
    ASSERT_EQ(expected[4].kind, RateKind::DailyStar);
    for (const MarkupForm& form : forms) {
        SCOPED_TRACE(form.name);
        const RateTable table = Parse(PageIn(form));
        for (std::size_t i = 0; i < RateTableCapacity; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(table[i].kind, expected[i].kind);
            EXPECT_EQ(table[i].rate, expected[i].rate);
            EXPECT_EQ(table[i].start, expected[i].start);
            EXPECT_EQ(table[i].end, expected[i].end);
        }
    }
}

// 4 days of 15 %, 365 of 14.5 % and 7 of 12 % from the day after 2023-09-30 through 2024-10-10.
TEST_F(ServedPageTest, AnUnreadableEndDateEndsThePeriodWhereTheNewerOneBegins) {
    const std::u16string variants[] = {
        u"od 5 października 2023 r.<BR>do 3 pazdziernika 2024 r.",  // the month misspelt
        u"od 5 października 2023 r.<BR>",                           // no end after the break
        u"od 5 października 2023 r.",                               // no break at all
    };
    const double expected = Term(4, 15.0) + Term(365, 14.5) + Term(7, 12.0);
    for (const std::u16string& periodCell : variants) {
        SCOPED_TRACE(&periodCell - variants);
        std::u16string rows;
        for (const PeriodRow& row : kPeriods) {
            rows += test::Row(PlainRate(row), row.rate == u"14,50" ? periodCell : PlainPeriod(row));
        }
        const RateTable table = Parse(test::Page(rows));
        EXPECT_EQ(table[1].end, Midnight({2024, 10, 4}));
        EXPECT_DOUBLE_EQ(
            ComputeInterest(table, After({2023, 9, 30}), After({2024, 10, 10}), kAmount), expected);
    }
}

TEST_F(ServedPageTest, TellsTheDaysOfTheDelayThatNoPeriodCovers) {
    struct Case {
        const char* name;
        std::u16string page;
        Date due;
        Date payment;
        std::vector<std::pair<Date, Date>> uncovered;  // first and last day of each stretch
    };
    const std::u16string open = test::Row(u"12,00%", test::PeriodText({2024, 10, 4}));
    const std::u16string older =
        test::Row(u"15,00%", test::PeriodText({2023, 9, 7}, Date{2023, 10, 4}));
    const Case cases[] = {
        {"CoveredEndToEnd",
         PageIn({"", PlainRate, PlainPeriod}),
         {2023, 9, 30},
         {2024, 10, 10},
         {}},
        {"SameDay", PageIn({"", PlainRate, PlainPeriod}), {2024, 10, 10}, {2024, 10, 10}, {}},
        {"GapBetweenPeriods",
         test::Page(open +
                    test::Row(u"14,50%", test::PeriodText({2023, 10, 5}, Date{2024, 9, 30})) +
                    older),
         {2024, 9, 1},
         {2024, 10, 10},
         {{{2024, 10, 1}, {2024, 10, 3}}}},
        {"UnreadableRow",
         test::Page(open + test::Row(u"abc%", test::PeriodText({2023, 10, 5}, Date{2024, 10, 3})) +
                    older),
         {2023, 9, 30},
         {2024, 10, 10},
         {{{2023, 10, 5}, {2024, 10, 3}}}},
        {"TwoGaps",
         test::Page(test::Row(u"12,00%", test::PeriodText({2024, 10, 6})) +
                    test::Row(u"14,50%", test::PeriodText({2023, 10, 8}, Date{2024, 10, 3})) +
                    older),
         {2023, 9, 30},
         {2024, 10, 10},
         {{{2024, 10, 4}, {2024, 10, 5}}, {{2023, 10, 5}, {2023, 10, 7}}}},
        // The newest row's rate can't be read: the older rate is not lent to its days, whether
        // the older row ends where the page says or, having no last day, where the newest begins.
        {"UnreadableNewestRow",
         test::Page(test::Row(u"abc%", test::PeriodText({2024, 10, 4})) +
                    test::Row(u"14,50%", test::PeriodText({2023, 10, 5}, Date{2024, 10, 3})) +
                    older),
         {2023, 9, 30},
         {2024, 10, 10},
         {{{2024, 10, 4}, {2024, 10, 10}}}},
        {"UnreadableNewestRowAboveAnOpenOne",
         test::Page(test::Row(u"abc%", test::PeriodText({2024, 10, 4})) +
                    test::Row(u"14,50%", test::PeriodText({2023, 10, 5})) + older),
         {2023, 9, 30},
         {2024, 10, 10},
         {{{2024, 10, 4}, {2024, 10, 10}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RateTable table = Parse(c.page);
        const DelayInterest delay =
            InterestOverDelay(table, After(c.due), After(c.payment), kAmount);
        ASSERT_FALSE(delay.terms.empty());
        const std::vector<UncoveredDays>& uncovered = delay.uncovered;
        ASSERT_EQ(uncovered.size(), c.uncovered.size());
        for (std::size_t i = 0; i < uncovered.size(); ++i) {
            EXPECT_EQ(uncovered[i].from, Midnight(c.uncovered[i].first));
            EXPECT_EQ(uncovered[i].to, After(c.uncovered[i].second));
        }
    }
}

// Without a period that holds the due date there are no terms: the whole delay is uncovered.
TEST_F(ServedPageTest, WithoutTermsTheWholeDelayIsUncovered) {
    const std::vector<UncoveredDays> uncovered =
        InterestOverDelay(RateTable{}, After({2020, 1, 1}), After({2020, 1, 31}), kAmount)
            .uncovered;
    ASSERT_EQ(uncovered.size(), 1u);
    EXPECT_EQ(uncovered[0].from, After({2020, 1, 1}));
    EXPECT_EQ(uncovered[0].to, After({2020, 1, 31}));
}

}  // namespace
}  // namespace vistrel
