#include "rules/calendar_date.h"

#include <cstdio>
#include <ctime>
#include <limits>
#include <memory>
#include <unordered_map>

#include "base/whole_text_number.h"
#include "engine/local_time.h"

namespace vistrel::rules {
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

std::optional<std::int32_t> ParseSeconds(std::string_view text) {
    const auto seconds = WholeTextNumber<std::int64_t>(text);
    if (!seconds || *seconds < 0 || *seconds > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*seconds);
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
    calendar.tm_year = static_cast<int>(date->year()) - 1900;
    calendar.tm_mon = static_cast<int>(static_cast<unsigned>(date->month())) - 1;
    calendar.tm_mday = static_cast<int>(static_cast<unsigned>(date->day()));
    calendar.tm_hour = *hour;
    calendar.tm_min = *minute;
    calendar.tm_sec = *second;
    calendar.tm_isdst = -1;  // a real moment: the zone's rules decide
    const std::int32_t instant = MakeInstant(calendar);
    // Before 1970 there are no instants, as a negative count of seconds is refused too.
    if (instant < 0) {
        return std::nullopt;
    }
    return instant;
}

}  // namespace

std::optional<std::chrono::year_month_day> ParseCalendarDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto year = ReadDigits(text, 0, 4);
    const auto month = ReadDigits(text, 5, 2);
    const auto day = ReadDigits(text, 8, 2);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

bool IsAcceptedDate(const std::chrono::year_month_day& date) {
    return date >= EarliestEntryDate && date <= LatestEntryDate;
}

std::string FormatCalendarDate(const std::chrono::year_month_day& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::optional<std::int32_t> ParseMoment(std::string_view text) {
    if (text.find('T') != std::string_view::npos) {
        return ParseLocalMoment(text);
    }
    return ParseSeconds(text);
}

struct LocalDateMemo::Tables {
    std::unordered_map<std::int32_t, std::optional<std::chrono::year_month_day>> dates;
    std::unordered_map<std::int64_t, std::optional<std::int32_t>> instants;  // by day and "now"
};

namespace {

LocalDateMemo::Tables* openMemo = nullptr;

std::optional<std::chrono::year_month_day> ConvertDateOfMidnight(std::int32_t instant);

}  // namespace

LocalDateMemo::LocalDateMemo() : tables_(new Tables) { openMemo = tables_; }

LocalDateMemo::~LocalDateMemo() {
    openMemo = nullptr;
    delete tables_;
}

std::optional<std::chrono::year_month_day> DateOfMidnight(std::int32_t instant) {
    if (openMemo == nullptr) return ConvertDateOfMidnight(instant);
    const auto found = openMemo->dates.find(instant);
    if (found != openMemo->dates.end()) return found->second;
    return openMemo->dates.emplace(instant, ConvertDateOfMidnight(instant)).first->second;
}

std::optional<std::int32_t> InstantOfDate(std::chrono::year_month_day date, std::int32_t now) {
    if (openMemo == nullptr || !date.ok()) return DayAfterInstant(date, now);
    const std::int64_t key =
        (std::int64_t{std::chrono::sys_days{date}.time_since_epoch().count()} << 32) ^
        static_cast<std::uint32_t>(now);
    const auto found = openMemo->instants.find(key);
    if (found != openMemo->instants.end()) return found->second;
    return openMemo->instants.emplace(key, DayAfterInstant(date, now)).first->second;
}

namespace {

std::optional<std::chrono::year_month_day> ConvertDateOfMidnight(std::int32_t instant) {
    if (instant > std::numeric_limits<std::int32_t>::max() - SecondsPerDay / 2) {
        return std::nullopt;
    }
    const auto calendar = LocalCalendarTime(instant + SecondsPerDay / 2);
    if (!calendar) {
        return std::nullopt;
    }
    return std::chrono::year_month_day{
        std::chrono::year{calendar->tm_year + 1900},
        std::chrono::month{static_cast<unsigned>(calendar->tm_mon + 1)},
        std::chrono::day{static_cast<unsigned>(calendar->tm_mday)}};
}

}  // namespace

}  // namespace vistrel::rules
