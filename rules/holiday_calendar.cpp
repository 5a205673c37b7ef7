#include "rules/holiday_calendar.h"

#include "base/whole_text_number.h"
#include "rules/statutory_data.h"
#include "rules/tsv_rows.h"

namespace vistrel::rules {
namespace {

using namespace std::chrono;

std::optional<int> ReadInteger(std::string_view text) { return WholeTextNumber<int>(text); }

}  // namespace

year_month_day EasterSunday(year y) {
    const int a = static_cast<int>(y) % 19;
    const int b = static_cast<int>(y) / 100;
    const int c = static_cast<int>(y) % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return year_month_day{y, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}};
}

HolidayCalendar::HolidayCalendar(std::string_view tsv, std::string_view name) {
    for (const TsvRow& row : ReadTsvRows(tsv, name)) {
        Rule rule;
        const std::string_view day = row.fields[0];
        if (day.starts_with("easter+")) {
            const auto offset = ReadInteger(day.substr(7));
            if (!offset) ThrowBadData(name, row.line, "no day count after easter+");
            rule.kind = Rule::Kind::FromEaster;
            rule.easterOffset = *offset;
        } else if (day.starts_with("weekday:")) {
            const auto weekday = ReadInteger(day.substr(8));
            if (!weekday || *weekday < 1 || *weekday > 7) {
                ThrowBadData(name, row.line, "a weekday is 1 to 7");
            }
            rule.kind = Rule::Kind::Weekday;
            rule.isoWeekday = static_cast<unsigned>(*weekday);
        } else {
            const auto month =
                day.size() == 5 && day[2] == '-' ? ReadInteger(day.substr(0, 2)) : std::nullopt;
            const auto dayOfMonth = month ? ReadInteger(day.substr(3, 2)) : std::nullopt;
            if (!month || !dayOfMonth ||
                !month_day{std::chrono::month{static_cast<unsigned>(*month)},
                           std::chrono::day{static_cast<unsigned>(*dayOfMonth)}}
                     .ok()) {
                ThrowBadData(name, row.line, "no day in the form MM-DD, easter+N or weekday:N");
            }
            rule.month = static_cast<unsigned>(*month);
            rule.day = static_cast<unsigned>(*dayOfMonth);
        }
        for (const auto& [field, limit] : {std::pair{row.fields[1], &rule.firstYear},
                                           std::pair{row.fields[2], &rule.lastYear}}) {
            if (field.empty()) continue;
            const auto yearValue = ReadInteger(field);
            if (!yearValue) ThrowBadData(name, row.line, "a year is a number");
            *limit = *yearValue;
        }
        rule.name = std::string(row.fields[3]);
        rules_.push_back(std::move(rule));
    }
}

std::optional<std::string> HolidayCalendar::DayOffName(year_month_day date) const {
    const int yearValue = static_cast<int>(date.year());
    const sys_days days{date};
    std::optional<year_month_day> easter;
    for (const Rule& rule : rules_) {
        if ((rule.firstYear != 0 && yearValue < rule.firstYear) ||
            (rule.lastYear != 0 && yearValue > rule.lastYear)) {
            continue;
        }
        bool matches = false;
        switch (rule.kind) {
        case Rule::Kind::Fixed:
            matches = static_cast<unsigned>(date.month()) == rule.month &&
                      static_cast<unsigned>(date.day()) == rule.day;
            break;
        case Rule::Kind::FromEaster:
            if (!easter) easter = EasterSunday(date.year());
            matches = days == sys_days{*easter} + std::chrono::days{rule.easterOffset};
            break;
        case Rule::Kind::Weekday: matches = weekday{days}.iso_encoding() == rule.isoWeekday; break;
        }
        if (matches) return rule.name;
    }
    return std::nullopt;
}

year_month_day HolidayCalendar::NextWorkingDay(year_month_day date) const {
    sys_days days{date};
    while (DayOffName(year_month_day{days})) days += std::chrono::days{1};
    return year_month_day{days};
}

const HolidayCalendar& StatutoryHolidays() {
    static const HolidayCalendar calendar(PublicHolidaysTsv(), "data/public-holidays.tsv");
    return calendar;
}

}  // namespace vistrel::rules
