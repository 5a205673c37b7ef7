// One debt worked out as the tax ordinance has it: the due date moved off a day off work, the
// rate's kind, the interest over the rate table and the threshold below which it is not charged.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "rules/calculation.h"
#include "rules/refusal.h"
#include "rules/rate_kinds.h"

namespace vistrel::rules {

// The rate table and what the parser made of each row, read once for any number of debts.
struct RateSource {
    RateTable table{};
    std::vector<RowReading> readings;
    // The first day of the newest period known, for the warning that a newer rate may exist.
    std::optional<std::chrono::year_month_day> newestStart;
};

struct CaseInput {
    std::chrono::year_month_day due;
    std::chrono::year_month_day payment;
    double amount = 0.0;
    InterestRateKind rateKind = InterestRateKind::Basic;
    bool shiftDueDate = true;
    std::optional<std::chrono::year_month_day> correction{};  // the corrected return filed
};

// The calculation, or a refusal with a Polish message (without "Błąd: ").
struct CaseOutcome {
    std::optional<Calculation> calculation;
    Refusal refusal = Refusal::None;
    std::string error;
};

// `now` is the moment the dates' instants take their daylight-saving flag from, as when the
// rate page was read.
CaseOutcome CalculateCase(const RateSource& rates, const CaseInput& input, std::int32_t now);

}  // namespace vistrel::rules
