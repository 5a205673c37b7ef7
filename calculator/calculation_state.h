// What the calculator dialog hands to the verb-1 driver: the entered dates as instants, the
// amount and the interest, and whether the user confirmed. One for the whole process, all zero
// at load, overwritten by each run.
#pragma once

#include <cstdint>

namespace vistrel {

struct CalculationState {
    std::int32_t dueInstant = 0;      // local midnight after the due date
    std::int32_t paymentInstant = 0;  // local midnight after the payment date
    double interest = 0.0;
    double amount = 0.0;
    std::int32_t accepted = 0;  // 1: ended by a confirmed OK; 0: ended by Cancel
};

CalculationState& ProcessCalculationState() noexcept;

}  // namespace vistrel
