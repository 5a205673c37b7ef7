#include "engine/built_in_rates.h"

#include <algorithm>

#include "engine/local_time.h"

namespace vistrel {

std::size_t FillBuiltInRateTable(RateTable& table, std::int32_t now) {
    const std::span<const PublishedRate> history = BuiltInRateHistory();
    const std::size_t count = std::min(history.size(), table.size());
    for (std::size_t i = 0; i < count; ++i) {
        // Record i is the i-th newest period; the one after it in the history ends it.
        const std::size_t index = history.size() - 1 - i;
        const PublishedRate& published = history[index];
        RatePeriod& period = table[i];
        period.kind = published.kind;
        period.rate = published.rate;
        period.start = LocalMidnight(published.year, published.month, published.day, now);
        if (index + 1 == history.size()) {
            period.end = now;
        } else {
            // The last day is the day before the next start: its midnight plus one day, as the
            // page's end date reads (mktime normalises day 0 to the month's last day).
            const PublishedRate& next = history[index + 1];
            const std::int32_t lastDay = LocalMidnight(next.year, next.month, next.day - 1, now);
            period.end = lastDay == -1 ? -1 + SecondsPerDay : lastDay + SecondsPerDay;
        }
    }
    for (std::size_t i = count; i < table.size(); ++i) table[i] = RatePeriod{};
    return count;
}

}  // namespace vistrel
