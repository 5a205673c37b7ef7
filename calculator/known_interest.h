// The interest over a rate table when its periods cover the whole delay: no rate known for the
// debt, or for some of its days, is not the same as no interest.
#pragma once

#include <cstdint>

#include "engine/rate_table.h"

namespace vistrel {

struct KnownInterest {
    enum class Rates { Known, NoneForDueDate, MissingForSomeDays };
    Rates rates = Rates::Known;
    double interest = 0.0;  // when the rates are known
};

KnownInterest InterestIfRatesKnown(const RateTable& table, std::int32_t dueInstant,
                                   std::int32_t paymentInstant, double amount);

}  // namespace vistrel
