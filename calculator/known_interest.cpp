#include "calculator/known_interest.h"

#include <vector>

#include "engine/interest.h"

namespace vistrel {

KnownInterest InterestIfRatesKnown(const RateTable& table, std::int32_t dueInstant,
                                   std::int32_t paymentInstant, double amount) {
    const std::vector<InterestTerm> terms =
        InterestTerms(table, dueInstant, paymentInstant, amount);
    if (terms.empty()) return {KnownInterest::Rates::NoneForDueDate};
    if (!UncoveredDaysOfDelay(terms, dueInstant, paymentInstant).empty()) {
        return {KnownInterest::Rates::MissingForSomeDays};
    }
    // Added in table order, as ComputeInterest adds them.
    double sum = 0.0;
    for (const InterestTerm& term : terms) sum += term.interest;
    return {KnownInterest::Rates::Known, sum};
}

}  // namespace vistrel
