// Figures as Polish text writes them for people: a decimal comma and thousands grouped with a
// space ("1 072,60"); and the plain C-locale form that scripts read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel::tools {

// `value` with `decimals` places after a point, whatever the locale ("%.*f" in the C locale);
// "?" for a value too large to write.
std::string FormatFixed(double value, int decimals);

// "1 234 567,89" for (1234567.891, 2); "1 235" for (1234.5, 0).
std::string FormatPolishNumber(double value, int decimals);

// An amount in złoty: "10 000,00 zł".
std::string FormatPolishAmount(double amount);

// An amount in grosze as złoty: "1 234,56 zł".
std::string FormatGrosze(std::int64_t grosze);

// An amount in grosze as scripts read it: "1234.56".
std::string PlainGrosze(std::int64_t grosze);

// A count: "12 345".
std::string FormatPolishCount(std::int64_t count);

// A count with its noun in the form Polish gives it after that number: `one` after 1 ("1
// wiersz"), `few` after a number ending in 2, 3 or 4 but not in 12, 13 or 14 ("2 wiersze", "22
// wiersze", "104 wiersze"), `many` after every other ("0 wierszy", "5 wierszy", "12 wierszy",
// "21 wierszy"). The count as FormatPolishCount writes it.
std::string PolishCount(std::int64_t n, std::string_view one, std::string_view few,
                        std::string_view many);

}  // namespace vistrel::tools
