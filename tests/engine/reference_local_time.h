// Local-time conversion as it stood before its cache, kept unchanged to compare against.
// Calendar dates to instants the way the rate page and the calculator dialog need them: local
// midnight through mktime, with the daylight-saving flag of the present moment, not of the date.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>

namespace vistrel::test::reference {

inline constexpr std::int32_t SecondsPerDay = 86400;

// The local calendar time of `instant` (localtime); nullopt when it cannot be converted.
std::optional<std::tm> LocalCalendarTime(std::int32_t instant) noexcept;

// mktime of `calendar`, or -1 when mktime fails or the result does not fit a 32-bit instant.
std::int32_t MakeInstant(std::tm calendar) noexcept;

// Local midnight that starts the given day (month 1..12), with the daylight-saving flag of `now`.
// Out-of-range fields are normalised by mktime; -1 when the date cannot be converted.
std::int32_t LocalMidnight(int year, int month, int day, std::int32_t now) noexcept;

// The instant of an entered date, as the calculator dialog and the command-line calculator take
// it: the local midnight that starts the following day (the entered day counts in full), with
// the daylight-saving flag of `now`. nullopt for a date that is no calendar date or whose
// instant has no 32-bit value.
std::optional<std::int32_t> DayAfterInstant(std::chrono::year_month_day date,
                                            std::int32_t now) noexcept;

}  // namespace vistrel::test::reference
