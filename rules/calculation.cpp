#include "rules/calculation.h"

#include "engine/clock.h"
#include "engine/interest.h"
#include "engine/local_time.h"
#include "rules/calendar_date.h"

namespace vistrel::rules {
namespace {

// The day before the midnight `instant`: the last day of a period that ends there.
std::optional<std::chrono::year_month_day> DayBefore(std::int32_t instant) {
    const auto date = DateOfMidnight(instant);
    if (!date) {
        return std::nullopt;
    }
    return std::chrono::year_month_day{std::chrono::sys_days{*date} - std::chrono::days{1}};
}

PeriodShare ShareOf(const RatePeriod& period, const RowReading* reading, const InterestTerm& term,
                    const std::chrono::year_month_day& payment) {
    PeriodShare share;
    share.first = DateOfMidnight(period.start);
    // Open or closed is what the page said, not what the instants look like: an open period read
    // at midnight ends a whole number of days after its start too.
    const bool open = reading != nullptr && reading->IsOpen();
    if (!open) {
        share.last = term.to > period.end ? std::optional(payment) : DayBefore(period.end);
    }
    share.kind = term.kind;
    share.rate = term.rate;
    share.days = term.days;
    share.interest = term.interest;
    return share;
}

// The midnight that starts `date`, as the table's instants are built ("now"'s daylight-saving
// flag).
std::optional<std::int32_t> MidnightStarting(std::chrono::year_month_day date) {
    return InstantOfDate(
        std::chrono::year_month_day{std::chrono::sys_days{date} - std::chrono::days{1}},
        CurrentTime());
}

constexpr double AnnualFactor = 0.01 / 365;
constexpr double DailyFactor = 0.01;

// One term's days split where the kind's fraction changes, each part at its own fraction; the
// term's own share when the fraction stays the same throughout.
std::vector<PeriodShare> SharesAtKind(const PeriodShare& whole, const InterestTerm& term,
                                      double amount, InterestRateKind kind,
                                      const RateKindSchedule& schedule) {
    std::vector<std::int32_t> cuts;  // midnights inside the term where the fraction changes
    for (const FractionChange& change : schedule.Changes(kind)) {
        const auto cut = MidnightStarting(change.start);
        if (cut && *cut > term.from && *cut < term.to) cuts.push_back(*cut);
    }
    cuts.push_back(term.to);
    std::vector<PeriodShare> shares;
    std::int32_t from = term.from;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        const std::int32_t to = cuts[i];
        PeriodShare share = whole;
        const auto firstDay = DateOfMidnight(from);
        share.percent = firstDay ? schedule.PercentOn(kind, *firstDay) : 100.0;
        share.rate = term.rate * share.percent / 100.0;
        share.days = static_cast<std::int32_t>((std::int64_t{to} - from) / SecondsPerDay);
        const double factor = term.kind == RateKind::Annual ? AnnualFactor : DailyFactor;
        share.interest = ((share.days * share.rate) * amount) * factor;
        // A part that a cut begins or ends is shown with the days the cut gives it.
        if (i > 0) share.first = firstDay;
        if (i + 1 < cuts.size()) share.last = DateOfMidnight(to - SecondsPerDay);
        shares.push_back(share);
        from = to;
    }
    return shares;
}

}  // namespace

Calculation Calculate(const RateTable& table, const std::vector<RowReading>& readings,
                      const std::chrono::year_month_day& due,
                      const std::chrono::year_month_day& payment, std::int32_t dueInstant,
                      std::int32_t paymentInstant, double amount, InterestRateKind rateKind,
                      const RateKindSchedule& schedule) {
    Calculation calculation;
    calculation.rateKind = rateKind;
    calculation.due = due;
    calculation.payment = payment;
    calculation.amount = amount;
    // Instants far apart overflow a 32-bit difference.
    calculation.elapsedDays =
        static_cast<std::int32_t>((std::int64_t{paymentInstant} - dueInstant) / SecondsPerDay);
    // One walk of the table: the interest is the shares' sum, added in table order from 0.0
    // exactly as ComputeInterest adds them.
    const std::vector<InterestTerm> terms =
        InterestTerms(table, dueInstant, paymentInstant, amount);
    for (const InterestTerm& term : terms) {
        const RowReading* reading =
            term.record < readings.size() ? &readings[term.record] : nullptr;
        const PeriodShare share = ShareOf(table.at(term.record), reading, term, payment);
        if (rateKind == InterestRateKind::Basic) {
            calculation.shares.push_back(share);
            calculation.interest += share.interest;
        } else {
            for (const PeriodShare& part : SharesAtKind(share, term, amount, rateKind, schedule)) {
                calculation.shares.push_back(part);
                calculation.interest += part.interest;
            }
        }
        calculation.days += term.days;
    }
    calculation.uncovered = UncoveredDaysOfDelay(terms, dueInstant, paymentInstant);
    return calculation;
}

}  // namespace vistrel::rules
