#include <gtest/gtest.h>

#include <vector>

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "tests/support/local_moment.h"
#include "tests/support/page_builder.h"

namespace vistrel {
namespace {

constexpr double kAnnual = 0.01 / 365;
constexpr double kDaily = 0.01;
constexpr double kAmount = 1000.0;

// One row's interest, multiplied in the order the engine must keep for identical results.
double Term(int days, double rate, double factor) { return ((days * rate) * kAmount) * factor; }

constexpr std::int32_t Days(int days) { return days * SecondsPerDay; }

constexpr int kOpen = -1;  // the row's end is the moment the page was read

struct Row {
    RateKind kind;
    double rate;
    int firstDay;
    int endDay;  // the midnight after the last day, or kOpen
};

// Instants count from a local midnight; the moment of reading is 13:00 on day 130.
const std::int32_t kBase = LocalMidnight(2023, 1, 1, test::LocalMoment(2023, 1, 15, 12));
const std::int32_t kNow = kBase + Days(130) + 13 * 3600;

RateTable MakeTable(const std::vector<Row>& rows) {
    RateTable table{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        table[i] = {kBase + Days(row.firstDay),
                    row.endDay == kOpen ? kNow : kBase + Days(row.endDay), row.kind, row.rate};
    }
    return table;
}

const std::vector<Row> kThreePeriods = {
    {RateKind::Annual, 12.0, 100, kOpen},
    {RateKind::Annual, 10.0, 60, 100},
    {RateKind::Annual, 8.0, 0, 60},
};
const std::vector<Row> kWithGap = {
    {RateKind::Annual, 12.0, 100, kOpen},
    {RateKind::Annual, 10.0, 60, 80},
    {RateKind::Annual, 8.0, 0, 60},
};

struct InterestCase {
    const char* name;
    const std::vector<Row>& rows;
    std::int32_t due;      // seconds after kBase
    std::int32_t payment;  // seconds after kBase
    double expected;
};

template <std::size_t N>
void ExpectInterest(const InterestCase (&cases)[N]) {
    for (const InterestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RateTable table = MakeTable(c.rows);
        EXPECT_DOUBLE_EQ(ComputeInterest(table, kBase + c.due, kBase + c.payment, kAmount),
                         c.expected);
    }
}

const InterestCase kInterestCases[] = {
    {"PaymentInNewestDueTwoPeriodsOlder", kThreePeriods, Days(40), Days(120),
     Term(20, 12, kAnnual) + Term(40, 10, kAnnual) + Term(20, 8, kAnnual)},
    {"DueAndPaymentInAdjacentPeriods", kThreePeriods, Days(70), Days(110),
     Term(10, 12, kAnnual) + Term(30, 10, kAnnual)},
    {"BothInOneClosedPeriod", kThreePeriods, Days(10), Days(50), Term(40, 8, kAnnual)},
    {"BothInTheOpenPeriodBeforeNow", kThreePeriods, Days(105), Days(120), Term(15, 12, kAnnual)},
    {"SameDay", kThreePeriods, Days(50), Days(50), 0.0},
    {"PaymentAfterTheOpenPeriodsEnd", kThreePeriods, Days(90), Days(131),
     Term(31, 12, kAnnual) + Term(10, 10, kAnnual)},
    {"DueBeforeAndPaymentAfterTheMomentOfReading", kThreePeriods, Days(110), Days(140),
     Term(30, 12, kAnnual)},
    {"BothAfterTheMomentOfReading", kThreePeriods, Days(135), Days(140), Term(5, 12, kAnnual)},
    {"PaymentOnABoundaryCountsTheOlderRowInFull", kThreePeriods, Days(30), Days(100),
     Term(0, 12, kAnnual) + Term(40, 10, kAnnual) + Term(30, 8, kAnnual)},
    {"PaymentOnABoundaryDueInTheOlderRow", kThreePeriods, Days(70), Days(100),
     Term(30, 10, kAnnual)},
    {"DueOnABoundaryCountsTheNewerRowInFull", kThreePeriods, Days(60), Days(110),
     Term(10, 12, kAnnual) + Term(40, 10, kAnnual)},
    {"PartialDaysDroppedRowByRow", kThreePeriods, Days(70) + 1, Days(110) - 1,
     Term(9, 12, kAnnual) + Term(29, 10, kAnnual)},
    {"DueBeforeTheOldestPeriod", kThreePeriods, Days(-5), Days(120), 0.0},
    {"GapAddsNothing", kWithGap, Days(70), Days(120),
     Term(20, 12, kAnnual) + Term(10, 10, kAnnual)},
    {"DueInAGap", kWithGap, Days(90), Days(120), 0.0},
    {"PaymentInAGapCountsOlderPeriodsInFull", kWithGap, Days(30), Days(90),
     Term(20, 10, kAnnual) + Term(30, 8, kAnnual)},
};

TEST(ComputeInterestTest, CountsEachPeriodAtItsOwnRate) { ExpectInterest(kInterestCases); }

const std::vector<Row> kOneAnnual = {{RateKind::Annual, 36.5, 0, 100}};
const std::vector<Row> kOneDailyStar = {{RateKind::DailyStar, 0.1, 0, 100}};
const std::vector<Row> kOneDailyTwoStars = {{RateKind::DailyTwoStars, 0.1, 0, 100}};
const std::vector<Row> kLeapLength = {{RateKind::Annual, 0.0, 366, 400},
                                      {RateKind::Annual, 10.0, 0, 366}};
const std::vector<Row> kAllNone = {{RateKind::None, 12.0, 100, kOpen},
                                   {RateKind::None, 10.0, 0, 100}};
const std::vector<Row> kUnknownKindFirst = {{static_cast<RateKind>(7), 50.0, 0, 200},
                                            {RateKind::Annual, 10.0, 0, 200}};
const std::vector<Row> kHeaderFirst = {{RateKind::None, 0.0, 0, 0},
                                       {RateKind::Annual, 12.0, 100, kOpen},
                                       {RateKind::Annual, 10.0, 0, 100}};
const std::vector<Row> kClosedNewest = {{RateKind::Annual, 12.0, 100, 120},
                                        {RateKind::Annual, 10.0, 0, 100}};
const std::vector<Row> kOverlapping = {{RateKind::Annual, 12.0, 100, kOpen},
                                       {RateKind::Annual, 10.0, 50, 100},
                                       {RateKind::Annual, 8.0, 0, 80}};

const InterestCase kKindAndTableCases[] = {
    {"AnnualRateOfThirtySixAndAHalfOverTenDays", kOneAnnual, Days(10), Days(20), 10.0},
    {"DailyStarRateOfOneTenthOverTenDays", kOneDailyStar, Days(10), Days(20), 10.0},
    {"DailyTwoStarsRateOfOneTenthOverTenDays", kOneDailyTwoStars, Days(10), Days(20), 10.0},
    {"A366DayPeriodAtA365DayYear", kLeapLength, Days(0), Days(380), kAmount * 0.10 * 366 / 365},
    {"AllRecordsNone", kAllNone, Days(40), Days(120), 0.0},
    {"UnknownKindSkipped", kUnknownKindFirst, Days(10), Days(20), Term(10, 10, kAnnual)},
    {"NewestUsableRowAfterAHeader", kHeaderFirst, Days(90), Days(131),
     Term(31, 12, kAnnual) + Term(10, 10, kAnnual)},
    {"ClosedNewestPeriodReachesThePayment", kClosedNewest, Days(90), Days(140),
     Term(40, 12, kAnnual) + Term(10, 10, kAnnual)},
    {"WalkEndsAtTheRowHoldingTheDueInstant", kOverlapping, Days(60), Days(110),
     Term(10, 12, kAnnual) + Term(40, 10, kAnnual)},
};

TEST(ComputeInterestTest, UsesTheFactorOfEachKindAndSkipsUnusableRecords) {
    ExpectInterest(kKindAndTableCases);
}

TEST(ComputeInterestTest, RecordsThatHoldNoTimeAddNothing) {
    // A rate whose dates were never read keeps the cleared 0..0 and must not pull in the rows
    // after the payment.
    RateTable unread = MakeTable({{RateKind::Annual, 0.0, 0, 0},
                                  {RateKind::Annual, 36.5, 100, 120},
                                  {RateKind::Annual, 36.5, 0, 100}});
    unread[0] = {0, 0, RateKind::Annual, 36.5};
    EXPECT_DOUBLE_EQ(ComputeInterest(unread, kBase + Days(10), kBase + Days(50), kAmount),
                     Term(40, 36.5, kAnnual));

    // A rate announced to begin after the moment of reading is open until "now", before its
    // start: it counts only once the payment lies in it.
    const RateTable announced = MakeTable({{RateKind::Annual, 20.0, 140, kOpen},
                                           {RateKind::Annual, 12.0, 100, 140},
                                           {RateKind::Annual, 10.0, 0, 100}});
    EXPECT_DOUBLE_EQ(ComputeInterest(announced, kBase + Days(90), kBase + Days(135), kAmount),
                     Term(35, 12, kAnnual) + Term(10, 10, kAnnual));
    EXPECT_DOUBLE_EQ(ComputeInterest(announced, kBase + Days(90), kBase + Days(150), kAmount),
                     Term(10, 20, kAnnual) + Term(40, 12, kAnnual) + Term(10, 10, kAnnual));
}

// Each term says between which instants its days were counted.
TEST(InterestTermsTest, NameTheInstantsEachRowCounts) {
    const RateTable table = MakeTable(kClosedNewest);  // 100..120 and 0..100
    const std::vector<InterestTerm> terms =
        InterestOverDelay(table, kBase + Days(90), kBase + Days(140), kAmount).terms;
    ASSERT_EQ(terms.size(), 2u);
    // The newest period runs on past its end to the payment.
    EXPECT_EQ(terms[0].record, 0u);
    EXPECT_EQ(terms[0].from, kBase + Days(100));
    EXPECT_EQ(terms[0].to, kBase + Days(140));
    EXPECT_EQ(terms[0].days, 40);
    EXPECT_EQ(terms[1].record, 1u);
    EXPECT_EQ(terms[1].from, kBase + Days(90));
    EXPECT_EQ(terms[1].to, kBase + Days(100));
    EXPECT_EQ(terms[1].days, 10);
}

TEST(ComputeInterestTest, EmptyTableGivesZero) {
    const RateTable table{};
    EXPECT_EQ(ComputeInterest(table, kBase, kBase + Days(10), kAmount), 0.0);
}

TEST(ComputeInterestTest, WalksAll200Records) {
    std::vector<Row> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({RateKind::Annual, 36.5, 199 - i, 200 - i});
    const RateTable table = MakeTable(rows);
    EXPECT_DOUBLE_EQ(ComputeInterest(table, kBase + Days(0), kBase + Days(200), kAmount), 200.0);
}

// The calculator's instants are the midnights after the entered dates.
class InterestOverParsedPageTest : public ::testing::Test {
protected:
    const std::int32_t now_ = test::LocalMoment(2024, 11, 20, 12);
    PinnedClock clock_{now_};

