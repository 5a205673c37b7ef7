// Many debts at once: every row of a list worked out as the single form works one out, the
// figures added to the row, a row that cannot be read named with its line. The list is read,
// computed and written a row at a time, so that its length costs time and never memory, and the
// result file is replaced only by a complete result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rules/case_calculation.h"
#include "tools/calculator_options.h"
#include "tools/cli_output.h"

namespace vistrel::tools {

// Above this many rows the run reports its progress.
inline constexpr std::size_t ProgressRowStep = 10'000;

// The whole run of --lista. The rows take --stawka's kind unless their fourth field names one,
// and --bez-przesuniecia. The result goes to `output` (UTF-8; without one, to CliOutput::out),
// or with --wynik to that file, in the list's own encoding, separator and line ends; rows that
// cannot be read are named through `progress` as they are met (without one, in CliOutput::err),
// and a summary line ends standard error.
CliOutput RunDebtList(const rules::RateSource& rates, const CalculatorOptions& options,
                      std::int32_t now, const ProgressSink& progress, const OutputSink& output);

}  // namespace vistrel::tools
