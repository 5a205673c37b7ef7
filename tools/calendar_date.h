// Calendar dates and moments as the calculator's command line writes them, and the instants
// built from them the way the calculator dialog builds its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::tools {

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The dates whose instant (local midnight after the day) fits a signed 32-bit count of seconds.
inline constexpr CalendarDate FirstAcceptedDate{1970, 1, 2};
inline constexpr CalendarDate LastAcceptedDate{2038, 1, 18};

// "YYYY-MM-DD", a real calendar date; nothing before or after it.
std::optional<CalendarDate> ParseCalendarDate(std::string_view text);

bool IsAcceptedDate(const CalendarDate& date);

// "YYYY-MM-DD", zero-padded.
std::string FormatCalendarDate(const CalendarDate& date);

// A moment to stand for "now": "YYYY-MM-DDTHH:MM:SS" in local time, or a count of seconds since
// 1970-01-01 00:00 UTC; nullopt when the text is neither or does not fit a 32-bit instant.
std::optional<std::int32_t> ParseMoment(std::string_view text);

// Local midnight that starts the day, with the daylight-saving flag of `now`, plus one day:
// the instant that the calculator dialog makes of an entered date. nullopt when it does not fit.
std::optional<std::int32_t> CalculatorInstant(const CalendarDate& date, std::int32_t now);

// The local date of a midnight built with whatever daylight-saving flag: such an instant can lie
// an hour before or after the true midnight, so the date is read half a day later.
std::optional<CalendarDate> DateOfMidnight(std::int32_t instant);

}  // namespace vistrel::tools
