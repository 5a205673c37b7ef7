// The rate table of the run in progress: the verb-1 driver sets it for the run, the calculator
// dialog's OK computes the interest over it.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/rate_table.h"

namespace vistrel {

const RateTable* CurrentRateTable() noexcept;
// Returns the table that was current before.
const RateTable* SetCurrentRateTable(const RateTable* table) noexcept;

// Makes `table` current for the lifetime of the object and restores the previous one after.
class CurrentRateTableScope {
public:
    explicit CurrentRateTableScope(const RateTable& table) noexcept
        : previous_(SetCurrentRateTable(&table)) {}
    ~CurrentRateTableScope() { SetCurrentRateTable(previous_); }
    CurrentRateTableScope(const CurrentRateTableScope&) = delete;
    CurrentRateTableScope& operator=(const CurrentRateTableScope&) = delete;

private:
    const RateTable* previous_;
};

// ComputeInterest over the current table; 0.0 when no run has set one, as for a table without
// any usable row.
double ComputeCurrentInterest(std::int32_t dueInstant, std::int32_t paymentInstant, double amount);

// The interest over the current table when its periods cover the whole delay: no rate known
// for the debt, or for some of its days, is not the same as no interest.
struct CurrentInterest {
    enum class Rates { Known, NoneForDueDate, MissingForSomeDays };
    Rates rates = Rates::Known;
    double interest = 0.0;  // when the rates are known
};

// Without a table set by a run: 0.0, as for a table without any usable row.
CurrentInterest CurrentInterestIfRatesKnown(std::int32_t dueInstant, std::int32_t paymentInstant,
                                            double amount);

}  // namespace vistrel
