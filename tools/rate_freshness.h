// Whether the rates known may be out of date for a payment: the rate changes when the central
// bank's lombard rate does, and a table older than a few months may miss a change.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "engine/rate_table.h"

namespace vistrel::tools {

// Beyond this many days after the newest period began, a newer rate may have been announced.
inline constexpr int StaleRateDays = 120;

// The first day of the newest period with a rate that a page's table lists (a period that begins
// only at the moment of reading counts for nothing yet); nullopt for a table without one.
std::optional<std::chrono::year_month_day> NewestPeriodStart(const RateTable& table);

// The payment lies more than StaleRateDays days after `newest`.
bool MayBeStale(const std::chrono::year_month_day& payment,
                const std::optional<std::chrono::year_month_day>& newest);

// "Uwaga: <what> ponad 120 dni po <newest>, ..." and a line end.
std::string StaleWarning(const std::string& what, const std::chrono::year_month_day& newest);

}  // namespace vistrel::tools
