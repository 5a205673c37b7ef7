#include "tools/calculation.h"

#include "engine/interest.h"
#include "engine/local_time.h"
#include "tools/calendar_date.h"

namespace vistrel::tools {
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

}  // namespace

Calculation Calculate(const RateTable& table, const std::vector<RowReading>& readings,
                      const std::chrono::year_month_day& due,
                      const std::chrono::year_month_day& payment, std::int32_t dueInstant,
                      std::int32_t paymentInstant, double amount) {
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
        const RowReading* reading = term.record < readings.size() ? &readings[term.record] : nullptr;
        calculation.shares.push_back(ShareOf(table.at(term.record), reading, term, payment));
        calculation.days += term.days;
        calculation.interest += term.interest;
    }
    return calculation;
}

}  // namespace vistrel::tools
