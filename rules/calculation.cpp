#include "rules/calculation.h"

#include <algorithm>

#include "engine/interest.h"
#include "engine/local_time.h"
#include "rules/calendar_date.h"
#include "rules/interest_threshold.h"
#include "rules/tax_rounding.h"

namespace vistrel::rules {
namespace {

// The day before the one that starts at the midnight `instant`.
std::optional<std::chrono::year_month_day> DayBefore(std::int32_t instant) {
    const auto date = DateOfMidnight(instant);
    if (!date) return std::nullopt;
    return std::chrono::year_month_day{std::chrono::sys_days{*date} - std::chrono::days{1}};
}

}  // namespace

Calculation Calculate(const RateTable& table, const std::chrono::year_month_day& due,
                      const std::chrono::year_month_day& payment, std::int32_t dueInstant,
                      std::int32_t paymentInstant, double amount, const RateFraction& fraction) {
    Calculation calculation;
    calculation.regime.fraction = fraction;
    calculation.due = due;
    calculation.payment = payment;
    calculation.amount = amount;
    // Instants far apart overflow a 32-bit difference.
    calculation.elapsedDays =
        static_cast<std::int32_t>((std::int64_t{paymentInstant} - dueInstant) / SecondsPerDay);
    const RateOfPage rateOf =
        fraction.IsWhole() ? RateOfPage{} : [&fraction](double rate) { return fraction.Of(rate); };
    const DelayInterest delay =
        InterestOverDelay(table, dueInstant, paymentInstant, amount, rateOf);
    calculation.interest = delay.sum;
    // The terms come newest first (instants count from the midnight that starts the first day
    // of delay to the one after the last); the report lists them oldest first.
    for (auto term = delay.terms.rbegin(); term != delay.terms.rend(); ++term) {
        PeriodShare share;
        share.first = DateOfMidnight(term->from);
        share.last = DayBefore(term->to);
        share.kind = term->kind;
        share.pageRate = table.at(term->record).rate;
        share.rate = term->rate;
        share.days = term->days;
        share.interest = term->interest;
        calculation.shares.push_back(share);
        calculation.days += term->days;
    }
    calculation.uncovered = delay.uncovered;
    return calculation;
}

bool IsNotCharged(const Calculation& calculation) {
    return calculation.threshold && IsWithinThreshold(calculation.interest, *calculation.threshold);
}

double ChargedInterest(const Calculation& calculation) {
    return IsNotCharged(calculation) ? 0.0 : RoundToWholeZloty(calculation.interest);
}

}  // namespace vistrel::rules
