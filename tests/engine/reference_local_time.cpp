// Local-time conversion as it stood before its cache, kept unchanged to compare against.
#include "tests/engine/reference_local_time.h"

#include <limits>

namespace vistrel::test::reference {

std::optional<std::tm> LocalCalendarTime(std::int32_t instant) noexcept {
    const std::time_t moment = instant;
    // localtime hands out a shared result area; take a copy at once.
    const std::tm* calendar = std::localtime(&moment);
    if (calendar == nullptr) return std::nullopt;
    return *calendar;
}

std::int32_t MakeInstant(std::tm calendar) noexcept {
    const std::time_t instant = std::mktime(&calendar);
    // Instants are 32-bit: a date past their range fails like mktime's own failure.
    if (instant == static_cast<std::time_t>(-1) ||
        instant < std::numeric_limits<std::int32_t>::min() ||
        instant > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return static_cast<std::int32_t>(instant);
}

std::int32_t LocalMidnight(int year, int month, int day, std::int32_t now) noexcept {
    std::tm calendar{};
    if (const auto present = LocalCalendarTime(now)) calendar = *present;
    calendar.tm_sec = 0;
    calendar.tm_min = 0;
    calendar.tm_hour = 0;
    const long long yearsSince1900 = static_cast<long long>(year) - 1900;
    if (yearsSince1900 < std::numeric_limits<int>::min()) return -1;
    calendar.tm_mday = day;
    calendar.tm_mon = month - 1;
    calendar.tm_year = static_cast<int>(yearsSince1900);
    // tm_isdst stays that of the present moment, so every date is converted alike.
    return MakeInstant(calendar);
}

std::optional<std::int32_t> DayAfterInstant(std::chrono::year_month_day date,
                                            std::int32_t now) noexcept {
    if (!date.ok()) return std::nullopt;
    const std::int32_t midnight = LocalMidnight(
        static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), now);
    if (midnight == -1 || midnight > std::numeric_limits<std::int32_t>::max() - SecondsPerDay) {
        return std::nullopt;
    }
    return midnight + SecondsPerDay;
}

}  // namespace vistrel::test::reference
