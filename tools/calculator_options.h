// The command line of the interest calculator.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>
#include <string_view>
#include <string>
#include <vector>

#include "rules/calendar_date.h"
#include "rules/rate_kinds.h"

namespace vistrel::tools {

struct CalculatorOptions {
    std::chrono::year_month_day due;
    std::chrono::year_month_day payment;
    double amount = 0.0;
    std::optional<std::int32_t> now;      // --teraz: the pinned current time
    std::optional<std::string> pagePath;  // --strona, as given (UTF-8); else the built-in rates
    bool machineReadable = false;         // --maszynowo
    bool help = false;                    // --pomoc, -h: nothing else is read
    rules::InterestRateKind rateKind = rules::InterestRateKind::Basic;  // --stawka
    bool shiftDueDate = true;               // off with --bez-przesuniecia
    std::optional<std::string> listPath;    // --lista: a CSV of debts in place of the three values
    std::optional<std::string> resultPath;  // --wynik: where the list's result goes
    // --wplata=DATA:KWOTA, in the order given; with them, or with --na-dzien, the values are the
    // due date and the amount of the arrears only.
    std::vector<std::pair<std::chrono::year_month_day, double>> payments;
    std::optional<std::chrono::year_month_day> balanceDay;  // --na-dzien
    std::optional<std::chrono::year_month_day> correction;  // --korekta
    bool PaidInParts() const { return !payments.empty() || balanceDay.has_value(); }
};

// Either the options or a Polish message that says what is wrong.
struct OptionsOutcome {
    std::optional<CalculatorOptions> options;
    std::string error;
};

// `arguments` without the program name. Arguments that start with "--" are options up to a lone
// "--"; anything else (a negative amount too) is one of the three values, in their order. With
// --lista there are no values.
OptionsOutcome ParseCalculatorOptions(const std::vector<std::string>& arguments);

// One payment as --wplata and a list's payment column write it: "RRRR-MM-DD:KWOTA" (in a list
// also "DD.MM.RRRR:KWOTA").
std::optional<std::pair<std::chrono::year_month_day, double>> ReadPaymentText(
    std::string_view text, std::string& error, bool fromList = false);

// An amount (UTF-8) as people write it, read by the engine's one amount reader (ReadEnteredAmount):
// "1234,56", "1 234,56" (thousands grouped by a space, U+00A0 or U+202F), "1234.56"; from 0 to
// 10^13 zł. nullopt and a Polish message naming the text otherwise.
std::optional<double> ReadAmountText(std::string_view text, std::string& error);

// The Polish description of the command line that --pomoc prints.
std::string HelpText();

}  // namespace vistrel::tools
