#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/clock.h"
#include "engine/local_time.h"
#include "engine/rate_page_cells.h"
#include "tests/support/local_moment.h"
#include "tests/support/page_builder.h"

namespace vistrel {
namespace {

using test::Date;

constexpr std::int32_t kUntouchedStart = 111;
constexpr std::int32_t kUntouchedEnd = 222;

class ReadPeriodDateTest : public ::testing::Test {
protected:
    const std::int32_t now_ = test::LocalMoment(2014, 1, 15, 12);
    PinnedClock clock_{now_};

    std::int32_t Midnight(Date date) const {
        return LocalMidnight(date.year, date.month, date.day, now_);
    }

    // The period as ReadPeriodDate leaves it; `stored` is what it answered.
    static RatePeriod Read(const char16_t* text, PeriodBound bound, bool* stored = nullptr) {
        RatePeriod period{kUntouchedStart, kUntouchedEnd, RateKind::Annual, 5.0};
        const bool answer = ReadPeriodDate(text, period, bound);
        if (stored != nullptr) *stored = answer;
        return period;
    }
};

struct ReadableDate {
    const char* name;
    std::u16string_view text;
    Date date;
};

const ReadableDate kReadableDates[] = {
    {"OneDigitDayMonthAtIndex5", u"od 9 maja 2013 r.", {2013, 5, 9}},
    {"TwoDigitDayMonthAtIndex6", u"od 10 maja 2013 r.", {2013, 5, 10}},
    {"LastDayOfTheYear", u"do 31 grudnia 2021", {2021, 12, 31}},
    {"MonthInCapitals", u"od 15 WRZEŚNIA 2016 r.", {2016, 9, 15}},
    {"MonthInMixedCase", u"od 1 PaŹdziernika 2008", {2008, 10, 1}},
    {"AnySeparators", u"xyz7/lipca/2019;", {2019, 7, 7}},
    {"SummerDate", u"od 30 czerwca 2013", {2013, 6, 30}},
    {"LeapDay", u"od 29 lutego 2016", {2016, 2, 29}},
    {"LeadingZeroDay", u"od 09 maja 2013 r.", {2013, 5, 9}},
    {"LeadingZeroFirstDay", u"do 01 stycznia 2014", {2014, 1, 1}},
};

TEST_F(ReadPeriodDateTest, StartIsLocalMidnightAndThePeriodStaysOpenUntilNow) {
    for (const ReadableDate& c : kReadableDates) {
        SCOPED_TRACE(c.name);
        bool stored = false;
        const RatePeriod period = Read(c.text.data(), PeriodBound::Start, &stored);
        EXPECT_TRUE(stored);
        EXPECT_EQ(period.start, Midnight(c.date));
        EXPECT_EQ(period.end, now_);
        EXPECT_EQ(period.kind, RateKind::Annual);
        EXPECT_EQ(period.rate, 5.0);
    }
}

TEST_F(ReadPeriodDateTest, EndIsMidnightAfterTheLastDayAndLeavesTheStart) {
    for (const ReadableDate& c : kReadableDates) {
        SCOPED_TRACE(c.name);
        bool stored = false;
        const RatePeriod period = Read(c.text.data(), PeriodBound::End, &stored);
        EXPECT_TRUE(stored);
        EXPECT_EQ(period.start, kUntouchedStart);
        EXPECT_EQ(period.end, Midnight(c.date) + SecondsPerDay);
    }
}

TEST_F(ReadPeriodDateTest, EveryMonthNameIsKnown) {
    for (int month = 1; month <= 12; ++month) {
        SCOPED_TRACE(month);
        const std::u16string text = u"od " + test::DateText({2015, month, 3});
        EXPECT_EQ(Read(text.c_str(), PeriodBound::Start).start, Midnight({2015, month, 3}));
    }
}

TEST_F(ReadPeriodDateTest, UnreadableDateStoresNothing) {
    const std::u16string_view unreadable[] = {
        u"od 00 maja 2013 r.",   // no day at all: the month is looked for at index 5
        u"od 009 maja 2013 r.",  // two leading zeros put the month past index 6
        u"od 9 maj 2013",
        u"od 5 wrzesnia 2013",
        u"od maja 2013",
        u"od 9  maja 2013",
        u"od 9 ma",
        u"od 9",
        u"od",
        u"",
    };
    for (std::u16string_view text : unreadable) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(text)));
        for (PeriodBound bound : {PeriodBound::Start, PeriodBound::End}) {
            bool stored = true;
            const RatePeriod period = Read(text.data(), bound, &stored);
            EXPECT_FALSE(stored);
            EXPECT_EQ(period.start, kUntouchedStart);
            EXPECT_EQ(period.end, kUntouchedEnd);
        }
    }
}

// The parser reuses one cell buffer, so an earlier cell's characters lie behind the terminator.
TEST_F(ReadPeriodDateTest, ReadsNothingBehindTheTerminator) {
    struct Case {
        const char* name;
        std::u16string before;
        std::u16string behind;
    };
    const Case unreadable[] = {
        {"DayBehind", u"ab", u"9 maja 2013"},
        {"EmptyText", u"", u"d 9 maja 2013"},
    };
    for (const Case& c : unreadable) {
        SCOPED_TRACE(c.name);
        const std::u16string buffer = c.before + u'\0' + c.behind;
        const RatePeriod period = Read(buffer.c_str(), PeriodBound::Start);
        EXPECT_EQ(period.start, kUntouchedStart);
        EXPECT_EQ(period.end, kUntouchedEnd);
    }
    // The month stands, the year does not: whatever is stored, it is not the year behind.
    const std::u16string yearBehind = std::u16string(u"od 9 maja") + u'\0' + u"2013";
    EXPECT_NE(Read(yearBehind.c_str(), PeriodBound::Start).start, Midnight({2013, 5, 9}));
}

}  // namespace
}  // namespace vistrel
