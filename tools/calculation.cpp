#include "tools/calculation.h"

#include "engine/interest.h"
#include "engine/local_time.h"

namespace vistrel::tools {
namespace {

// A closed period ends at the midnight after its last day, a whole number of days after its
// start; an open one at the moment the page was read.
bool IsClosed(const RatePeriod& period) {
    const std::int64_t length = std::int64_t{period.end} - period.start;
    return length > 0 && length % SecondsPerDay == 0;
}

PeriodShare ShareOf(const RatePeriod& period, const InterestTerm& term) {
    PeriodShare share;
    share.first = DateOfMidnight(period.start);
    if (IsClosed(period)) {
        share.last = DateOfMidnight(period.end - SecondsPerDay);
    }
    share.kind = term.kind;
    share.rate = term.rate;
    share.days = term.days;
    share.interest = term.interest;
    return share;
}

}  // namespace

Calculation Calculate(const RateTable& table, const CalendarDate& due, const CalendarDate& payment,
                      std::int32_t dueInstant, std::int32_t paymentInstant, double amount) {
    Calculation calculation;
    calculation.due = due;
    calculation.payment = payment;
    calculation.amount = amount;
    // Instants far apart overflow a 32-bit difference.
    calculation.elapsedDays =
        static_cast<std::int32_t>((std::int64_t{paymentInstant} - dueInstant) / SecondsPerDay);
    // One walk of the table: the interest is the shares' sum, added in table order from 0.0
    // exactly as ComputeInterest adds them.
    for (const InterestTerm& term : InterestTerms(table, dueInstant, paymentInstant, amount)) {
        calculation.shares.push_back(ShareOf(table.at(term.record), term));
        calculation.days += term.days;
        calculation.interest += term.interest;
    }
    return calculation;
}

}  // namespace vistrel::tools
