// Statutory late-payment interest over the rate table, period by period.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/rate_table.h"

namespace vistrel {

// One row's share of the interest.
struct InterestTerm {
    std::size_t record = 0;  // index into the table
    std::int32_t from = 0;   // the instants the days are counted between: a period that runs
    std::int32_t to = 0;     // on past its end to the payment ends at the payment instant
    std::int32_t days = 0;
    double rate = 0.0;
    RateKind kind = RateKind::None;
    double interest = 0.0;
};

// The rows that contribute to the interest, in table order (newest period first). Empty when no
// usable row holds the due instant: then there is no interest at all.
std::vector<InterestTerm> InterestTerms(const RateTable& table, std::int32_t dueInstant,
                                        std::int32_t paymentInstant, double amount);

// Interest on `amount` for the days from the due instant to the payment instant, each day at the
// rate of the period that holds it: the sum of InterestTerms, added in table order. Both instants
// are local midnight after the entered day. 0.0 when no usable period holds the due instant.
double ComputeInterest(const RateTable& table, std::int32_t dueInstant, std::int32_t paymentInstant,
                       double amount);

// Days of the delay that no period of the walk covers: from the instant that starts the first
// such day (local midnight, as the table's instants) to the one that starts the next covered
// day, or the payment instant.
struct UncoveredDays {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

// The stretches of the delay, from the due instant to the payment instant, that the `terms` of
// InterestTerms leave out (a row that could not be read, a gap between periods), newest first;
// a part of a day is no day. Empty when the terms cover the delay end to end. With no terms at
// all, the whole delay is one stretch.
std::vector<UncoveredDays> UncoveredDaysOfDelay(const std::vector<InterestTerm>& terms,
                                                std::int32_t dueInstant,
                                                std::int32_t paymentInstant);

}  // namespace vistrel
