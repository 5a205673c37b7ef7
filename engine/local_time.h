// Calendar dates to instants the way the rate page and the calculator dialog need them: local
// midnight through mktime, with the daylight-saving flag of the present moment, not of the date.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace vistrel {

inline constexpr std::int32_t SecondsPerDay = 86400;

// The local calendar time of `instant` (localtime); nullopt when it cannot be converted.
std::optional<std::tm> LocalCalendarTime(std::int32_t instant);

// mktime of `calendar`, or -1 when mktime fails or the result does not fit a 32-bit instant.
std::int32_t MakeInstant(std::tm calendar);

// Local midnight that starts the given day (month 1..12), with the daylight-saving flag of `now`.
// Out-of-range fields are normalised by mktime; -1 when the date cannot be converted.
std::int32_t LocalMidnight(int year, int month, int day, std::int32_t now);

}  // namespace vistrel
