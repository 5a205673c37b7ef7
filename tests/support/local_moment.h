// Local wall-clock moments for the tests, worked out with the zone's own daylight-saving rule
// (independently of the engine).
#pragma once

#include <cstdint>
#include <ctime>

namespace vistrel::test {

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
