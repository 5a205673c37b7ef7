#include "tools/calculator_cli.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/clock.h"
#include "engine/local_time.h"
#include "engine/rate_page_parser.h"
#include "engine/rate_table.h"
#include "tools/calculation.h"
#include "tools/calculator_options.h"
#include "tools/calendar_date.h"
#include "tools/page_warnings.h"
#include "tools/rate_page_file.h"
#include "tools/report.h"

namespace vistrel::tools {
namespace {

CliOutput Failure(ExitCode code, const std::string& message) {
    return CliOutput{code, {}, "Błąd: " + message + "\n"};
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::int32_t> InstantOf(const std::chrono::year_month_day& date, std::int32_t now,
                                      std::string& error) {
    const auto instant = DayAfterInstant(date, now);
    if (!instant) {
        error = "Daty " + FormatCalendarDate(date) +
                " nie da się przeliczyć na czas lokalny tego komputera.";
    }
    return instant;
}

CliOutput WithWarnings(const std::string& warnings, CliOutput output) {
    output.err = warnings + output.err;
    return output;
}

bool HasRate(const RatePeriod& period) {
    return period.kind != RateKind::None;
}

}  // namespace

CliOutput RunCalculatorCli(const std::vector<std::string>& arguments,
                           const std::filesystem::path& defaultPage) {
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

    std::string error;
    const auto dueInstant = InstantOf(options.due, now, error);
    if (!dueInstant) {
        return Failure(ExitBadArguments, error);
    }
    const auto paymentInstant = InstantOf(options.payment, now, error);
    if (!paymentInstant) {
        return Failure(ExitBadArguments, error);
    }
    if (*dueInstant > *paymentInstant) {
        return Failure(ExitBadArguments, "Data Należności późniejsza od Daty Zapłaty!");
    }

    const std::filesystem::path pagePath =
        options.pagePath ? PathFromUtf8(*options.pagePath) : defaultPage;
    const std::string pageName = options.pagePath ? *options.pagePath : Utf8Of(defaultPage);
    const RatePageFile page = ReadRatePageFile(pagePath, pageName);
    if (!page.text) {
        return Failure(ExitUnreadablePage, page.error);
    }
    RateTable table{};
    const std::vector<RowReading> readings = ParseRatePage(*page.text, table);
    // Rows the calculation may miss are named whatever comes of it.
    const std::string warnings = PageWarnings(*page.text, readings, table);
    if (std::none_of(table.begin(), table.end(), HasRate)) {
        return WithWarnings(warnings, Failure(ExitNoRate, "Na stronie nie ma żadnego okresu ze "
                                                          "stopą odsetek: " + pageName));
    }

    const Calculation calculation = Calculate(table, readings, options.due, options.payment,
                                              *dueInstant, *paymentInstant, options.amount);
    if (calculation.shares.empty() && *dueInstant < *paymentInstant) {
        return WithWarnings(
            warnings, Failure(ExitNoRate,
                              "Strona ze stopami nie podaje stopy na dzień po dacie należności " +
                                  FormatCalendarDate(options.due) +
                                  ", więc odsetek nie można obliczyć."));
    }
    if (!std::isfinite(calculation.interest)) {
        return WithWarnings(warnings, Failure(ExitBadArguments,
                                              "Stopy ze strony dają odsetki zbyt duże, by je "
                                              "obliczyć."));
    }
    return CliOutput{
        ExitSuccess,
        options.machineReadable ? FormatMachineLine(calculation) : FormatReport(calculation),
        warnings};
}

}  // namespace vistrel::tools
