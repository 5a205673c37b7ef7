#include "tools/rate_freshness.h"

#include <algorithm>

#include "rules/calendar_date.h"

namespace vistrel::tools {

using namespace rules;

std::optional<std::chrono::year_month_day> NewestPeriodStart(const RateTable& table) {
    const auto newest = std::find_if(table.begin(), table.end(), [](const RatePeriod& period) {
        return period.kind != RateKind::None && period.start != period.end;
    });
    return newest == table.end() ? std::nullopt : DateOfMidnight(newest->start);
}

bool MayBeStale(const std::chrono::year_month_day& payment,
                const std::optional<std::chrono::year_month_day>& newest) {
    return newest && std::chrono::sys_days{payment} >
                         std::chrono::sys_days{*newest} + std::chrono::days{StaleRateDays};
}

std::string StaleWarning(const std::string& what, const std::chrono::year_month_day& newest) {
    return "Uwaga: " + what + " ponad " + std::to_string(StaleRateDays) + " dni po " +
           FormatCalendarDate(newest) +
           ", początku najnowszego znanego okresu stóp; mogła już zostać ogłoszona nowsza stopa "
           "(aktualną stronę ze stopami czyta opcja --strona=PLIK).\n";
}

}  // namespace vistrel::tools
