// What the rows of a list of debts hold: a header that names the columns, dates as spreadsheets
// write them.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::tools {

// The list's columns in their order: due date, payment date (or balance day), amount, then
// optionally the rate's kind, the payments ("DATA:KWOTA|DATA:KWOTA") and the day the corrected
// return was filed.
inline constexpr std::size_t ListColumns = 6;

// A row that names the columns: no field holds a digit, and one at least holds a word of a
// column's name ("termin", "należność", "data", "zapłata", "kwota", "stawka", "wpłaty",
// "korekta"...), in any case, with or without Polish letters. A row that merely cannot be read
// is no header.
bool IsHeaderRecord(const std::vector<std::string>& fields);

// A date as spreadsheets write it: "YYYY-MM-DD" or "DD.MM.YYYY" (also "D.M.YYYY").
std::optional<std::chrono::year_month_day> ParseListDate(std::string_view text);

}  // namespace vistrel::tools
