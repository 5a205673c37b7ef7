// The interest walk as it stood before its speed-up, kept unchanged to compare against.
#include "tests/engine/reference_interest.h"

#include "tests/engine/reference_local_time.h"

namespace vistrel::test::reference {
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
                  double amount) {
    const std::int32_t days = DaysBetween(from, to);
    const double factor = period.kind == RateKind::Annual ? AnnualFactor : DailyFactor;
    return {
        record, from, to, days, period.rate, period.kind, ((days * period.rate) * amount) * factor};
}

}  // namespace

std::vector<InterestTerm> InterestTerms(const RateTable& table, std::int32_t dueInstant,
                                        std::int32_t paymentInstant, double amount) {
    std::vector<InterestTerm> terms;
    bool paymentReached = false;
    bool newestRow = true;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const RatePeriod& period = table[i];
        if (!IsUsable(period.kind)) continue;

        // The newest rate stays in force until a newer one is published. A record whose dates
        // were never read (cleared, start = end) is no period and can't be the newest one.
        std::int32_t end = period.end;
        if (newestRow && period.start != period.end) {
            if (paymentInstant > end) end = paymentInstant;
            newestRow = false;
        }
        // No time at all: dates never read, or a period announced to begin after the payment.
        if (period.start >= end) continue;

        const bool holdsPayment = period.start <= paymentInstant && paymentInstant <= end;
        const bool holdsDue = period.start <= dueInstant && dueInstant <= end;
        if (holdsPayment && holdsDue) {
            terms.push_back(Term(i, period, dueInstant, paymentInstant, amount));
            return terms;
        }
        if (holdsPayment) {
            terms.push_back(Term(i, period, period.start, paymentInstant, amount));
            paymentReached = true;
            continue;
        }
        if (holdsDue) {
            terms.push_back(Term(i, period, dueInstant, end, amount));
            return terms;
        }
        // A payment in a gap above this period: the period still lies wholly before the payment.
        if (end < paymentInstant) paymentReached = true;
        if (paymentReached) terms.push_back(Term(i, period, period.start, end, amount));
    }
    return {};  // no period holds the due instant
}

double ComputeInterest(const RateTable& table, std::int32_t dueInstant, std::int32_t paymentInstant,
                       double amount) {
    double sum = 0.0;
    for (const InterestTerm& term : InterestTerms(table, dueInstant, paymentInstant, amount)) {
        sum += term.interest;
    }
    return sum;
}

}  // namespace vistrel::test::reference
