#include "tools/calculator_cli.h"

#include <algorithm>

#include "engine/built_in_rates.h"
#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calculator_options.h"
#include "tools/calendar_date.h"
#include "tools/case_calculation.h"
#include "tools/debt_list_run.h"
#include "tools/page_warnings.h"
#include "tools/rate_freshness.h"
#include "tools/rate_page_file.h"
#include "tools/report.h"

namespace vistrel::tools {
namespace {

CliOutput Failure(ExitCode code, const std::string& message) {
    return CliOutput{code, {}, "Błąd: " + message + "\n"};
}

CliOutput WithWarnings(const std::string& warnings, CliOutput output) {
    output.err = warnings + output.err;
    return output;
}

bool HasRate(const RatePeriod& period) {
    return period.kind != RateKind::None;
}

// The compiled-in history, read as the parser reads a page of closed periods and an open newest.
RateSource BuiltInRates(std::int32_t now) {
    RateSource rates;
    const std::size_t periods = FillBuiltInRateTable(rates.table, now);
    for (std::size_t i = 0; i < periods; ++i) {
        RowReading reading;
        reading.rateMarked = reading.rateRead = reading.startRead = true;
        reading.endRead = i != 0;
        rates.readings.push_back(reading);
    }
    return rates;
}

}  // namespace

CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const ProgressSink& progress) {
    const OptionsOutcome outcome = ParseCalculatorOptions(arguments);
    if (!outcome.options) {
        return Failure(ExitBadArguments, outcome.error);
    }
    const CalculatorOptions& options = *outcome.options;
    if (options.help) {
        return CliOutput{ExitSuccess, HelpText(), {}};
    }

    // The page's open period ends "now" and the dates take today's daylight-saving flag: one
    // moment for both, as when the dialog runs right after the page was read.
    const std::int32_t now = options.now.value_or(CurrentTime());
    const PinnedClock clock(now);

    // Wrong dates are named before the page is read, as the single form always did.
    if (!options.listPath) {
        const CaseOutcome early =
            CalculateCase(RateSource{}, CaseInput{options.due, options.payment, 0.0,
                                                  InterestRateKind::Basic, false},
                          now);
        if (early.exitCode == ExitBadArguments) {
            return Failure(early.exitCode, early.error);
        }
    }

    RateSource rates;
    std::string warnings;
    std::string sourceName = "wbudowane (z historii stóp ogłaszanych przez Ministerstwo Finansów)";
    if (options.pagePath) {
        const RatePageFile page = ReadRatePageFile(PathFromUtf8(*options.pagePath), *options.pagePath);
        if (!page.text) {
            return Failure(ExitUnreadablePage, page.error);
        }
        rates.readings = ParseRatePage(*page.text, rates.table);
        // Rows the calculation may miss are named whatever comes of it.
        warnings = PageWarnings(*page.text, rates.readings, rates.table);
        if (std::none_of(rates.table.begin(), rates.table.end(), HasRate)) {
            return WithWarnings(warnings, Failure(ExitNoRate, "Na stronie nie ma żadnego okresu ze "
                                                              "stopą odsetek: " + *options.pagePath));
        }
        sourceName = "ze strony " + *options.pagePath;
    } else {
        rates = BuiltInRates(now);
    }
    const auto newest = NewestPeriodStart(rates.table);

    if (options.listPath) {
        CliOutput output = RunDebtList(rates, options, now, progress);
        if (newest && output.rowsPaidLate > 0) {
            output.err += StaleWarning("w " + std::to_string(output.rowsPaidLate) +
                                           " wierszach listy data zapłaty wypada",
                                       *newest);
        }
        return WithWarnings(warnings, std::move(output));
    }

    const CaseOutcome result =
        CalculateCase(rates, CaseInput{options.due, options.payment, options.amount,
                                       options.rateKind, options.shiftDueDate},
                      now);
    if (!result.calculation) {
        return WithWarnings(warnings, Failure(result.exitCode, result.error));
    }
    const bool stale = MayBeStale(options.payment, newest);
    if (options.machineReadable) {
        return CliOutput{ExitSuccess, FormatMachineLine(*result.calculation),
                         warnings + (stale ? StaleWarning("data zapłaty " +
                                                              FormatCalendarDate(options.payment) +
                                                              " wypada",
                                                          *newest)
                                           : std::string())};
    }
    std::string report = FormatReport(*result.calculation);
    report += "\nStopy: " + sourceName;
    if (newest) report += ", najnowszy okres od " + FormatCalendarDate(*newest);
    report += ".\n";
    if (stale) {
        report += StaleWarning("data zapłaty " + FormatCalendarDate(options.payment) + " wypada",
                               *newest);
    }
    return CliOutput{ExitSuccess, report, warnings};
}

}  // namespace vistrel::tools
