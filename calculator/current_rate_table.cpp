#include "calculator/current_rate_table.h"

#include <utility>
#include <vector>

#include "engine/interest.h"

namespace vistrel {
namespace {
const RateTable* currentTable = nullptr;
}

const RateTable* CurrentRateTable() noexcept { return currentTable; }

const RateTable* SetCurrentRateTable(const RateTable* table) noexcept {
    return std::exchange(currentTable, table);
}

double ComputeCurrentInterest(std::int32_t dueInstant, std::int32_t paymentInstant, double amount) {
    if (currentTable == nullptr) return 0.0;
    return ComputeInterest(*currentTable, dueInstant, paymentInstant, amount);
}

CurrentInterest CurrentInterestIfRatesKnown(std::int32_t dueInstant, std::int32_t paymentInstant,
                                            double amount) {
    if (currentTable == nullptr) return {};
    const std::vector<InterestTerm> terms =
        InterestTerms(*currentTable, dueInstant, paymentInstant, amount);
    if (terms.empty()) return {CurrentInterest::Rates::NoneForDueDate};
    if (!UncoveredDaysOfDelay(terms, dueInstant, paymentInstant).empty()) {
        return {CurrentInterest::Rates::MissingForSomeDays};
    }
    // Added in table order, as ComputeInterest adds them.
    double sum = 0.0;
    for (const InterestTerm& term : terms) sum += term.interest;
    return {CurrentInterest::Rates::Known, sum};
}

}  // namespace vistrel
