// One row of a list of debts: its fields read as the list's columns (ListColumns), the debt
// worked out by the same calculation as a single debt on the command line, and the figures the
// row gets: days, interest, interest rounded to whole złoty, remarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/case_calculation.h"
#include "tools/calculator_options.h"

namespace vistrel::tools {

struct DebtRowOutcome {
    bool computed = false;  // the figures stand in `added`
    std::string error;      // why the row has no figures, or which payments were refused
    bool paidLate = false;  // paid long after the newest period began (MayBeStale)
};

// `added`: the row's figures, each a field for a list separated by `separator` (a leading
// separator not included); for a row without figures, empty fields and "błąd: ...".
DebtRowOutcome ComputeDebtRow(const rules::RateSource& rates,
                              const std::vector<std::string>& fields,
                              const CalculatorOptions& options, std::int32_t now, char separator,
                              std::string& added);

// The fields a row without figures gets for `error`.
std::string FieldsOfRowError(const std::string& error, char separator);

}  // namespace vistrel::tools
