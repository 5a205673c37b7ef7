// The command line of the interest calculator.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/calendar_date.h"

namespace vistrel::tools {

// Above 10^13 zł a double no longer holds every grosz.
inline constexpr double LargestAmount = 1e13;

struct CalculatorOptions {
    std::chrono::year_month_day due;
    std::chrono::year_month_day payment;
    double amount = 0.0;
    std::optional<std::int32_t> now;      // --teraz: the pinned current time
    std::optional<std::string> pagePath;  // --strona, as given (UTF-8)
    bool machineReadable = false;         // --maszynowo
    bool help = false;                    // --pomoc, -h: nothing else is read
};

// Either the options or a Polish message that says what is wrong.
struct OptionsOutcome {
    std::optional<CalculatorOptions> options;
    std::string error;
};

// `arguments` without the program name. Arguments that start with "--" are options up to a lone
// "--"; anything else (a negative amount too) is one of the three values, in their order.
OptionsOutcome ParseCalculatorOptions(const std::vector<std::string>& arguments);

// The Polish description of the command line that --pomoc prints.
std::string HelpText();

}  // namespace vistrel::tools
