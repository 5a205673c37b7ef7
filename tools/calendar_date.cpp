#include "tools/calendar_date.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <limits>
#include <tuple>

#include "engine/local_time.h"

namespace vistrel::tools {
namespace {

// Exactly `width` decimal digits at `position`.
std::optional<int> ReadDigits(std::string_view text, std::size_t position, std::size_t width) {
    if (position + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = position; i < position + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::optional<std::int32_t> ParseSeconds(std::string_view text) {
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || seconds < 0 ||
        seconds > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(seconds);
}

std::optional<std::int32_t> ParseLocalMoment(std::string_view text) {
    if (text.size() != 19 || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto date = ParseCalendarDate(text.substr(0, 10));
    const auto hour = ReadDigits(text, 11, 2);
    const auto minute = ReadDigits(text, 14, 2);
    const auto second = ReadDigits(text, 17, 2);
    if (!date || !hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    std::tm calendar{};
    calendar.tm_year = date->year - 1900;
    calendar.tm_mon = date->month - 1;
    calendar.tm_mday = date->day;
    calendar.tm_hour = *hour;
    calendar.tm_min = *minute;
    calendar.tm_sec = *second;
    calendar.tm_isdst = -1;  // a real moment: the zone's rules decide
    const std::int32_t instant = MakeInstant(calendar);
    if (instant == -1) {
        return std::nullopt;
    }
    return instant;
}

}  // namespace

std::optional<CalendarDate> ParseCalendarDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto year = ReadDigits(text, 0, 4);
    const auto month = ReadDigits(text, 5, 2);
    const auto day = ReadDigits(text, 8, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return CalendarDate{*year, *month, *day};
}

bool IsAcceptedDate(const CalendarDate& date) {
    const auto key = [](const CalendarDate& d) { return std::tie(d.year, d.month, d.day); };
    return key(date) >= key(FirstAcceptedDate) && key(date) <= key(LastAcceptedDate);
}

std::string FormatCalendarDate(const CalendarDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::optional<std::int32_t> ParseMoment(std::string_view text) {
    if (text.find('T') != std::string_view::npos) {
        return ParseLocalMoment(text);
    }
    return ParseSeconds(text);
}

std::optional<std::int32_t> CalculatorInstant(const CalendarDate& date, std::int32_t now) {
    return DayAfterLocalMidnight(date.year, date.month, date.day, now);
}

std::optional<CalendarDate> DateOfMidnight(std::int32_t instant) {
    if (instant > std::numeric_limits<std::int32_t>::max() - SecondsPerDay / 2) {
        return std::nullopt;
    }
    const auto calendar = LocalCalendarTime(instant + SecondsPerDay / 2);
    if (!calendar) {
        return std::nullopt;
    }
    return CalendarDate{calendar->tm_year + 1900, calendar->tm_mon + 1, calendar->tm_mday};
}

}  // namespace vistrel::tools
