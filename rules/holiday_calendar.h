// Polish days off work, for moving a due date that falls on one to the next working day, as
// art. 12 § 5 of the tax ordinance does. The days come from data/public-holidays.tsv: fixed
// dates, days counted from Easter Sunday (computed for each year), and days of the week.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::rules {

// Easter Sunday of the Gregorian calendar (the anonymous Gregorian computus).
std::chrono::year_month_day EasterSunday(std::chrono::year year);

class HolidayCalendar {
public:
    // Rules in the form of data/public-holidays.tsv; throws std::runtime_error naming `name`
    // for a row it cannot read.
    HolidayCalendar(std::string_view tsv, std::string_view name);

    // The name of the day off ("sobota", "Boże Ciało"...), or nullopt for a working day.
    std::optional<std::string> DayOffName(std::chrono::year_month_day date) const;

    // `date` itself when it is a working day, else the first working day after it.
    std::chrono::year_month_day NextWorkingDay(std::chrono::year_month_day date) const;

private:
    struct Rule {
        enum class Kind { Fixed, FromEaster, Weekday } kind = Kind::Fixed;
        unsigned month = 0;
        unsigned day = 0;
        int easterOffset = 0;
        unsigned isoWeekday = 0;  // 1 Monday ... 7 Sunday
        int firstYear = 0;        // 0: no limit
        int lastYear = 0;         // 0: no limit
        std::string name;
    };
    std::vector<Rule> rules_;
};

// The calendar the build compiled in from data/public-holidays.tsv.
const HolidayCalendar& StatutoryHolidays();

}  // namespace vistrel::rules
