#include "engine/interest.h"

#include "engine/local_time.h"

namespace vistrel {
namespace {

// The percent per year is spread over a 365-day year, leap years included.
constexpr double AnnualFactor = 0.01 / 365;
constexpr double DailyFactor = 0.01;

bool IsUsable(RateKind kind) {
    return kind == RateKind::Annual || kind == RateKind::DailyStar ||
           kind == RateKind::DailyTwoStars;
}

// Whole days from `earlier` to `later`; a part of a day is dropped.
std::int32_t DaysBetween(std::int32_t earlier, std::int32_t later) {
    return static_cast<std::int32_t>((static_cast<long long>(later) - earlier) / SecondsPerDay);
}

InterestTerm Term(std::size_t record, const RatePeriod& period, std::int32_t from, std::int32_t to,
                  double amount, const RateOfPage& rateOf) {
    const std::int32_t days = DaysBetween(from, to);
    const double factor = period.kind == RateKind::Annual ? AnnualFactor : DailyFactor;
    const double rate = rateOf ? rateOf(period.rate) : period.rate;
    return {record, from, to, days, rate, period.kind, ((days * rate) * amount) * factor};
}

// Walks the table newest period first and hands each contributing row's term to `take`, in
// table order. Answers whether a usable row held the due instant; without one there is no
// interest at all, whatever was handed on.
template <typename TakeTerm>
bool WalkTerms(const RateTable& table, std::int32_t dueInstant, std::int32_t paymentInstant,
               double amount, const RateOfPage& rateOf, TakeTerm&& take) {
    bool paymentReached = false;
    bool newestRow = true;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const RatePeriod& period = table[i];
        // The newest rate stays in force until a newer one is published. A record whose dates
        // were never read (cleared, start = end) is no period and can't be the newest one; a
        // newest row whose rate could not be read is, and no older rate stands in for it.
        const bool stretched = newestRow && period.start != period.end;
        if (stretched) newestRow = false;
        if (!IsUsable(period.kind)) continue;

        std::int32_t end = period.end;
        if (stretched && paymentInstant > end) end = paymentInstant;
        // No time at all: dates never read, or a period announced to begin after the payment.
        if (period.start >= end) continue;

        const bool holdsPayment = period.start <= paymentInstant && paymentInstant <= end;
        const bool holdsDue = period.start <= dueInstant && dueInstant <= end;
        if (holdsPayment && holdsDue) {
            take(Term(i, period, dueInstant, paymentInstant, amount, rateOf));
            return true;
        }
        if (holdsPayment) {
            take(Term(i, period, period.start, paymentInstant, amount, rateOf));
            paymentReached = true;
            continue;
        }
        if (holdsDue) {
            take(Term(i, period, dueInstant, end, amount, rateOf));
            return true;
        }
        // A payment in a gap above this period: the period still lies wholly before the payment.
        if (end < paymentInstant) paymentReached = true;
        if (paymentReached) take(Term(i, period, period.start, end, amount, rateOf));
    }
    return false;  // no period holds the due instant
}

// The stretches of the delay, from the due instant to the payment instant, that `terms` leave
// out, newest first.
std::vector<UncoveredDays> UncoveredDaysOfDelay(const std::vector<InterestTerm>& terms,
                                                std::int32_t dueInstant,
                                                std::int32_t paymentInstant) {
    // From the payment back to the due instant: each term, newest first, covers the days from its
    // `from` to its `to`; whatever lies between a term's `to` and the older edge of the days
    // covered so far is uncovered.
    std::vector<UncoveredDays> uncovered;
    std::int32_t coveredFrom = paymentInstant;
    const auto keepGap = [&](std::int32_t from, std::int32_t to) {
        if (DaysBetween(from, to) >= 1) uncovered.push_back({from, to});
    };
    for (const InterestTerm& term : terms) {
        if (term.to < coveredFrom) keepGap(term.to, coveredFrom);
        if (term.from < coveredFrom) coveredFrom = term.from;
    }
    if (dueInstant < coveredFrom) keepGap(dueInstant, coveredFrom);
    return uncovered;
}

}  // namespace

DelayInterest InterestOverDelay(const RateTable& table, std::int32_t dueInstant,
                                std::int32_t paymentInstant, double amount,
                                const RateOfPage& rateOf) {
    DelayInterest delay;
    const auto keep = [&delay](const InterestTerm& term) { delay.terms.push_back(term); };
    if (!WalkTerms(table, dueInstant, paymentInstant, amount, rateOf, keep)) delay.terms.clear();
    // Added in table order, the one way every caller's figure is formed.
    for (const InterestTerm& term : delay.terms) delay.sum += term.interest;
    delay.uncovered = UncoveredDaysOfDelay(delay.terms, dueInstant, paymentInstant);
    return delay;
}

double ComputeInterest(const RateTable& table, std::int32_t dueInstant, std::int32_t paymentInstant,
                       double amount) {
    return InterestOverDelay(table, dueInstant, paymentInstant, amount).sum;
}

}  // namespace vistrel
