// The tax ordinance's rules: the holiday calendar, the rate kinds and the threshold, each against
// dates worked out by hand and against the data files the build compiles in.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "rules/holiday_calendar.h"
#include "rules/interest_threshold.h"
#include "rules/rate_kinds.h"
#include "rules/rate_regime.h"

namespace vistrel::rules {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

// Easter Sundays as church calendars list them.
TEST(EasterSunday, FallsOnTheKnownDates) {
    EXPECT_EQ(EasterSunday(2000y), 2000y / April / 23);
    EXPECT_EQ(EasterSunday(2024y), 2024y / March / 31);
    EXPECT_EQ(EasterSunday(2025y), 2025y / April / 20);
    EXPECT_EQ(EasterSunday(2026y), 2026y / April / 5);
    EXPECT_EQ(EasterSunday(2038y), 2038y / April / 25);
}

// Every weekday that is a day off in 2024, 2025 and 2026, counted from the calendars of those
// years: Easter Monday 1 Apr 2024, 21 Apr 2025, 6 Apr 2026; Corpus Christi 30 May 2024,
// 19 Jun 2025, 4 Jun 2026; 24 December only from 2025.
TEST(StatutoryHolidays, KnowsEveryWeekdayOffInThreeYears) {
    const std::vector<year_month_day> expected = {
        2024y / 1 / 1,   2024y / 4 / 1,   2024y / 5 / 1,   2024y / 5 / 3,   2024y / 5 / 30,
        2024y / 8 / 15,  2024y / 11 / 1,  2024y / 11 / 11, 2024y / 12 / 25, 2024y / 12 / 26,
        2025y / 1 / 1,   2025y / 1 / 6,   2025y / 4 / 21,  2025y / 5 / 1,   2025y / 6 / 19,
        2025y / 8 / 15,  2025y / 11 / 11, 2025y / 12 / 24, 2025y / 12 / 25, 2025y / 12 / 26,
        2026y / 1 / 1,   2026y / 1 / 6,   2026y / 4 / 6,   2026y / 5 / 1,   2026y / 6 / 4,
        2026y / 11 / 11, 2026y / 12 / 24, 2026y / 12 / 25};
    std::vector<year_month_day> found;
    for (sys_days day = sys_days{2024y / 1 / 1}; day <= sys_days{2026y / 12 / 31}; day += days{1}) {
        const weekday dayOfWeek{day};
        if (dayOfWeek == Saturday || dayOfWeek == Sunday) {
            EXPECT_TRUE(StatutoryHolidays().DayOffName(year_month_day{day}))
                << day.time_since_epoch().count();
            continue;
        }
        if (StatutoryHolidays().DayOffName(year_month_day{day}))
            found.push_back(year_month_day{day});
    }
    EXPECT_EQ(found, expected);
}

struct ShiftCase {
    year_month_day due;
    year_month_day moved;

