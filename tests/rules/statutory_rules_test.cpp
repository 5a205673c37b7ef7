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

// Each row's fraction holds from its first day, and something else held the day before.
TEST(StatutoryRateKinds, FollowEveryRowOfTheDataFile) {
    const auto rows = DataRows("rate-kinds.tsv");
    ASSERT_GE(rows.size(), 3u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0] + " " + row[1]);
        const auto kind = ParseKindName(row[0]);
        ASSERT_TRUE(kind);
        const year_month_day start = DateOf(row[1]);
        EXPECT_EQ(StatutoryRateKinds().PercentOn(*kind, start), std::stod(row[2]));
        EXPECT_NE(StatutoryRateKinds().PercentOn(*kind, year_month_day{sys_days{start} - days{1}}),
                  std::stod(row[2]));
    }
    EXPECT_EQ(StatutoryRateKinds().PercentOn(InterestRateKind::Basic, 2020y / 1 / 1), 100.0);
    EXPECT_EQ(StatutoryRateKinds().PercentOn(InterestRateKind::Reduced, 2008y / 12 / 31), 100.0);
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

// 8,70 zł is not charged, 8,71 zł is; binary arithmetic's 8.700000000000001 counts as 8,70.
TEST(IsWithinThreshold, ComparesToTheGrosz) {
    EXPECT_TRUE(IsWithinThreshold(8.70, 8.70));
    EXPECT_TRUE(IsWithinThreshold(8.700000000000001, 8.70));
    EXPECT_TRUE(IsWithinThreshold(8.7049, 8.70));
    EXPECT_FALSE(IsWithinThreshold(8.705, 8.70));
    EXPECT_FALSE(IsWithinThreshold(8.71, 8.70));
    EXPECT_TRUE(IsWithinThreshold(0.01, 8.70));
    EXPECT_FALSE(IsWithinThreshold(0.0, 8.70));
    EXPECT_FALSE(IsWithinThreshold(0.004, 8.70));
}

TEST(HolidayCalendar, RefusesARowItCannotRead) {
    EXPECT_THROW(HolidayCalendar("day\tfirst_year\tlast_year\tname\n13-01\t\t\tx\n", "t.tsv"),
                 std::runtime_error);
    EXPECT_THROW(RateKindSchedule("kind\tstart\tpercent\nobnizona\t2016-13-01\t50\n", "k.tsv"),
                 std::runtime_error);
}

}  // namespace
}  // namespace vistrel::rules
