// Statutory late-payment interest over the rate table, period by period.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Days of the delay that no period of the walk covers: from the instant that starts the first
// such day (local midnight, as the table's instants) to the one that starts the next covered
// day, or the payment instant.
struct UncoveredDays {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

// The rate a day is taken at, from the rate the page gives its period; the page's own rate when
// empty (a fraction of it for a reduced or an increased rate).
using RateOfPage = std::function<double(double pageRate)>;

// The interest on `amount` over one delay, from the due instant to the payment instant (both
// local midnight after the entered day), each day at the rate of the period that holds it.
struct DelayInterest {
    // The rows that contribute, in table order (newest period first). Empty when no usable row
    // holds the due instant: then there is no interest at all.
    std::vector<InterestTerm> terms;
    // The terms' interest, added in table order from 0.0 and never rounded.
    double sum = 0.0;
    // The stretches of the delay the terms leave out (a row that could not be read, a gap
    // between periods), newest first; a part of a day is no day. With no terms at all, the
    // whole delay is one stretch.
    std::vector<UncoveredDays> uncovered;
};

DelayInterest InterestOverDelay(const RateTable& table, std::int32_t dueInstant,
                                std::int32_t paymentInstant, double amount,
                                const RateOfPage& rateOf = {});

// InterestOverDelay's sum alone: 0.0 when no usable period holds the due instant.
double ComputeInterest(const RateTable& table, std::int32_t dueInstant, std::int32_t paymentInstant,
                       double amount);

}  // namespace vistrel
