#include "tools/calculator_cli.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/built_in_rates.h"
#include "engine/clock.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calculator_options.h"
#include "rules/calendar_date.h"
#include "rules/case_calculation.h"
#include "tools/debt_list_run.h"
#include "tools/page_warnings.h"
#include "rules/partial_payments.h"
#include "tools/payment_report.h"
#include "tools/rate_freshness.h"
#include "tools/rate_page_file.h"
#include "tools/report.h"

namespace vistrel::tools {

using namespace rules;
namespace {

CliOutput Failure(ExitCode code, const std::string& message) {
    return CliOutput{code, {}, "Błąd: " + message + "\n"};
}

CliOutput WithWarnings(const std::string& warnings, CliOutput output) {
    output.err = warnings + output.err;
    return output;
}

bool HasRate(const RatePeriod& period) { return period.kind != RateKind::None; }

// The compiled-in history, read as the parser reads a page of closed periods and an open newest;
// nullopt when a period's first day has no instant on this computer.
std::optional<RateSource> BuiltInRates(std::int32_t now) {
    RateSource rates;
    if (!FillBuiltInRateTable(rates.table, now)) return std::nullopt;
    rates.newestStart = BuiltInRatesLastChange();
    for (std::size_t i = 0; i < PublishedRateHistory().size(); ++i) {
        RowReading reading;
        reading.rateMarked = reading.rateRead = reading.startRead = true;
        reading.endRead = i != 0;
        rates.readings.push_back(reading);
    }
    return rates;
}

// "Stopy: wbudowane (...), najnowszy okres od 2026-03-05." under a report.
std::string RatesFooter(const std::string& sourceName,
                        const std::optional<std::chrono::year_month_day>& newest) {
    return "\nStopy: " + sourceName +
           (newest ? ", najnowszy okres od " + FormatCalendarDate(*newest) : std::string()) + ".\n";
}

// A debt paid in parts: the split of each payment and what is owed at the end.
CliOutput RunPayments(const RateSource& rates, const CalculatorOptions& options, std::int32_t now,
                      const std::string& sourceName,
                      const std::optional<std::chrono::year_month_day>& newest) {
    PaymentPlan plan;
    plan.due = options.due;
    plan.arrears = ToGrosze(options.amount);
    for (const auto& [date, amount] : options.payments) {
        plan.payments.push_back(Payment{date, ToGrosze(amount)});
    }
    plan.balanceDay = options.balanceDay;
    plan.rateKind = options.rateKind;
    plan.shiftDueDate = options.shiftDueDate;
    plan.correction = options.correction;
    const ScheduleOutcome outcome = CalculatePayments(rates, plan, now);
    if (!outcome.schedule) {
        return Failure(ExitCodeFor(outcome.refusal), outcome.error);
    }
    const PaymentSchedule& schedule = *outcome.schedule;
    const std::chrono::year_month_day lastDay =
        options.balanceDay ? *options.balanceDay
                           : (plan.payments.empty() ? plan.due : plan.payments.back().date);
    const std::string stale =
        MayBeStale(lastDay, newest)
            ? StaleWarning("dzień " + FormatCalendarDate(lastDay) + " wypada", *newest)
            : std::string();
    CliOutput output;
    output.exitCode = schedule.refused.empty() ? ExitSuccess : ExitBadArguments;
    output.err = RefusedPayments(schedule);
    if (options.machineReadable) {
        output.out = FormatPaymentLines(plan, schedule);
        output.err += stale;
        return output;
    }
    output.out = FormatPaymentReport(plan, schedule) + RatesFooter(sourceName, newest) + stale;
    return output;
}

// The rates the run takes: the page named by --strona or the built-in ones, with the page's
// warnings and the name the report's footer gives them; or the failure that ends the run.
struct LoadedRates {
    std::optional<RateSource> rates;
    std::string warnings;
    std::string sourceName;
    CliOutput failure;
};

LoadedRates LoadRates(const CalculatorOptions& options, std::int32_t now) {
    LoadedRates loaded;
    if (!options.pagePath) {
        loaded.rates = BuiltInRates(now);
        loaded.sourceName = "wbudowane (z historii stóp ogłaszanych przez Ministerstwo Finansów)";
        if (!loaded.rates) {
            loaded.failure = Failure(ExitNoRate,
                                     "Wbudowanych stóp nie da się przeliczyć na czas lokalny "
                                     "tego komputera.");
        }
        return loaded;
    }
    const RatePageFile page = ReadRatePageFile(PathFromUtf8(*options.pagePath), *options.pagePath);
    if (!page.text) {
        loaded.failure = Failure(ExitUnreadablePage, page.error);
        return loaded;
    }
    RateSource rates;
    rates.readings = ParseRatePage(*page.text, rates.table);
    // Rows the calculation may miss are named whatever comes of it.
    loaded.warnings = PageWarnings(*page.text, rates.readings, rates.table);
    if (std::none_of(rates.table.begin(), rates.table.end(), HasRate)) {
        loaded.failure = Failure(
            ExitNoRate, "Na stronie nie ma żadnego okresu ze stopą odsetek: " + *options.pagePath);
        return loaded;
    }
    rates.newestStart = NewestPeriodStart(rates.table);
    loaded.sourceName = "ze strony " + *options.pagePath;
    loaded.rates = std::move(rates);
    return loaded;
}

// One debt paid at once: the report, or the machine's line.
CliOutput RunSingleDebt(const RateSource& rates, const CalculatorOptions& options, std::int32_t now,
                        const std::string& sourceName) {
    CaseInput input;
    input.due = options.due;
    input.payment = options.payment;
    input.amount = options.amount;
    input.rateKind = options.rateKind;
    input.shiftDueDate = options.shiftDueDate;
    input.correction = options.correction;
    const CaseOutcome result = CalculateCase(rates, input, now);
    if (!result.calculation) return Failure(ExitCodeFor(result.refusal), result.error);
    const auto& newest = rates.newestStart;
    const std::string stale =
        MayBeStale(options.payment, newest)
            ? StaleWarning("data zapłaty " + FormatCalendarDate(options.payment) + " wypada",
                           *newest)
            : std::string();
    if (options.machineReadable) {
        return CliOutput{ExitSuccess, FormatMachineLine(*result.calculation), stale};
    }
    return CliOutput{ExitSuccess,
                     FormatReport(*result.calculation) + RatesFooter(sourceName, newest) + stale,
                     {}};
}

CliOutput RunList(const RateSource& rates, const CalculatorOptions& options, std::int32_t now,
                  const ProgressSink& progress, const OutputSink& rows) {
    const auto& newest = rates.newestStart;
    CliOutput output = RunDebtList(rates, options, now, progress, rows);
    if (newest && output.rowsPaidLate > 0) {
        output.err += StaleWarning(
            "w " + std::to_string(output.rowsPaidLate) + " wierszach listy data zapłaty wypada",
            *newest);
    }
    return output;
}

}  // namespace

CliOutput RunCalculatorCli(const std::vector<std::string>& arguments, const ProgressSink& progress,
                           const OutputSink& output) {
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
    if (!options.listPath && !options.PaidInParts()) {
        const CaseOutcome early = CalculateCase(
            RateSource{},
            CaseInput{options.due, options.payment, 0.0, InterestRateKind::Basic, false, {}, {}},
            now);
        if (early.refusal == Refusal::BadInput) {
            return Failure(ExitBadArguments, early.error);
        }
    }

    const LoadedRates loaded = LoadRates(options, now);
    if (!loaded.rates) return WithWarnings(loaded.warnings, loaded.failure);
    const RateSource& rates = *loaded.rates;
    if (options.listPath) {
        // The page's warnings come before the rows named while the list runs.
        std::string warnings = loaded.warnings;
        if (progress && !warnings.empty()) {
            progress(warnings);
            warnings.clear();
        }
        return WithWarnings(warnings, RunList(rates, options, now, progress, output));
    }
    if (options.PaidInParts()) {
        return WithWarnings(loaded.warnings,
                            RunPayments(rates, options, now, loaded.sourceName, rates.newestStart));
    }
    return WithWarnings(loaded.warnings, RunSingleDebt(rates, options, now, loaded.sourceName));
}

}  // namespace vistrel::tools