    friend void PrintTo(const ShiftCase& shift, std::ostream* out) {
        *out << static_cast<int>(shift.due.year()) << "-"
             << static_cast<unsigned>(shift.due.month()) << "-"
             << static_cast<unsigned>(shift.due.day());
    }
};

class NextWorkingDayCases : public testing::TestWithParam<ShiftCase> {};

TEST_P(NextWorkingDayCases, MovesPastEveryDayOff) {
    EXPECT_EQ(StatutoryHolidays().NextWorkingDay(GetParam().due), GetParam().moved);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, NextWorkingDayCases,
    testing::Values(ShiftCase{2025y / 12 / 24, 2025y / 12 / 29},  // Wed, Christmas, weekend
                    ShiftCase{2024y / 12 / 24, 2024y / 12 / 24},  // a working day in 2024
                    ShiftCase{2023y / 4 / 8, 2023y / 4 / 11},     // Sat, Easter, Easter Monday
                    ShiftCase{2026y / 5 / 1, 2026y / 5 / 4},      // Fri, Sat, Sun 3 May
                    ShiftCase{2010y / 1 / 6, 2010y / 1 / 6},      // not yet a day off
                    ShiftCase{2011y / 1 / 6, 2011y / 1 / 7}));

// The data files as the tests read them from the source tree.
std::vector<std::vector<std::string>> DataRows(const std::string& name) {
    std::ifstream file(std::string(VISTREL_DATA_DIR) + "/" + name);
    EXPECT_TRUE(file) << name;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(file, line);  // the header
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::stringstream fieldStream(line);
        std::string field;
        while (std::getline(fieldStream, field, '\t')) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

year_month_day DateOf(const std::string& text) {
    return year{std::stoi(text.substr(0, 4))} / std::stoi(text.substr(5, 2)) /
           std::stoi(text.substr(8, 2));
}

// Each fixed-date and Easter row makes its day a day off in its first year (2000 when it has
// none) and, where it has a first year, the same day a working day the year before (unless it
// falls on a weekend); a last year ends it.
TEST(StatutoryHolidays, FollowEveryRowOfTheDataFile) {
    const auto rows = DataRows("public-holidays.tsv");
    ASSERT_GE(rows.size(), 14u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        if (row[0].starts_with("weekday:")) continue;
        const auto dayIn = [&row](int yearValue) {
            if (row[0].starts_with("easter+")) {
                return year_month_day{sys_days{EasterSunday(year{yearValue})} +
                                      days{std::stoi(row[0].substr(7))}};
            }
            return year{yearValue} / std::stoi(row[0].substr(0, 2)) /
                   std::stoi(row[0].substr(3, 2));
        };
        const int first = row[1].empty() ? 2000 : std::stoi(row[1]);
        if (row[2].empty() || std::stoi(row[2]) >= first) {
            EXPECT_TRUE(StatutoryHolidays().DayOffName(dayIn(first)));
        }
        const auto isWeekend = [](year_month_day date) {
            const weekday dayOfWeek{sys_days{date}};
            return dayOfWeek == Saturday || dayOfWeek == Sunday;
        };
        if (!row[1].empty() && !isWeekend(dayIn(first - 1))) {
            EXPECT_FALSE(StatutoryHolidays().DayOffName(dayIn(first - 1)));
        }
        if (row.size() > 2 && !row[2].empty() && !isWeekend(dayIn(std::stoi(row[2]) + 1))) {
            EXPECT_FALSE(StatutoryHolidays().DayOffName(dayIn(std::stoi(row[2]) + 1)));
        }
    }
}

// The fraction every day of a delay is taken at, chosen by the day the corrected return was
// filed and the day the arrears arose, as the provisions in force give it.
TEST(StatutoryRateRegimes, ChooseOneFractionForTheWholeDelay) {
    enum class Outcome { Fraction, BasicWithNote, Refused };
    struct Case {
        const char* name;
        InterestRateKind kind;
        year_month_day arose;
        year_month_day payment;
        std::optional<year_month_day> correction;
        Outcome outcome;
        double percent;  // for Outcome::Fraction
        bool announced;
    };
    constexpr auto Reduced = InterestRateKind::Reduced;
    constexpr auto Increased = InterestRateKind::Increased;
    const Case cases[] = {
        // Arrears from before 2016 corrected in the first half of 2016: 50 % (art. 19 ust. 3).
        {"Before2016CorrectedBy30June", Reduced, 2015y / 12 / 22, 2016y / 1 / 10, 2016y / 1 / 5,
         Outcome::Fraction, 50, false},
        // The same without the correction's day: every day of the 7 before the payment agrees.
        {"Before2016ReadFromPayment", Reduced, 2015y / 12 / 22, 2016y / 1 / 10, std::nullopt,
         Outcome::Fraction, 50, false},
        // The 7 days before the payment straddle 1 January 2016: 75 % or 50 %, so ask.
        {"StraddlingTheNewYearAsks", Reduced, 2015y / 6 / 1, 2016y / 1 / 5, std::nullopt,
         Outcome::Refused, 0, false},
        {"CorrectedIn2014", Reduced, 2014y / 5 / 1, 2014y / 6 / 5, 2014y / 6 / 1, Outcome::Fraction,
         75, true},
        // The ministry and tax advisers disagreed on arrears from before 2009.
        {"ArrearsBefore2009Unsettled", Reduced, 2008y / 6 / 1, 2010y / 1 / 3, 2010y / 1 / 1,
         Outcome::Refused, 0, false},
        // Paid on the 22nd day after the correction: the basic rate.
        {"PaidLateAfterCorrection", Reduced, 2016y / 2 / 1, 2016y / 6 / 30, 2016y / 6 / 8,
         Outcome::BasicWithNote, 100, false},
        {"PaidOnTheSeventhDay", Reduced, 2024y / 1 / 26, 2024y / 3 / 8, 2024y / 3 / 1,
         Outcome::Fraction, 50, false},
        {"PaidOnTheEighthDay", Reduced, 2024y / 1 / 26, 2024y / 3 / 9, 2024y / 3 / 1,
         Outcome::BasicWithNote, 100, false},
        {"PaidBeforeTheCorrection", Reduced, 2024y / 1 / 26, 2024y / 2 / 28, 2024y / 3 / 1,
         Outcome::Refused, 0, false},
        // Arrears from before 2016 corrected after June 2016: the old rules, 75 %.
        {"Before2016CorrectedAfterJune", Reduced, 2015y / 3 / 1, 2016y / 7 / 20, 2016y / 7 / 15,
         Outcome::Fraction, 75, true},
        // No reduced rate before 2009.
        {"CorrectedIn2008", Reduced, 2008y / 6 / 1, 2008y / 12 / 3, 2008y / 12 / 1,
         Outcome::BasicWithNote, 100, false},
        {"IncreasedFrom2016", Increased, 2016y / 2 / 1, 2016y / 5 / 1, std::nullopt,
         Outcome::Fraction, 150, false},
        {"IncreasedNotBefore2016", Increased, 2015y / 6 / 1, 2016y / 5 / 1, std::nullopt,
         Outcome::BasicWithNote, 100, false},
        {"Basic", InterestRateKind::Basic, 2015y / 6 / 1, 2016y / 5 / 1, std::nullopt,
         Outcome::Fraction, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegimeChoice choice =
            StatutoryRateRegimes().Choose(c.kind, c.arose, c.payment, c.correction);
        if (c.outcome == Outcome::Refused) {
            EXPECT_FALSE(choice.regime);
            EXPECT_FALSE(choice.refusal.empty());
            continue;
        }
        ASSERT_TRUE(choice.regime) << choice.refusal;
        EXPECT_EQ(choice.regime->fraction.percent, c.percent);
        EXPECT_EQ(choice.regime->fraction.announcedToHundredths, c.announced);
        EXPECT_EQ(choice.note.find("liczono według stawki podstawowej") != std::string::npos,
                  c.outcome == Outcome::BasicWithNote)
            << choice.note;
        if (c.percent != 100) {
            EXPECT_FALSE(choice.regime->provision.empty());
        }
    }
}

// The ministry announced 75 % of the basic rate rounded half up to hundredths of a percent:
// 13,50 % gave 10,13 %, 12,50 % gave 9,38 % (and 50 % or 150 % of a rate is always exact).
TEST(RateFraction, AnnouncedRatesAreRoundedToHundredths) {
    const RateFraction threeQuarters{75, true};
    const std::pair<double, double> announced[] = {{13.5, 10.13}, {12.5, 9.38}, {14.5, 10.88},
                                                   {11.5, 8.63},  {10.5, 7.88}, {8.0, 6.0}};
    for (const auto& [basic, reduced] : announced) {
        EXPECT_DOUBLE_EQ(threeQuarters.Of(basic), reduced) << basic;
    }
    EXPECT_DOUBLE_EQ((RateFraction{50, false}.Of(14.5)), 7.25);
    EXPECT_DOUBLE_EQ((RateFraction{150, false}.Of(14.5)), 21.75);
}

TEST(StatutoryThreshold, FollowsEveryRowOfTheDataFile) {
    const auto rows = DataRows("interest-threshold.tsv");
    ASSERT_GE(rows.size(), 1u);
    for (const auto& row : rows) {
        const year_month_day start = DateOf(row[0]);
        EXPECT_EQ(StatutoryThreshold().On(start), std::stod(row[1]));
        EXPECT_NE(StatutoryThreshold().On(year_month_day{sys_days{start} - days{1}}),
                  std::stod(row[1]));
    }
}

// 8,70 zł is not charged, 8,71 zł is, and so is 8,7049 zł, which exceeds 8,70 zł; binary
// arithmetic's 8.700000000000001 counts as 8,70.
TEST(IsWithinThreshold, ComparesTheExactInterest) {
    EXPECT_TRUE(IsWithinThreshold(8.70, 8.70));
    EXPECT_TRUE(IsWithinThreshold(8.700000000000001, 8.70));
    EXPECT_FALSE(IsWithinThreshold(8.7049, 8.70));
    EXPECT_FALSE(IsWithinThreshold(8.705, 8.70));
    EXPECT_FALSE(IsWithinThreshold(8.71, 8.70));
    EXPECT_TRUE(IsWithinThreshold(0.01, 8.70));
    EXPECT_FALSE(IsWithinThreshold(0.0, 8.70));
    EXPECT_TRUE(IsWithinThreshold(0.004, 8.70));
}

TEST(HolidayCalendar, RefusesARowItCannotRead) {
    EXPECT_THROW(HolidayCalendar("day\tfirst_year\tlast_year\tname\n13-01\t\t\tx\n", "t.tsv"),
                 std::runtime_error);
    EXPECT_THROW(RateRegimes("kind\tpercent\nobnizona\tx\n", "r.tsv"), std::runtime_error);
}

}  // namespace
}  // namespace vistrel::rules
