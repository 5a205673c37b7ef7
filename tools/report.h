// The calculator's output: a Polish report for people and one line for programs.
#pragma once

#include <string>

#include "tools/calculation.h"

namespace vistrel::tools {

// `value` with `decimals` places after a point, whatever the locale ("%.*f" in the C locale).
std::string FormatFixed(double value, int decimals);

// An amount as Polish text writes it: "10 000,00 zł" (groups of three digits, a decimal comma).
std::string FormatPolishAmount(double amount);

// The interest as the worksheet cell receives it: "%.1f" with a point.
std::string FormatWorksheetInterest(double interest);

// Dates, amount, one line per contributing period, the interest and its rounded value (UTF-8).
std::string FormatReport(const Calculation& calculation);

// "odsetki=45.2 zaokraglone=45 dni=10" and a line end.
std::string FormatMachineLine(const Calculation& calculation);

}  // namespace vistrel::tools
