// What the calculator dialog hands to the verb-1 driver: the entered dates, as the pickers held
// them and as instants, the amount and the interest, and whether the user confirmed. The driver
// keeps one for the whole process, all zero at load, and hands it to each run's dialog.
#pragma once

#include <cstdint>

namespace vistrel {

// A calendar date as the user picked it; all zero while none was picked.
struct EnteredDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

struct CalculationState {
    std::int32_t dueInstant = 0;      // local midnight after the due date
    std::int32_t paymentInstant = 0;  // local midnight after the payment date
    double interest = 0.0;
    double amount = 0.0;
    std::int32_t accepted = 0;  // 1: ended by a confirmed OK; 0: ended by Cancel
    // The worksheet receives these, not the local dates of the instants, which lie a day later.
    EnteredDate dueDate{};
    EnteredDate paymentDate{};
};

CalculationState& ProcessCalculationState() noexcept;

}  // namespace vistrel
