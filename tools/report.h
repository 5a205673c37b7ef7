// The calculator's output: a Polish report for people and one line for programs.
#pragma once

#include <string>

#include "rules/calculation.h"
#include "tools/polish_number.h"

namespace vistrel::tools {

// The interest as the worksheet cell receives it: "%.1f" with a point.
std::string FormatWorksheetInterest(double interest);

// The rate as people read it: "16,50% rocznie", and for the reduced or increased rate
// "4,00% rocznie (50% z 8,00%)".
std::string FormatRate(const rules::PeriodShare& share);

// Dates, amount, one line per contributing period, the interest and its rounded value, with the
// statutory notes (a moved due date, the rate's kind, interest not charged), in UTF-8.
std::string FormatReport(const rules::Calculation& calculation);

// "odsetki=45.2 zaokraglone=45 dni=10" and a line end; when the interest does not exceed the
// threshold below which it is not charged, "zaokraglone=0" and " prog=8.70" before the line end.
std::string FormatMachineLine(const rules::Calculation& calculation);

}  // namespace vistrel::tools
