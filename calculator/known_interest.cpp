#include "calculator/known_interest.h"

#include "engine/interest.h"

namespace vistrel {

KnownInterest InterestIfRatesKnown(const RateTable& table, std::int32_t dueInstant,
                                   std::int32_t paymentInstant, double amount) {
    const DelayInterest delay = InterestOverDelay(table, dueInstant, paymentInstant, amount);
    if (delay.terms.empty()) return {KnownInterest::Rates::NoneForDueDate};
    if (!delay.uncovered.empty()) return {KnownInterest::Rates::MissingForSomeDays};
    return {KnownInterest::Rates::Known, delay.sum};
}

}  // namespace vistrel
