// One calculation of the interest over a rate table, with each contributing period's share.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/interest.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "rules/rate_kinds.h"

namespace vistrel::rules {

struct PeriodShare {
    std::optional<std::chrono::year_month_day> first;  // the period's first day
    // The last of its days counted: its last day, or the payment date for a period that runs on
    // past its end to the payment; none while the page gives the period no end.
    std::optional<std::chrono::year_month_day> last;
    RateKind kind = RateKind::None;
    double rate = 0.0;  // the rate the days are taken at: the page's, times `percent`
    std::int32_t days = 0;
    double interest = 0.0;
    double percent = 100.0;  // of the page's rate, for the reduced and the increased rate
};

// A due date on a day off work, moved to the next working day.
struct DueDateShift {
    std::chrono::year_month_day entered;
    std::string dayOff;  // the day's name: "sobota", "Boże Ciało"...
};

struct Calculation {
    std::chrono::year_month_day due;
    std::chrono::year_month_day payment;
    double amount = 0.0;
    std::vector<PeriodShare> shares;  // newest period first, as the page lists them
    std::int32_t days = 0;            // the days the shares count
    std::int32_t elapsedDays = 0;     // the days from the due date to the payment date
    double interest = 0.0;            // the shares' sum in table order, as ComputeInterest adds it
    std::vector<UncoveredDays> uncovered;  // days of the delay that no period covers, newest first
    InterestRateKind rateKind = InterestRateKind::Basic;
    std::optional<DueDateShift> dueShift;  // `due` is then the working day after it
    std::optional<double> threshold;       // in force on the payment date, zł
    std::optional<std::chrono::year_month_day> thresholdKnownFrom;  // when none is known then
};

// The instants are the dates' DayAfterInstant, the due one not after the payment one; `readings`
// are the parser's for `table`, which tell an open period from a closed one. The table is walked
// once. For the reduced or the increased rate, each period's days are split where the kind's
// fraction changes (`schedule`), and each part is taken at the fraction in force on its days.
Calculation Calculate(const RateTable& table, const std::vector<RowReading>& readings,
                      const std::chrono::year_month_day& due,
                      const std::chrono::year_month_day& payment, std::int32_t dueInstant,
                      std::int32_t paymentInstant, double amount,
                      InterestRateKind rateKind = InterestRateKind::Basic,
                      const RateKindSchedule& schedule = StatutoryRateKinds());

}  // namespace vistrel::rules
