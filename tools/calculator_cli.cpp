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
    output.out = FormatPaymentReport(plan, schedule) + "\nStopy: " + sourceName +
                 (newest ? ", najnowszy okres od " + FormatCalendarDate(*newest) : std::string()) +
                 ".\n" + stale;
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
            CaseInput{options.due, options.payment, 0.0, InterestRateKind::Basic, false}, now);
        if (early.refusal == Refusal::BadInput) {
            return Failure(ExitBadArguments, early.error);
        }
    }

    RateSource rates;
    std::string warnings;
    std::string sourceName = "wbudowane (z historii stóp ogłaszanych przez Ministerstwo Finansów)";
    if (options.pagePath) {
        const RatePageFile page =
            ReadRatePageFile(PathFromUtf8(*options.pagePath), *options.pagePath);
        if (!page.text) {
            return Failure(ExitUnreadablePage, page.error);
        }
        rates.readings = ParseRatePage(*page.text, rates.table);
        // Rows the calculation may miss are named whatever comes of it.
        warnings = PageWarnings(*page.text, rates.readings, rates.table);
        if (std::none_of(rates.table.begin(), rates.table.end(), HasRate)) {
            return WithWarnings(warnings, Failure(ExitNoRate,
                                                  "Na stronie nie ma żadnego okresu ze "
                                                  "stopą odsetek: " +
                                                      *options.pagePath));
        }
        rates.newestStart = NewestPeriodStart(rates.table);
        sourceName = "ze strony " + *options.pagePath;
    } else {
        auto builtIn = BuiltInRates(now);
        if (!builtIn) {
            return Failure(ExitNoRate,
                           "Wbudowanych stóp nie da się przeliczyć na czas lokalny "
                           "tego komputera.");
        }
        rates = std::move(*builtIn);
    }
    const auto& newest = rates.newestStart;

    if (options.listPath) {
        // The page's warnings come before the rows named while the list runs.
        if (progress && !warnings.empty()) {
            progress(warnings);
            warnings.clear();
        }
        CliOutput listed = RunDebtList(rates, options, now, progress, output);
        if (newest && listed.rowsPaidLate > 0) {
            listed.err += StaleWarning(
                "w " + std::to_string(listed.rowsPaidLate) + " wierszach listy data zapłaty wypada",
                *newest);
        }
        return WithWarnings(warnings, std::move(listed));
    }

    if (options.PaidInParts()) {
        return WithWarnings(warnings, RunPayments(rates, options, now, sourceName, newest));
    }

    const CaseOutcome result = CalculateCase(rates,
                                             CaseInput{options.due, options.payment, options.amount,
                                                       options.rateKind, options.shiftDueDate},
                                             now);
    if (!result.calculation) {
        return WithWarnings(warnings, Failure(ExitCodeFor(result.refusal), result.error));
    }
    const bool stale = MayBeStale(options.payment, newest);
    if (options.machineReadable) {
        return CliOutput{
            ExitSuccess, FormatMachineLine(*result.calculation),
            warnings + (stale ? StaleWarning("data zapłaty " + FormatCalendarDate(options.payment) +
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
