// Calendar dates and moments as the calculator's command line writes them.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/local_time.h"

namespace vistrel::rules {

// "YYYY-MM-DD", a real calendar date; nothing before or after it.
std::optional<std::chrono::year_month_day> ParseCalendarDate(std::string_view text);

bool IsAcceptedDate(const std::chrono::year_month_day& date);

// "YYYY-MM-DD", zero-padded.
std::string FormatCalendarDate(const std::chrono::year_month_day& date);

// A moment to stand for "now": "YYYY-MM-DDTHH:MM:SS" in local time, or a count of seconds since
// 1970-01-01 00:00 UTC; nullopt when the text is neither, lies before 1970 or does not fit a
// 32-bit instant.
std::optional<std::int32_t> ParseMoment(std::string_view text);

// The local date of a midnight built with whatever daylight-saving flag: such an instant can lie
// an hour before or after the true midnight, so the date is read half a day later.
std::optional<std::chrono::year_month_day> DateOfMidnight(std::int32_t instant);

// DayAfterInstant of the engine, through the memo below while one is open.
std::optional<std::int32_t> InstantOfDate(std::chrono::year_month_day date, std::int32_t now);

// While it lives, DateOfMidnight and InstantOfDate remember what the C library's local-time
// conversions answered, so that a list of many debts over the same few dates converts each date
// once. Open one only where the zone and "now" stay the same throughout (one list's run); one
// at a time, on one thread.
class LocalDateMemo {
public:
    LocalDateMemo();
    ~LocalDateMemo();
    LocalDateMemo(const LocalDateMemo&) = delete;
    LocalDateMemo& operator=(const LocalDateMemo&) = delete;

    struct Tables;

private:
    Tables* tables_;
};

}  // namespace vistrel::rules
