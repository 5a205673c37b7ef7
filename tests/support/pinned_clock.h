// Pins the engine's "now" for the lifetime of the object and restores the previous clock after.
#pragma once

#include <cstdint>
#include <ctime>

#include "engine/clock.h"

namespace vistrel::test {

class PinnedClock {
public:
    explicit PinnedClock(std::int32_t now) {
        pinnedNow = now;
        previous_ = SetClock(&Now);
    }
    ~PinnedClock() { SetClock(previous_); }
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

private:
    static std::int32_t Now() { return pinnedNow; }
    static inline std::int32_t pinnedNow = 0;
    ClockFunction previous_ = nullptr;
};

// A local wall-clock hour with the zone's own daylight-saving rule (independent of the engine).
inline std::int32_t LocalMoment(int year, int month, int day, int hour) {
    std::tm calendar{};
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    calendar.tm_hour = hour;
    calendar.tm_isdst = -1;
    return static_cast<std::int32_t>(std::mktime(&calendar));
}

}  // namespace vistrel::test
