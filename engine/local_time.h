// Calendar dates to instants the way the rate page and the calculator dialog need them: local
// midnight through mktime, with the daylight-saving flag of the present moment, not of the date.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>

namespace vistrel {

inline constexpr std::int32_t SecondsPerDay = 86400;

// The local calendar time of `instant` (localtime); nullopt when it cannot be converted.
std::optional<std::tm> LocalCalendarTime(std::int32_t instant) noexcept;

// mktime of `calendar`, or -1 when mktime fails or the result does not fit a 32-bit instant.
std::int32_t MakeInstant(std::tm calendar) noexcept;

// Local midnight that starts the given day (month 1..12), with the daylight-saving flag of `now`.
// Out-of-range fields are normalised by mktime; -1 when the date cannot be converted.
std::int32_t LocalMidnight(int year, int month, int day, std::int32_t now) noexcept;

// LocalMidnight for a whole rate page: the page's dates are converted by mktime as LocalMidnight
// converts them, and the results are remembered by date and daylight-saving flag for as long as
// the zone stays the one found when the cache was opened (TZ, and without it the zone file that
// the C library reads again on every conversion). The memory lasts from one cache to the next,
// so a page read again costs no conversion. One cache at a time serves the process; a second one
// opened meanwhile (on another thread) converts every date afresh.
class LocalMidnightCache {
public:
    LocalMidnightCache() noexcept;
    ~LocalMidnightCache();
    LocalMidnightCache(const LocalMidnightCache&) = delete;
    LocalMidnightCache& operator=(const LocalMidnightCache&) = delete;

    // The same instant as LocalMidnight(year, month, day, now).
    std::int32_t Midnight(int year, int month, int day, std::int32_t now) noexcept;

private:
    struct Memory;
    static Memory* TakeProcessMemory() noexcept;
    static void ReturnProcessMemory() noexcept;

    Memory* memory_;  // null when another cache holds the process's memory
};

// The instant of an entered date, as the calculator dialog and the command-line calculator take
// it: the local midnight that starts the following day (the entered day counts in full), with
// the daylight-saving flag of `now`. nullopt for a date that is no calendar date or whose
// instant has no 32-bit value.
std::optional<std::int32_t> DayAfterInstant(std::chrono::year_month_day date,
                                            std::int32_t now) noexcept;

// The dates a user may enter, in the dialog and on the command line: those whose DayAfterInstant
// fits 32 bits wherever local time is at most three hours behind UTC.
inline constexpr std::chrono::year_month_day EarliestEntryDate{
    std::chrono::year{1970}, std::chrono::January, std::chrono::day{2}};
inline constexpr std::chrono::year_month_day LatestEntryDate{
    std::chrono::year{2038}, std::chrono::January, std::chrono::day{18}};

}  // namespace vistrel
