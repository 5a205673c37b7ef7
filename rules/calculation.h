// One calculation of the interest over a rate table, with each contributing period's share.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/interest.h"
#include "engine/rate_table.h"
#include "rules/rate_fraction.h"
#include "rules/rate_regime.h"

namespace vistrel::rules {

struct PeriodShare {
    // The first and the last day of delay this period counts.
    std::optional<std::chrono::year_month_day> first;
    std::optional<std::chrono::year_month_day> last;
    RateKind kind = RateKind::None;
    double pageRate = 0.0;  // the basic rate, as the page gives it
    double rate = 0.0;      // the rate the days are taken at (the fraction of `pageRate`)
    std::int32_t days = 0;
    double interest = 0.0;  // exact, not rounded
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
    std::vector<PeriodShare> shares;  // oldest period first
    std::int32_t days = 0;            // the days the shares count
    std::int32_t elapsedDays = 0;     // the days from the due date to the payment date
    // The shares' exact sum, added newest period first from 0.0 as the engine adds it.
    double interest = 0.0;
    std::vector<UncoveredDays> uncovered;  // days of the delay that no period covers, newest first
    RateRegime regime;  // the fraction of the basic rate every day is taken at, and why
    std::string note;   // how the figure came about where the entry alone does not say: the
                        // regime chosen, a payment before the due date
    std::optional<DueDateShift> dueShift;  // `due` is then the working day after it
    std::optional<double> threshold;       // in force on the payment date, zł
    std::optional<std::chrono::year_month_day> thresholdKnownFrom;  // when none is known then
};

// Interest of at most the threshold in force on the payment date is not charged.
bool IsNotCharged(const Calculation& calculation);

// What is charged: the exact interest rounded once to whole złoty (art. 63 § 1), or 0 when it
// is not charged.
double ChargedInterest(const Calculation& calculation);

// The instants are the dates' DayAfterInstant, the due one not after the payment one. Every day of
// the delay is taken at `fraction` of the basic rate in force that day.
Calculation Calculate(const RateTable& table, const std::chrono::year_month_day& due,
                      const std::chrono::year_month_day& payment, std::int32_t dueInstant,
                      std::int32_t paymentInstant, double amount,
                      const RateFraction& fraction = {});

}  // namespace vistrel::rules
