// Many debts at once: every row of a list worked out as the single form works one out, the
// figures added to the row, a row that cannot be read named with its line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/calculator_cli.h"
#include "tools/calculator_options.h"
#include "rules/case_calculation.h"
#include "tools/debt_list.h"

namespace vistrel::tools {

// Above this many rows the run reports its progress.
inline constexpr std::size_t ProgressRowStep = 10'000;

struct DebtListResult {
    std::vector<std::string> lines;  // the list's lines with the figures added, UTF-8
    std::string errors;              // "wiersz 3: ..." lines, UTF-8
    std::size_t rows = 0;            // data rows (the header and blank lines not counted)
    std::size_t failedRows = 0;
    std::size_t rowsPaidLate = 0;  // paid long after the newest period began (MayBeStale)
};

// The rows take --stawka's kind unless their fourth field names one, and --bez-przesuniecia.
DebtListResult ComputeDebtList(const rules::RateSource& rates, const ListText& list,
                               const CalculatorOptions& options, std::int32_t now,
                               const ProgressSink& progress);

// The whole run of --lista: reads the file, computes it, writes the result to standard output
// (UTF-8) or to --wynik (in the list's own encoding).
CliOutput RunDebtList(const rules::RateSource& rates, const CalculatorOptions& options,
                      std::int32_t now, const ProgressSink& progress);

}  // namespace vistrel::tools