    double Compute(std::u16string_view page, test::Date due, test::Date payment) const {
        RateTable table{};
        ParseRatePage(page, table);
        return ComputeInterest(table, After(due), After(payment), kAmount);
    }

    std::int32_t After(test::Date date) const {
        return LocalMidnight(date.year, date.month, date.day, now_) + SecondsPerDay;
    }
};

TEST_F(InterestOverParsedPageTest, CountsTheDaysAfterTheDueDateThroughThePaymentDate) {
    struct Case {
        const char* name;
        test::Date due;
        test::Date payment;
        double expected;
    };
    const Case cases[] = {
        {"AcrossFourPeriods",
         {2023, 9, 1},
         {2024, 10, 10},
         Term(7, 12, kAnnual) + Term(365, 14.5, kAnnual) + Term(28, 15, kAnnual) +
             Term(5, 16, kAnnual)},
        {"PaidTodayInTheOpenPeriod", {2024, 10, 10}, {2024, 11, 20}, Term(41, 12, kAnnual)},
        {"PaidLaterThanToday",
         {2024, 9, 30},
         {2024, 12, 31},
         Term(89, 12, kAnnual) + Term(3, 14.5, kAnnual)},
        {"DailyRates",
         {2022, 6, 29},
         {2022, 7, 10},
         Term(10, 0.05, kDaily) + Term(1, 0.04, kDaily)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(Compute(test::SampleRatePage(), c.due, c.payment), c.expected);
    }
}

// A header whose first cell carries a percent sign leaves a record with a kind but without dates
// (start = end = 0); it must not stand in for the newest period and swallow the whole time.
TEST_F(InterestOverParsedPageTest, HeaderWithAPercentSignDoesNotHideThePeriods) {
    const std::u16string page = test::Row(u"Stopa w %", u"Okres") + test::SampleRatePage();
    EXPECT_DOUBLE_EQ(Compute(page, {2024, 10, 10}, {2024, 11, 20}), Term(41, 12, kAnnual));
    EXPECT_DOUBLE_EQ(Compute(page, {2024, 9, 30}, {2024, 10, 10}),
                     Term(7, 12, kAnnual) + Term(3, 14.5, kAnnual));
}

}  // namespace
}  // namespace vistrel
