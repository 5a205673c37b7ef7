#include "engine/built_in_rates.h"

#include "engine/local_time.h"

namespace vistrel {

std::chrono::year_month_day BuiltInRatesLastChange() noexcept {
    const PublishedRate& newest = PublishedRateHistory().back();
    return std::chrono::year_month_day{std::chrono::year{newest.year},
                                       std::chrono::month{static_cast<unsigned>(newest.month)},
                                       std::chrono::day{static_cast<unsigned>(newest.day)}};
}

bool FillBuiltInRateTable(RateTable& table, std::int32_t now) {
    table = RateTable{};
    const std::span<const PublishedRate> history = PublishedRateHistory();
    std::int32_t newerStart = now;  // the newest period is open until now
    for (std::size_t i = 0; i < history.size(); ++i) {
        const PublishedRate& published = history[history.size() - 1 - i];
        const std::int32_t start =
            LocalMidnight(published.year, published.month, published.day, now);
        if (start == -1) {
            table = RateTable{};
            return false;
        }
        table[i] = RatePeriod{
            start, newerStart,
            published.unit == PublishedRateUnit::PerYear ? RateKind::Annual : RateKind::DailyStar,
            published.rate};
        newerStart = start;
    }
    return true;
}

}  // namespace vistrel
