// One calculation of the interest over a rate table, with each contributing period's share.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/rate_table.h"
#include "tools/calendar_date.h"

namespace vistrel::tools {

struct PeriodShare {
    std::optional<CalendarDate> first;  // the period's first day
    std::optional<CalendarDate> last;   // its last day; none while the period is open
    RateKind kind = RateKind::None;
    double rate = 0.0;  // as the page writes it
    std::int32_t days = 0;
    double interest = 0.0;
};

struct Calculation {
    CalendarDate due;
    CalendarDate payment;
    double amount = 0.0;
    std::vector<PeriodShare> shares;  // newest period first, as the page lists them
    std::int32_t days = 0;            // the days the shares count
    std::int32_t elapsedDays = 0;     // the days from the due date to the payment date
    double interest = 0.0;            // as ComputeInterest gives it
};

// The instants are the calculator's (CalculatorInstant), the due one not after the payment one.
Calculation Calculate(const RateTable& table, const CalendarDate& due, const CalendarDate& payment,
                      std::int32_t dueInstant, std::int32_t paymentInstant, double amount);

}  // namespace vistrel::tools
